#include "line_total.h"

#include <charconv>

namespace {

// A number as numberText writes it: a blank or "-", digits, perhaps "1.5E+20".
std::optional<double> numberAfter(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> lineTotal(std::string_view line) {
    constexpr std::string_view totalLabel = "Total: ";
    if (line.starts_with(totalLabel))
        return numberAfter(line.substr(totalLabel.size()));
    if (!line.starts_with('d'))
        return std::nullopt;
    const std::size_t arrow = line.find("> ");
    if (arrow == std::string_view::npos ||
        line.substr(0, arrow).find('(') != std::string_view::npos)
        return std::nullopt;
    return numberAfter(line.substr(arrow + 2));
}

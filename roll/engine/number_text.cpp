#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponent form: mantissa of at most 15 significant digits without trailing zeros, "E",
// the exponent's sign and at least two digits.
void appendExponentForm(std::string& out, double magnitude) {
    char buf[64];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    (void)ec;
    std::string_view text(buf, end - buf);
    const auto e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    std::string_view exponent = text.substr(e + 1);
    if (mantissa.find('.') != std::string_view::npos) {
        while (mantissa.back() == '0')
            mantissa.remove_suffix(1);
        if (mantissa.back() == '.')
            mantissa.remove_suffix(1);
    }
    out.append(mantissa);
    out.push_back('E');
    out.push_back(exponent.front() == '-' ? '-' : '+');
    exponent.remove_prefix(1);
    while (exponent.size() > 2 && exponent.front() == '0')
        exponent.remove_prefix(1);
    out.append(exponent);
}

} // namespace

double leadingNumber(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t first = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    if (pos == first)
        return 0.0;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + first, text.data() + pos, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        value = HUGE_VAL;
    return negative ? -value : value;
}

void appendTrimmedNumberText(std::string& out, double value) {
    if (value == 0.0)
        value = 0.0; // no "-0"
    if (value < 0) {
        out.push_back('-');
        value = -value;
    }
    if (value < 1e15) {
        char buf[24];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(value));
        (void)ec;
        out.append(buf, end);
    } else {
        appendExponentForm(out, value);
    }
}

void appendNumberText(std::string& out, double value) {
    if (!(value < 0))
        out.push_back(' ');
    appendTrimmedNumberText(out, value);
}

std::string numberText(double value) {
    std::string text;
    appendNumberText(text, value);
    return text;
}

std::string trimmedNumberText(double value) {
    std::string text;
    appendTrimmedNumberText(text, value);
    return text;
}

void appendWholeNumberText(std::string& out, double value) {
    if (value == 0.0)
        value = 0.0; // no "-0"
    char buf[400];   // the largest double has 309 digits
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, std::round(value), std::chars_format::fixed, 0);
    if (ec == std::errc())
        out.append(buf, end);
}

std::string wholeNumberText(double value) {
    std::string text;
    appendWholeNumberText(text, value);
    return text;
}

#include "odds_table.h"

#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int copiedDigits = 8;
constexpr std::size_t rowsBetweenStopChecks = 4096;
// Smallest power of ten that is still written as a plain decimal.
constexpr int lowestPlainExponent = -5;

void dropTrailingZeros(std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return;
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0')
        --end;
    if (end == point + 1)
        --end;
    text.resize(end);
}

std::string charsOf(double value, std::chars_format format, int precision) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace

OddsTable oddsTable(const RollRequestResult& read, const RollOptions& options,
                    std::stop_token stop) {
    return {rollOdds(read, options, stop), options};
}

std::string percentText(double probability, int significantDigits, Zeros zeros, double errorBound) {
    if (errorBound > 0) {
        // Below the bound only an upper limit is known; above it, the digits down to the bound.
        if (!(probability >= errorBound))
            return "< " + percentText(2 * errorBound, 1, Zeros::Dropped);
        const int known = static_cast<int>(std::floor(std::log10(probability)) -
                                           std::floor(std::log10(errorBound))) +
                          1;
        significantDigits = std::clamp(known, 1, significantDigits);
    }
    const double percent = probability * 100;
    // An approximate chance may come out a hair below zero.
    if (!(percent > 0))
        return "0";
    // The exponent after rounding to the digits asked for decides the form.
    std::string text = charsOf(percent, std::chars_format::scientific, significantDigits - 1);
    const std::size_t e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    if (exponent >= lowestPlainExponent && exponent < significantDigits) {
        text = charsOf(percent, std::chars_format::fixed, significantDigits - 1 - exponent);
        if (zeros == Zeros::Dropped)
            dropTrailingZeros(text);
        return text;
    }
    if (zeros == Zeros::Dropped) {
        std::string mantissa = text.substr(0, e);
        dropTrailingZeros(mantissa);
        text = mantissa + text.substr(e);
    }
    return text;
}

std::string oddsTableText(const OddsTable& table, std::stop_token stop) {
    std::string text = "Total\tExactly %\tAt least %\tAt most %\r\n";
    text.reserve(text.size() + table.rows() * 48);
    for (std::size_t row = 0; row < table.rows(); ++row) {
        if (row % rowsBetweenStopChecks == 0 && stop.stop_requested())
            break;
        appendWholeNumberText(text, table.total(row));
        for (double chance : {table.exactly(row), table.atLeast(row), table.atMost(row)}) {
            text += '\t';
            text += percentText(chance, copiedDigits, Zeros::Kept, table.odds.errorBound());
        }
        text += "\r\n";
    }
    return text;
}

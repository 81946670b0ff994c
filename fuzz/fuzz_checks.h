#pragma once

// Checks that the fuzzers share: is a record line one of the documented line kinds, and does a
// number read the way numberText writes it.

#include <string_view>

namespace fuzzcheck {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, optionally a "." and more digits, optionally "E+" or "E-" and two or more digits.
inline bool isUnsignedNumberText(std::string_view t) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        return i - start;
    };
    if (digits() == 0)
        return false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (digits() == 0)
            return false;
    }
    if (i < t.size() && t[i] == 'E') {
        ++i;
        if (i >= t.size() || (t[i] != '+' && t[i] != '-'))
            return false;
        ++i;
        if (digits() < 2)
            return false;
    }
    return i == t.size();
}

// " 7", " 0", "-3", " 1.5E+20"; never "-0".
inline bool isNumberText(std::string_view t) {
    if (t.empty() || (t.front() != ' ' && t.front() != '-'))
        return false;
    if (t == "-0")
        return false;
    return isUnsignedNumberText(t.substr(1));
}

inline bool isTrimmedNumberText(std::string_view t) {
    if (!t.empty() && t.front() == '-')
        t.remove_prefix(1);
    return isUnsignedNumberText(t);
}

inline bool startsWithThenNumber(std::string_view line, std::string_view prefix, bool trimmed) {
    if (!line.starts_with(prefix))
        return false;
    line.remove_prefix(prefix.size());
    return trimmed ? isTrimmedNumberText(line) : isNumberText(line);
}

// "d" sides "> " number, or "d" sides "(" k ")> " number.
inline bool isDieLine(std::string_view line) {
    if (!line.starts_with('d'))
        return false;
    line.remove_prefix(1);
    const std::size_t close = line.find("> ");
    if (close == std::string_view::npos)
        return false;
    std::string_view sides = line.substr(0, close);
    const std::string_view value = line.substr(close + 2);
    if (const std::size_t open = sides.find('('); open != std::string_view::npos) {
        if (!sides.ends_with(')'))
            return false;
        const std::string_view k = sides.substr(open + 1, sides.size() - open - 2);
        if (!isUnsignedNumberText(k))
            return false;
        sides = sides.substr(0, open);
    }
    return isTrimmedNumberText(sides) && isNumberText(value);
}

inline bool isRecordLine(std::string_view line) {
    return line.starts_with("Rolled: ") || line == "==========================" ||
           line == "--------------------------" || line == "Can't drop both dice!" ||
           line == "Rerolled all 1's." || line == "Dropped the highest result." ||
           line == "Dropped the lowest result." || startsWithThenNumber(line, "Total: ", false) ||
           startsWithThenNumber(line, "Dropped the Result of: ", true) || isDieLine(line);
}

} // namespace fuzzcheck

#pragma once

#include <string>
#include <string_view>

// Number helpers shared by every roll stage and by the mini roller. All values are whole
// numbers carried in doubles, so that sums of large modifiers stay exact up to 2^53.

// Value of the optional sign and digits at the start of text; reading stops at the first
// character that cannot continue the number ("6+" gives 6, "+" and "" give 0). Digits beyond
// the range of a double give an infinite value, which callers refuse.
double leadingNumber(std::string_view text);

// Whole number in decimal, one leading blank when not negative (" 7", " 0", "-3").
// Magnitudes from 10^15 on are written as " 1E+15", " 1.5E+20".
std::string numberText(double value);
void appendNumberText(std::string& out, double value);

// numberText without the leading blank ("7", "-3").
std::string trimmedNumberText(double value);
void appendTrimmedNumberText(std::string& out, double value);

// A whole number in plain decimal at any size a double holds ("1000000000000000", "-3"), for
// tables of totals, where the exponent form would make neighbouring totals look alike.
std::string wholeNumberText(double value);
void appendWholeNumberText(std::string& out, double value);

#pragma once

#include <QString>

#include <vector>

struct RollOdds;
struct RollOptions;
struct RollRequest;

// The odds and rolls in words, as the odds window and the small chart say them.

// "(3d6)+2, Drop Lowest, Reroll 1's"
QString requestText(const RollRequest& request, const RollOptions& options);

// "Totals 3 to 18, mean 10.5, standard deviation 2.958", and that the chances are approximate
// when they are.
QString oddsSummary(const RollOdds& odds);

// "14, 9, 11"; past the first few, how many more.
QString totalsText(const std::vector<double>& totals);

// A number with at most three decimals and no trailing zeros: "10.5", "2.958", "-3".
QString decimalText(double value);

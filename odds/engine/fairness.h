#pragma once

#include "log_totals.h"
#include "roll_odds.h"

#include <cstddef>
#include <string>
#include <vector>

// Are the user's dice fair? The totals found in the log against the exact distribution, by a
// goodness-of-fit test, told in plain words.

struct FairnessVerdict {
    std::size_t rolls = 0;
    bool enoughRolls = false; // false: too few rolls to judge; text says how many are needed
    double statistic = 0;     // chi-square (or the exact test's statistic)
    int degreesOfFreedom = 0;
    double pValue = 1;
    std::string text;             // "412 rolls of 3d6+2: consistent with fair dice, p = 0.63"
    std::vector<double> observed; // per total lowest..highest: counts seen
    std::vector<double> expected; // per total: rolls * probability
};

// With enough rolls to expect five in each of two bins of adjacent totals or more, a chi-square
// test over such bins; with fewer, an exact test of their sum; with no rolls, none.
// The text names the request with the options asked about ("40 rolls of 3d6, Drop Lowest: ...").
FairnessVerdict judgeFairness(const RollOdds& odds, const LoggedRolls& rolls,
                              const RollOptions& options = {});

// P(X >= statistic) for X chi-square distributed with these degrees of freedom.
double chiSquarePValue(double statistic, int degreesOfFreedom);

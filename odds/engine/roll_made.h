#pragma once

#include "roll_dice.h"
#include "roll_request.h"

#include <vector>

// A roll the main window made, as the odds follow it: the options it rolled with, the request
// it read, and the total of each repetition as the roll kept it.
struct RollMade {
    RollOptions options;
    RollRequest request;
    std::vector<double> totals;
};

// Do two requests with their options roll the same totals with the same odds? The number of
// repetitions and whether the dice are shown play no part.
inline bool sameOdds(const RollRequest& a, const RollOptions& aOptions, const RollRequest& b,
                     const RollOptions& bOptions) {
    return a.count == b.count && a.sides == b.sides && a.modifier == b.modifier &&
           a.addValue == b.addValue && aOptions.rerollOnes == bOptions.rerollOnes &&
           aOptions.dropLowest == bOptions.dropLowest &&
           aOptions.dropHighest == bOptions.dropHighest;
}

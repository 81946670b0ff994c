#pragma once

#include "random_source.h"
#include "roll_record.h"
#include "roll_request.h"

// The second stage of a roll: every repetition rolled with the options, written as the
// rollRecord. The modifier is added to every die, the add amount once to each total.

// The four option boxes that the roll reads (check-box state 1 is true).
struct RollOptions {
    bool rerollOnes = false;
    bool dropLowest = false;
    bool dropHighest = false;
    bool hideDice = false;
};

struct DieRoll {
    double face = 0;  // what the die shows
    double value = 0; // face plus modifier
};

// face = floor(sides * r) + 1, so 1 to sides for sides of 2 or more.
DieRoll rollOneDie(double sides, double modifier, RandomSource& random);

// Clears record and writes the whole roll into it.
void rollDice(const RollRequest& request, const RollOptions& options, RandomSource& random,
              RollRecord& record);

inline constexpr std::string_view doubleRule = "==========================";
inline constexpr std::string_view singleRule = "--------------------------";
inline constexpr std::string_view bothDropsRefusal = "Can't drop both dice!";
inline constexpr std::string_view rerollNote = "Rerolled all 1's.";
inline constexpr std::string_view highestDropNote = "Dropped the highest result.";
inline constexpr std::string_view lowestDropNote = "Dropped the lowest result.";

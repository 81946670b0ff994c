#pragma once

#include <optional>
#include <string>

class RandomSource;

// The mini roller's three kinds of roll and the function key that stands for each. A roll
// returns the two texts the window shows: the kind ("d20") and the result with its leading
// blank (" 17").

struct MiniRoll {
    std::string die;
    std::string num;
};

// One draw: floor(r x sides + 1), from 1 to sides.
MiniRoll rollDie(RandomSource& random, int sides);
// One draw: a four-sided die plus one, from 2 to 5.
MiniRoll rollDiePlusOne(RandomSource& random);
// Three draws of a six-sided die; only their sum is shown, from 3 to 18.
MiniRoll rollThreeDice(RandomSource& random);

// The roll of a function key (F1-F12 have the key codes 112-123); any other key draws
// nothing and gives no roll.
std::optional<MiniRoll> rollForFunctionKey(int keyCode, RandomSource& random);

#include "mini_rolls.h"

#include "key_table.h"
#include "number_text.h"
#include "random_source.h"

#include <array>
#include <cmath>

namespace {

// A die's face as the roller computes it: the single-precision draw widened to double,
// scaled, raised by one, cut to its integer part and kept as a single-precision number.
float face(RandomSource& random, int sides) {
    const double r = random.next();
    return static_cast<float>(std::floor(r * sides + 1.0));
}

// The value of a number text, its blanks ignored: " 5" gives 5 and "" gives 0.
double textValue(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits.push_back(c);
    return leadingNumber(digits);
}

enum class Kind { Die, DiePlusOne, ThreeDice };

struct FunctionKeyRoll {
    Kind kind;
    int sides;
};

// F1 to F12 in key order; F1 is the twenty-sided die, not the smallest one.
constexpr std::array<FunctionKeyRoll, 12> functionKeyRolls{{
    {Kind::Die, 20},
    {Kind::Die, 2},
    {Kind::Die, 3},
    {Kind::Die, 4},
    {Kind::Die, 5},
    {Kind::Die, 6},
    {Kind::DiePlusOne, 4},
    {Kind::Die, 8},
    {Kind::ThreeDice, 6},
    {Kind::Die, 10},
    {Kind::Die, 100},
    {Kind::Die, 12},
}};

} // namespace

MiniRoll rollDie(RandomSource& random, int sides) {
    MiniRoll roll;
    roll.die = "d" + std::to_string(sides);
    roll.num = numberText(face(random, sides));
    return roll;
}

MiniRoll rollDiePlusOne(RandomSource& random) {
    MiniRoll roll;
    roll.die = "d4+1";
    roll.num = numberText(static_cast<double>(face(random, 4)) + 1.0);
    return roll;
}

MiniRoll rollThreeDice(RandomSource& random) {
    MiniRoll roll;
    roll.die = "3d6";
    // The sum is carried as its text from die to die, the first die adding to nothing.
    std::string sum;
    for (int i = 0; i < 3; ++i)
        sum = numberText(static_cast<double>(face(random, 6)) + textValue(sum));
    roll.num = sum;
    return roll;
}

std::optional<MiniRoll> rollForFunctionKey(int keyCode, RandomSource& random) {
    const int index = keyCode - keyCodeF1;
    if (index < 0 || index >= static_cast<int>(functionKeyRolls.size()))
        return std::nullopt;
    const FunctionKeyRoll& entry = functionKeyRolls[static_cast<std::size_t>(index)];
    switch (entry.kind) {
    case Kind::Die:
        return rollDie(random, entry.sides);
    case Kind::DiePlusOne:
        return rollDiePlusOne(random);
    case Kind::ThreeDice:
        return rollThreeDice(random);
    }
    return std::nullopt;
}

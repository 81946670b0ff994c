#include "die_faces.h"

#include "random_source.h"
#include "roll_dice.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int64_t grid = std::int64_t{1} << 24; // the generator's steps
constexpr double gridStep = 1.0 / static_cast<double>(grid);

// A RandomSource that gives one fixed fraction, to ask the roller itself which face it makes.
class FixedFraction final : public RandomSource {
public:
    explicit FixedFraction(float r) : r_(r) {}
    float next() override { return r_; }

private:
    float r_;
};

double faceAt(double sides, std::int64_t k) {
    FixedFraction r(static_cast<float>(static_cast<double>(k) * gridStep));
    return rollOneDie(sides, 0, r).face;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

// Chances of faces 1 .. sides: face f comes from the k with (f-1) 2^24 <= sides k < f 2^24.
std::vector<double> positiveWeights(std::int64_t sides) {
    std::vector<double> w(static_cast<std::size_t>(sides));
    for (std::int64_t f = 1; f <= sides; ++f)
        w[static_cast<std::size_t>(f - 1)] =
            static_cast<double>(ceilDiv(f * grid, sides) - ceilDiv((f - 1) * grid, sides)) *
            gridStep;
    return w;
}

// Chances of faces 1 - s .. 1 for sides -s: k = 0 gives face 1, every other k gives
// 1 - ceil(s k / 2^24), so face 1 - c comes from (c-1) 2^24 < s k <= c 2^24, k < 2^24.
std::vector<double> negativeWeights(std::int64_t s) {
    std::vector<double> w(static_cast<std::size_t>(s + 1));
    for (std::int64_t c = 1; c <= s; ++c) {
        std::int64_t count = c * grid / s - (c - 1) * grid / s;
        if (c == s)
            --count; // k = 2^24 does not occur
        w[static_cast<std::size_t>(s - c)] = static_cast<double>(count) * gridStep;
    }
    w[static_cast<std::size_t>(s)] = gridStep;
    return w;
}

void shareOut(std::vector<double>& w, std::size_t removed) {
    const double kept = 1 - w[removed];
    w.erase(w.begin() + static_cast<std::ptrdiff_t>(removed));
    for (double& x : w)
        x /= kept;
}

} // namespace

DieFaces dieFaces(double sides, bool rerollOnes, std::size_t maxFaces) {
    DieFaces die;
    if (sides == 0) { // every face is 1, and such dice are never rerolled
        die.weights = {1.0};
        return die;
    }
    // The extreme faces as the roller itself computes them.
    die.lowest = sides > 0 ? faceAt(sides, 0) : faceAt(sides, grid - 1);
    die.highest = sides > 0 ? faceAt(sides, grid - 1) : faceAt(sides, 0);
    if (rerollOnes) {
        if (sides > 0)
            die.lowest = faceAt(sides, ceilDiv(grid, static_cast<std::int64_t>(sides)));
        else
            die.highest = faceAt(sides, 1);
    }
    const double faces = die.highest - die.lowest + 1;
    const double magnitude = std::fabs(sides);
    // Beyond 2^24 sides the grid leaves gaps between faces.
    if (magnitude > static_cast<double>(grid) || faces > static_cast<double>(maxFaces))
        return die;
    const auto s = static_cast<std::int64_t>(magnitude);
    die.weights = sides > 0 ? positiveWeights(s) : negativeWeights(s);
    if (rerollOnes)
        shareOut(die.weights, sides > 0 ? 0 : die.weights.size() - 1);
    die.nearlyEqual = magnitude >= nearlyEqualFaces;
    if (sides < 0 && !rerollOnes)
        die.topWeight = die.weights.back();
    return die;
}

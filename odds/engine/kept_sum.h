#pragma once

#include "fft.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

// The heart of the odds: the distribution of the sum of the dice kept when several dice with
// the same faces are rolled and the lowest, the highest or both are dropped. Faces are counted
// from the die's lowest face (0 .. K-1), and so is the sum (0 .. kept x (K-1)).
//
// Every method works on the spectrum of the sum: at each frequency the generating function of
// the kept sum is a short expression in n-th powers of sums of face weights, and one inverse
// transform gives the distribution. Frequencies and terms whose contribution is provably below
// 1e-16 are left out, which makes a thousand dice as quick as three.

struct FaceWeights {
    std::vector<double> p; // p[f]: probability of the face f above the lowest
    bool uniform = false;  // every face equally likely: sums of faces have closed forms
};

// Switches for tests, which check each shortcut against the long way; and the weight of a
// spectrum that is one part of a larger sum, whose tolerances grow by 1 / weight.
struct KeptSumTuning {
    bool closedForms = true;   // closed forms for equally likely faces
    bool pruning = true;       // leave out frequencies and terms below the tolerance
    bool centredPowers = true; // both dropped: centred prefix powers instead of windows
    double weight = 1;
};

// Number of kept sums: kept x (K - 1) + 1.
std::size_t keptSumCount(std::size_t faces, unsigned dice, bool dropLowest, bool dropHighest);

// The spectrum of a kept sum on the frequencies of a transform of roots.size() points, which
// must be at least keptSumCount. Needs dice >= 1 and, with both drops, dice >= 3; a drop with
// one die keeps nothing (the sum is 0).
class KeptSumSpectrum {
public:
    KeptSumSpectrum(const FaceWeights& die, unsigned dice, bool dropLowest, bool dropHighest,
                    const UnitRoots& roots, KeptSumTuning tuning = {});
    // Beyond this frequency the spectrum is below the tolerance, and taken as zero.
    std::size_t last() const { return last_; }
    Complex operator()(std::size_t j) const { return at_(j); }
    // Roughly the complex products the spectrum takes, over all frequencies up to last().
    double work() const { return static_cast<double>(last_ + 1) * workPerFrequency_; }

private:
    std::function<Complex(std::size_t)> at_;
    std::size_t last_ = 0;
    double workPerFrequency_ = 1;
};

// The distribution of totals sums from a spectrum known at frequencies 0 .. last (zero beyond);
// nothing when stopped. Rounding leaves tiny values of either sign where the chance is nil; they
// are kept, so that running sums over a million of them do not drift.
std::optional<std::vector<double>>
distributionFromSpectrum(std::size_t totals, const UnitRoots& roots, std::size_t last,
                         const std::function<Complex(std::size_t)>& spectrum,
                         const std::stop_token& stop);

// The same from several copies of one spectrum, each on a thread of its own over its share of
// the frequencies; each copy must keep its working space to itself.
std::optional<std::vector<double>>
distributionFromSpectra(std::size_t totals, const UnitRoots& roots, std::size_t last,
                        const std::vector<std::function<Complex(std::size_t)>>& copies,
                        const std::stop_token& stop);

// Two kept dice of up to this many faces are summed pair by pair in the value domain.
inline constexpr std::size_t orderStatisticFaces = 8192;

// Probabilities of the kept sum, index = sum; nothing when stopped. One kept die, or two of up
// to orderStatisticFaces faces, are found directly from the order statistics instead.
std::optional<std::vector<double>> keptSumDistribution(const FaceWeights& die, unsigned dice,
                                                       bool dropLowest, bool dropHighest,
                                                       std::stop_token stop = {},
                                                       KeptSumTuning tuning = {});

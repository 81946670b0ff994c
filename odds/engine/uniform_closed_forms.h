#pragma once

#include "fft.h"

#include <cstddef>
#include <optional>
#include <vector>

// The spectrum of the kept sum at one frequency for K equally likely faces (0 .. K-1), in a
// handful of terms per die instead of one per face. The terms are large and cancel at low
// frequencies; there the functions give nothing and the caller sums face by face instead (but
// at frequency 0 the spectrum is 1, every chance together). A frequency is j of
// w = exp(-2 pi i j / size), with 0 <= j <= size / 2.
class UniformClosedForms {
public:
    // weight: what the spectrum counts in a larger sum; its rounding may grow by 1 / weight.
    UniformClosedForms(const UnitRoots& roots, std::size_t faces, unsigned dice, double weight = 1);

    // n dice, the lowest dropped.
    std::optional<Complex> withoutLowest(std::size_t frequency);
    // n >= 3 dice, the lowest and the highest dropped.
    std::optional<Complex> withoutBoth(std::size_t frequency);

private:
    // Fills the powers of w at this frequency; false where the terms cancel too much.
    bool prepare(std::size_t frequency);
    Complex root(long long s) const { return powers_[index(s)]; }           // w^s
    Complex oneMinusRoot(long long s) const { return oneMinus_[index(s)]; } // 1 - w^s
    Complex faceTurn(long long s) const { return faceTurns_[index(s)]; }    // w^(sK)
    bool isOne(long long s) const;
    Complex geometric(long long s, long long from) const;
    std::size_t index(long long s) const { return static_cast<std::size_t>(s + n_); }

    const UnitRoots& roots_;
    long long k_, n_;
    double tolerance_; // rounding allowed at one frequency
    long long j_ = 0;
    std::vector<double> binomials_; // (-1)^i C(n, i)
    std::vector<Complex> powers_, faceTurns_, oneMinus_;
};

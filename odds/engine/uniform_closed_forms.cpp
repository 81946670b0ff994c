#include "uniform_closed_forms.h"

#include <cmath>
#include <limits>

// With U_L = (1 + w + ... + w^(L-1)) / K, the window sums of the faces are shifts of U_L, and
// U_L^n = D (1 - w^L)^n with D = (K (1 - w))^-n. Expanding (1 - w^L)^n by the binomial theorem
// turns every sum over windows into a few geometric series.

namespace {

// Rounding allowed at one frequency; the inverse transform averages these, so each output
// probability moves by no more.
constexpr double closedTolerance = 1e-15;
constexpr double epsilon = std::numeric_limits<double>::epsilon();

// A cheap stand-in for |z|, within a factor of 1.5.
double roughSize(Complex z) {
    return std::fabs(z.real()) + std::fabs(z.imag());
}

} // namespace

UniformClosedForms::UniformClosedForms(const UnitRoots& roots, std::size_t faces, unsigned dice,
                                       double weight)
    : roots_(roots), k_(static_cast<long long>(faces)), n_(dice),
      tolerance_(closedTolerance / weight), binomials_(dice + 1), powers_(2 * dice + 1),
      faceTurns_(2 * dice + 1), oneMinus_(2 * dice + 1) {
    binomials_[0] = 1;
    for (unsigned i = 0; i < dice; ++i)
        binomials_[i + 1] = -binomials_[i] * (dice - i) / (i + 1);
}

bool UniformClosedForms::isOne(long long s) const {
    return roots_.reduced(s * j_) == 0;
}

bool UniformClosedForms::prepare(std::size_t frequency) {
    j_ = static_cast<long long>(frequency);
    // The terms grow like (2 / x)^n with x = K |1 - w|: below x = 1 summing face by face is
    // cheaper than checking.
    const double x = 2 * static_cast<double>(k_) * roots_.halfChord(j_);
    if (frequency == 0 || x < 1 || static_cast<double>(n_) * std::log2(2 / x) > 40)
        return false;
    // w^s and 1 - w^s exactly from the table, w^(sK) from one lookup by products (each adds a
    // rounding step, at most n of them).
    const Complex wk = roots_(j_ * k_);
    faceTurns_[index(0)] = 1;
    for (long long s = -n_; s <= n_; ++s) {
        powers_[index(s)] = roots_(s * j_);
        oneMinus_[index(s)] = roots_.oneMinus(s * j_);
        if (s > 0) {
            faceTurns_[index(s)] = times(faceTurns_[index(s - 1)], wk);
            faceTurns_[index(-s)] = std::conj(faceTurns_[index(s)]);
        }
    }
    return true;
}

// w^(s from) + ... + w^(s (from + K - 2)): K - 1 terms of ratio w^s.
Complex UniformClosedForms::geometric(long long s, long long from) const {
    if (isOne(s))
        return static_cast<double>(k_ - 1);
    const Complex last = times(faceTurn(s), std::conj(root(s))); // w^(s (K - 1))
    const Complex first = from == 1 ? root(s) : times(root(s), root(s));
    return quotient(times(first, 1.0 - last), oneMinusRoot(s));
}

std::optional<Complex> UniformClosedForms::withoutLowest(std::size_t frequency) {
    // Y = U_K^n + (1 - w) sum over m = 1 .. K-1 of w^-m (w^m U_(K-m))^n
    //   = U_K^n + (1 - w) D sum over i of c_i w^(iK) sum over m of w^((n-1-i) m).
    if (frequency == 0) // every chance together
        return 1;
    if (!prepare(frequency))
        return std::nullopt;
    const Complex oneMinusW = oneMinusRoot(1);
    const Complex inverse = quotient(1.0, oneMinusW * static_cast<double>(k_));
    const Complex d = power(inverse, static_cast<unsigned>(n_));
    Complex sum = 0;
    double magnitude = 0;
    for (long long i = 0; i <= n_; ++i) {
        const Complex term =
            binomials_[static_cast<std::size_t>(i)] * times(faceTurn(i), geometric(n_ - 1 - i, 1));
        sum += term;
        magnitude += roughSize(term);
    }
    // Each term carries up to n rounding steps.
    const double scale = roughSize(oneMinusW) * roughSize(d);
    if (4 * static_cast<double>(n_ + 4) * epsilon * magnitude * scale > tolerance_)
        return std::nullopt;
    const Complex whole = power(times(1.0 - faceTurn(1), inverse), static_cast<unsigned>(n_));
    return whole + times(oneMinusW, times(d, sum));
}

std::optional<Complex> UniformClosedForms::withoutBoth(std::size_t frequency) {
    // Windows [a, a + L - 1] of every length L: with z = w^(n-2) and G_L the sum of z^a over
    // the K - L + 1 places of the window, Y = G_1 / K^n + sum over L >= 2 of w^(1-L) G_L V_L,
    // where V_L = U_L^n - (1 + w^n) U_(L-1)^n + w^n U_(L-2)^n = D sum over i of
    // c_i (1 - w^-i)(1 - w^(n-i)) w^(iL).
    if (frequency == 0) // every chance together
        return 1;
    if (!prepare(frequency) || isOne(n_ - 2))
        return std::nullopt;
    const Complex oneMinusZ = oneMinusRoot(n_ - 2);
    const Complex oneMinusW = oneMinusRoot(1);
    const Complex inverse = quotient(1.0, oneMinusW * static_cast<double>(k_));
    const Complex d = power(inverse, static_cast<unsigned>(n_));
    const Complex zTail = times(faceTurn(n_ - 2), root(n_ - 2)); // z^(K+1)
    Complex sum = 0;
    double magnitude = 0;
    for (long long i = 1; i < n_; ++i) {
        const double c = binomials_[static_cast<std::size_t>(i)];
        const Complex e = times(oneMinusRoot(-i), oneMinusRoot(n_ - i));
        const Complex near = geometric(i - 1, 2);
        const Complex far = times(zTail, geometric(i - n_ + 1, 2));
        sum += c * times(e, near - far);
        magnitude += std::fabs(c) * roughSize(e) * (roughSize(near) + roughSize(far));
    }
    const double scale = roughSize(d) / std::abs(oneMinusZ);
    if (4 * static_cast<double>(n_ + 4) * epsilon * magnitude * scale > tolerance_)
        return std::nullopt;
    // G_1 = (1 - z^K) / (1 - z).
    const Complex single = quotient(1.0 - faceTurn(n_ - 2), oneMinusZ) *
                           std::pow(static_cast<double>(k_), -static_cast<double>(n_));
    return single + quotient(times(root(1), times(d, sum)), oneMinusZ);
}

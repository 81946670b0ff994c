#pragma once

// A slow, plain reference for the kept sum of n dice with given face chances, in long double,
// enumerated by thresholds in the value domain: for each lowest face m (and highest face b),
// the rolls whose extremes are exactly there, the other dice summed by direct convolution of the
// die cut to the faces between. Small counts only: the work grows as n^2 K^2 (n K) with one drop
// and K^3 n^3 with both.

#include <cstddef>
#include <vector>

namespace threshold_reference {

using Poly = std::vector<long double>; // index = sum of faces counted from face 0

inline Poly times(const Poly& a, const Poly& b) {
    Poly c(a.size() + b.size() - 1);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            c[i + j] += a[i] * b[j];
    return c;
}

inline long double binomial(unsigned n, unsigned k) {
    long double c = 1;
    for (unsigned i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

inline void addShifted(Poly& to, const Poly& from, std::size_t shift, long double weight) {
    if (to.size() < from.size() + shift)
        to.resize(from.size() + shift);
    for (std::size_t i = 0; i < from.size(); ++i)
        to[i + shift] += weight * from[i];
}

// Kept sum of n >= 2 dice with the lowest dropped; p[f] is the chance of face f.
inline Poly withoutLowest(const std::vector<long double>& p, unsigned n) {
    const std::size_t k = p.size();
    // above[r]: the sum of r dice, all above the current threshold (unnormalised).
    std::vector<Poly> above(n, Poly{0});
    above[0] = Poly{1};
    Poly out;
    for (std::size_t m = k; m-- > 0;) {
        // Rolls with j dice at m, all others above m: keep j - 1 of them at m.
        long double power = 1;
        for (unsigned j = 1; j <= n; ++j) {
            power *= p[m];
            addShifted(out, above[n - j], (j - 1) * m, binomial(n, j) * power);
        }
        // Let m into the dice above the next threshold, larger counts first.
        for (unsigned r = n - 1; r >= 1; --r) {
            Poly next = above[r];
            long double pw = 1;
            for (unsigned t = 1; t <= r; ++t) {
                pw *= p[m];
                addShifted(next, above[r - t], t * m, binomial(r, t) * pw);
            }
            above[r] = std::move(next);
        }
    }
    return out;
}

// Kept sum of n >= 3 dice with the lowest and the highest dropped.
inline Poly withoutBoth(const std::vector<long double>& p, unsigned n) {
    const std::size_t k = p.size();
    Poly out;
    for (std::size_t a = 0; a < k; ++a) {
        // All n at a.
        long double all = 1;
        for (unsigned i = 0; i < n; ++i)
            all *= p[a];
        addShifted(out, Poly{all}, (n - 2) * a, 1);
        // between[r]: r dice strictly between a and b.
        std::vector<Poly> between(n - 1, Poly{0});
        between[0] = Poly{1};
        for (std::size_t b = a + 1; b < k; ++b) {
            // i dice at a (one dropped), j at b (one dropped), the rest between.
            long double pa = 1;
            for (unsigned i = 1; i < n; ++i) {
                pa *= p[a];
                long double pb = 1;
                for (unsigned j = 1; i + j <= n; ++j) {
                    pb *= p[b];
                    const unsigned r = n - i - j;
                    addShifted(out, between[r], (i - 1) * a + (j - 1) * b,
                               binomial(n, i) * binomial(n - i, j) * pa * pb);
                }
            }
            // Let b in between for the next b.
            for (unsigned r = n - 2; r >= 1; --r) {
                Poly next = between[r];
                long double pw = 1;
                for (unsigned t = 1; t <= r; ++t) {
                    pw *= p[b];
                    addShifted(next, between[r - t], t * b, binomial(r, t) * pw);
                }
                between[r] = std::move(next);
            }
        }
    }
    return out;
}

// The kept sum of n dice, the lowest and/or the highest dropped (n large enough for the drops).
inline Poly keptSum(const std::vector<long double>& p, unsigned n, bool low, bool high) {
    if (low && high)
        return withoutBoth(p, n);
    if (low)
        return withoutLowest(p, n);
    if (high) { // the lowest of the mirrored die, mirrored back
        const std::vector<long double> mirrored(p.rbegin(), p.rend());
        Poly out = withoutLowest(mirrored, n);
        out.resize((n - 1) * (p.size() - 1) + 1);
        return Poly(out.rbegin(), out.rend());
    }
    Poly out{1};
    for (unsigned i = 0; i < n; ++i)
        out = times(out, Poly(p.begin(), p.end()));
    return out;
}

} // namespace threshold_reference

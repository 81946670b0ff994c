#include "kept_sum.h"

#include "uniform_closed_forms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>

namespace {

// |spectrum| below this at every frequency left out: each probability moves by no more.
constexpr double frequencyTolerance = 1e-17;
// Probability carried by the terms left out (rolls whose lowest or highest die is improbable).
constexpr double massTolerance = 1e-16;
// Beyond this many dice the closed forms' binomial terms grow too large to be worth it.
constexpr unsigned closedFormDice = 64;

using Spectrum = std::function<Complex(std::size_t)>;

// w^0 .. w^(count-1) for w = exp(-2 pi i j / size): each from the one before by a turn of w,
// starting afresh from an exact root every 32 steps so that rounding cannot build up.
void rootsOf(std::size_t j, const UnitRoots& roots, std::size_t count, std::vector<Complex>& out) {
    out.resize(count);
    const auto step = static_cast<long long>(j);
    const Complex turn = roots(step);
    for (std::size_t f = 0; f < count; f += 32) {
        Complex r = roots(step * static_cast<long long>(f));
        const std::size_t end = std::min(count, f + 32);
        for (std::size_t g = f; g < end; ++g) {
            out[g] = r;
            r = times(r, turn);
        }
    }
}

// How fast the window sums W(a,b) = p_a w^a + ... + p_b w^b can be of frequency theta: by
// summation by parts |W| <= beta / sin(theta / 2), beta being the largest weight plus the total
// variation of the weights; and, splitting the weights into a constant c and the rest,
// |W| <= c / sin(theta / 2) + delta, delta being the rest's total. The second is far the
// sharper for the nearly equal weights of the generator's grid.
struct WindowBound {
    double beta = 0, c = 0, delta = 0;
};

WindowBound windowBound(const std::vector<double>& p) {
    WindowBound bound;
    bound.beta = *std::max_element(p.begin(), p.end());
    for (std::size_t f = 1; f < p.size(); ++f)
        bound.beta += std::fabs(p[f] - p[f - 1]);
    bound.c = 1 / static_cast<double>(p.size());
    for (double weight : p)
        bound.delta += std::fabs(weight - bound.c);
    return bound;
}

// The last frequency that matters when the spectrum is a sum of `terms` n-th powers of window
// sums: beyond it each is below the bound to the n-th, all together below the tolerance.
std::size_t lastFrequency(const WindowBound& bound, unsigned n, double terms, std::size_t size,
                          const KeptSumTuning& tuning) {
    const std::size_t half = size / 2;
    if (!tuning.pruning)
        return half;
    const double r = std::pow(frequencyTolerance / (terms * tuning.weight), 1.0 / n); // |W| allowed
    double s = bound.beta / r; // sin(theta / 2) needed
    if (r > bound.delta)
        s = std::min(s, bound.c / (r - bound.delta));
    if (!(s < 1))
        return half;
    const double theta = 2 * std::asin(s);
    const double j = std::ceil(theta * static_cast<double>(size) / (2 * std::numbers::pi));
    return j < static_cast<double>(half) ? static_cast<std::size_t>(j) : half;
}

// The smallest m with P(all n dice >= m) below the tolerance: rolls whose lowest die is m or
// more are left out. K when nothing may be left out.
std::size_t lowestThatMatters(const std::vector<double>& p, unsigned n, double tolerance,
                              const KeptSumTuning& tuning) {
    const std::size_t k = p.size();
    if (!tuning.pruning)
        return k;
    double mass = 0;
    std::size_t m = k;
    while (m > 0 && std::pow(mass + p[m - 1], n) <= tolerance)
        mass += p[--m];
    return m;
}

// The sum of all dice: the die's spectrum to the n-th power.
Spectrum sumOfAll(const FaceWeights& die, unsigned n, const UnitRoots& roots, std::size_t last) {
    const std::vector<double>& p = die.p;
    const std::size_t k = p.size();
    if (die.uniform) { // (1 + w + ... + w^(K-1)) / K = (1 - w^K) / (K (1 - w))
        return [&roots, k, n](std::size_t j) -> Complex {
            if (j == 0)
                return 1;
            const auto q = static_cast<long long>(j);
            const Complex face = quotient(roots.oneMinus(q * static_cast<long long>(k)),
                                          roots.oneMinus(q) * static_cast<double>(k));
            return power(face, n);
        };
    }
    // The die's whole spectrum by one transform, unless few frequencies are wanted.
    const double size = static_cast<double>(roots.size());
    auto spectrum = std::make_shared<std::vector<Complex>>();
    if (static_cast<double>(last) * static_cast<double>(k) > size * std::log2(size) / 2)
        *spectrum = realSpectrum(p, roots);
    auto buffer = std::make_shared<std::vector<Complex>>();
    return [&p, &roots, k, n, spectrum, buffer](std::size_t j) {
        Complex face = 0;
        if (!spectrum->empty()) {
            face = (*spectrum)[j];
        } else {
            rootsOf(j, roots, k, *buffer);
            for (std::size_t f = 0; f < k; ++f)
                face += p[f] * (*buffer)[f];
        }
        return power(face, n);
    };
}

// The lowest die dropped: with W_m the sum of p_f w^f over faces f >= m, the rolls whose
// lowest die is m contribute W_m^n - W_(m+1)^n, shifted down by m.
Spectrum sumWithoutLowest(const FaceWeights& die, unsigned n, const UnitRoots& roots,
                          const KeptSumTuning& tuning) {
    const std::vector<double>& p = die.p;
    const std::size_t k = p.size();
    const std::size_t mEnd = lowestThatMatters(p, n, massTolerance, tuning);
    std::shared_ptr<UniformClosedForms> closed;
    if (tuning.closedForms && die.uniform && n <= closedFormDice)
        closed = std::make_shared<UniformClosedForms>(roots, k, n, tuning.weight);
    if (!closed) { // four frequencies at a time, so that their chains of products overlap
        constexpr std::size_t block = 4;
        struct Block {
            std::vector<Complex> roots[block];
            std::size_t first = 0, count = 0; // the frequencies held in values
            std::array<Complex, block> values;
        };
        auto held = std::make_shared<Block>();
        const std::size_t half = roots.size() / 2;
        return [&p, &roots, k, n, mEnd, held, half](std::size_t j) -> Complex {
            Block& s = *held;
            if (j >= s.first && j < s.first + s.count)
                return s.values[j - s.first];
            const std::size_t count = half + 1 - j < block ? half + 1 - j : block;
            for (std::size_t b = 0; b < block; ++b)
                rootsOf(b < count ? j + b : j, roots, k, s.roots[b]);
            // The suffix sums A_m, their n-th powers, and y = sum over m < mEnd of
            // w^-m (A_m^n - A_(m+1)^n); real and imaginary parts apart.
            double ar[block] = {}, ai[block] = {}, br[block] = {}, bi[block] = {};
            double yr[block] = {}, yi[block] = {};
            for (std::size_t m = k; m-- > 0;) {
                const double weight = p[m];
                for (std::size_t b = 0; b < block; ++b) {
                    ar[b] += weight * s.roots[b][m].real();
                    ai[b] += weight * s.roots[b][m].imag();
                }
                if (m > mEnd)
                    continue;
                double rr[block], ri[block], zr[block], zi[block];
                for (std::size_t b = 0; b < block; ++b)
                    rr[b] = 1, ri[b] = 0, zr[b] = ar[b], zi[b] = ai[b];
                for (unsigned e = n; e; e >>= 1) {
                    if (e & 1) {
                        for (std::size_t b = 0; b < block; ++b) {
                            const double r = rr[b] * zr[b] - ri[b] * zi[b];
                            ri[b] = rr[b] * zi[b] + ri[b] * zr[b];
                            rr[b] = r;
                        }
                    }
                    if (e > 1) {
                        for (std::size_t b = 0; b < block; ++b) {
                            const double r = zr[b] * zr[b] - zi[b] * zi[b];
                            zi[b] = 2 * zr[b] * zi[b];
                            zr[b] = r;
                        }
                    }
                }
                if (m < mEnd) {
                    for (std::size_t b = 0; b < block; ++b) {
                        const double dr = rr[b] - br[b], di = ri[b] - bi[b];
                        const double wr = s.roots[b][m].real(), wi = -s.roots[b][m].imag();
                        yr[b] += wr * dr - wi * di;
                        yi[b] += wr * di + wi * dr;
                    }
                }
                for (std::size_t b = 0; b < block; ++b)
                    br[b] = rr[b], bi[b] = ri[b];
            }
            s.first = j;
            s.count = count;
            for (std::size_t b = 0; b < block; ++b)
                s.values[b] = {yr[b], yi[b]};
            return s.values[0];
        };
    }
    struct Scratch {
        std::vector<Complex> roots, powers;
    };
    auto scratch = std::make_shared<Scratch>(); // filled at the first frequency that needs it
    return [&p, &roots, k, n, mEnd, closed, scratch](std::size_t j) -> Complex {
        if (closed) {
            if (const auto y = closed->withoutLowest(j))
                return *y;
        }
        std::vector<Complex>& w = scratch->roots;
        std::vector<Complex>& powers = scratch->powers;
        powers.resize(mEnd + 1);
        rootsOf(j, roots, k, w);
        Complex suffix = 0;
        for (std::size_t m = k; m-- > 0;) {
            suffix += p[m] * w[m];
            if (m <= mEnd)
                powers[m] = power(suffix, n);
        }
        if (mEnd == k)
            powers[k] = 0;
        Complex y = 0;
        for (std::size_t m = 0; m < mEnd; ++m)
            y += times(std::conj(w[m]), powers[m] - powers[m + 1]);
        return y;
    };
}

// Both dropped, any weights: the rolls whose lowest die is a and highest b (a <= b) contribute,
// by inclusion and exclusion, W(a,b)^n - W(a+1,b)^n - W(a,b-1)^n + W(a+1,b-1)^n shifted down
// by a + b, W(a,b) being the window sum of p_f w^f over a <= f <= b.
// Without buildTable, only counts the terms.
Spectrum sumWithoutBothWindows(const FaceWeights& die, unsigned n, const UnitRoots& roots,
                               const KeptSumTuning& tuning, double& terms, bool buildTable = true) {
    const std::vector<double>& p = die.p;
    const std::size_t k = p.size();
    // Lowest dice from aEnd up and highest dice below bStart are left out.
    const std::size_t aEnd = lowestThatMatters(p, n, massTolerance / 2, tuning);
    const std::vector<double> mirrored(p.rbegin(), p.rend());
    const std::size_t bStart = k - lowestThatMatters(mirrored, n, massTolerance / 2, tuning);
    terms = 0;
    for (std::size_t a = 0; a < aEnd; ++a)
        terms += 4 * static_cast<double>(k - std::max(a, bStart));
    if (!buildTable)
        return {};
    // A table of W(a,b)^n for a in [0, aEnd] and b in [bFirst, k-1].
    const std::size_t bFirst = bStart == 0 ? 0 : bStart - 1;
    const std::size_t columns = k - bFirst;
    struct Scratch {
        std::vector<Complex> roots, prefix, table;
    };
    auto scratch = std::make_shared<Scratch>();
    scratch->prefix.resize(k + 1);
    scratch->table.resize((aEnd + 1) * columns);
    return [&p, &roots, k, n, aEnd, bStart, bFirst, columns, scratch](std::size_t j) -> Complex {
        std::vector<Complex>& w = scratch->roots;
        std::vector<Complex>& prefix = scratch->prefix;
        std::vector<Complex>& table = scratch->table;
        rootsOf(j, roots, k, w);
        prefix[0] = 0;
        for (std::size_t f = 0; f < k; ++f)
            prefix[f + 1] = prefix[f] + p[f] * w[f];
        for (std::size_t a = 0; a <= aEnd; ++a) {
            for (std::size_t b = std::max(a, bFirst); b < k; ++b)
                table[a * columns + (b - bFirst)] = power(prefix[b + 1] - prefix[a], n);
        }
        auto q = [&](std::size_t a, std::size_t b) {
            return a > b || b < bFirst ? Complex(0) : table[a * columns + (b - bFirst)];
        };
        Complex y = 0;
        for (std::size_t a = 0; a < aEnd; ++a) {
            Complex row = 0;
            for (std::size_t b = std::max(a, bStart); b < k; ++b) {
                Complex term = q(a, b) - q(a + 1, b);
                if (b > 0)
                    term -= q(a, b - 1) - q(a + 1, b - 1);
                row += times(std::conj(w[b]), term);
            }
            y += times(std::conj(w[a]), row);
        }
        return y;
    };
}

// Both dropped, any weights, in O(n K) per frequency instead of one power per window. With
// P_x the prefix sums of p_f w^f (f < x), summing the window formula by parts gives
// Y = sum over a <= b of u_a v_b (P_(b+1) - P_a)^n, u_a = w^-a (1 - w [a > 0]),
// v_b = w^-b (1 - w^-1 [b < K-1]); the binomial theorem then splits a from b, and running sums
// over a do the rest. Every P_x is first moved by a centre C (the window sums do not change)
// that keeps |P_x - C| <= r small: the terms are at most (2r)^n, and near-equal weights keep
// 2r about 1 or below, so nothing large cancels. The centre is the middle of the chord from
// P_0 to P_K or the centre of the circle through P_0, P_(K/2), P_K, whichever is nearer all.
Spectrum sumWithoutBothCentred(const FaceWeights& die, unsigned n, const UnitRoots& roots) {
    // Four frequencies at a time, so that their chains of products overlap.
    constexpr std::size_t block = 4;
    const std::vector<double>& p = die.p;
    const std::size_t k = p.size();
    struct Scratch {
        std::vector<double> binomials;
        std::vector<Complex> roots[block], prefix[block];
        // R_i = sum over a <= b of u_a (-D_a)^i: the real parts of the four frequencies, then
        // their imaginary parts, for each i.
        std::vector<double> sumParts;
        std::size_t first = 0, count = 0; // the frequencies held in values
        std::array<Complex, block> values;
    };
    auto scratch = std::make_shared<Scratch>();
    scratch->binomials.resize(n + 1);
    scratch->binomials[0] = 1;
    for (unsigned i = 0; i < n; ++i)
        scratch->binomials[i + 1] = scratch->binomials[i] * (n - i) / (i + 1);
    scratch->sumParts.resize(2 * block * (n + 1));

    // P_x - C at frequency j into prefix.
    auto centred = [&p, &roots, k](std::size_t j, std::vector<Complex>& w,
                                   std::vector<Complex>& prefix) {
        rootsOf(j, roots, k, w);
        prefix.resize(k + 1); // at the first frequency only
        prefix[0] = 0;
        for (std::size_t f = 0; f < k; ++f)
            prefix[f + 1] = prefix[f] + p[f] * w[f];
        auto farthest = [&](Complex centre) {
            double r = 0;
            for (const Complex& x : prefix)
                r = std::max(r, std::norm(x - centre));
            return r;
        };
        Complex centre = prefix[k] / 2.0;
        const Complex a = prefix[k / 2], b = prefix[k];
        const double d = 2 * (a.real() * b.imag() - a.imag() * b.real());
        if (d != 0) { // the circumcentre of 0, a, b
            const double na = std::norm(a), nb = std::norm(b);
            const Complex circle((b.imag() * na - a.imag() * nb) / d,
                                 (a.real() * nb - b.real() * na) / d);
            if (farthest(circle) < farthest(centre))
                centre = circle;
        }
        for (Complex& x : prefix)
            x -= centre;
    };

    auto compute = [&roots, k, n, scratch, centred](std::size_t first, std::size_t count) {
        Scratch& s = *scratch;
        std::array<Complex, block> oneMinusW{}, oneMinusConj{}, y{}, power{}, negative{}, upper{},
            acc{}, u{}, v{};
        for (std::size_t b = 0; b < count; ++b) {
            centred(first + b, s.roots[b], s.prefix[b]);
            oneMinusW[b] = roots.oneMinus(static_cast<long long>(first + b));
            oneMinusConj[b] = std::conj(oneMinusW[b]);
        }
        std::fill(s.sumParts.begin(), s.sumParts.end(), 0.0);
        for (std::size_t f = 0; f < k; ++f) {
            for (std::size_t b = 0; b < count; ++b) {
                const Complex back = std::conj(s.roots[b][f]); // w^-f
                u[b] = f == 0 ? Complex(1) : times(back, oneMinusW[b]);
                v[b] = f + 1 < k ? times(back, oneMinusConj[b]) : back;
                power[b] = u[b];
                negative[b] = -s.prefix[b][f];
            }
            // a = f joins the running sums. Real and imaginary parts apart, so that the four
            // frequencies go side by side through the processor's vector registers.
            double pr[block], pi[block], nr[block], ni[block];
            for (std::size_t b = 0; b < block; ++b) {
                pr[b] = power[b].real(), pi[b] = power[b].imag();
                nr[b] = negative[b].real(), ni[b] = negative[b].imag();
            }
            for (unsigned i = 0; i <= n; ++i) {
                double* sr = s.sumParts.data() + 2 * block * i;
                double* si = sr + block;
                for (std::size_t b = 0; b < block; ++b) {
                    sr[b] += pr[b];
                    si[b] += pi[b];
                    const double r = pr[b] * nr[b] - pi[b] * ni[b];
                    pi[b] = pr[b] * ni[b] + pi[b] * nr[b];
                    pr[b] = r;
                }
            }
            // b = f: the sum over i of C(n, i) D_(f+1)^i R_(n-i).
            double er[block], ei[block], ur[block], ui[block], ar[block] = {}, ai[block] = {};
            for (std::size_t b = 0; b < block; ++b) {
                upper[b] = b < count ? s.prefix[b][f + 1] : Complex(0);
                er[b] = 1, ei[b] = 0, ur[b] = upper[b].real(), ui[b] = upper[b].imag();
            }
            for (unsigned i = 0; i <= n; ++i) {
                const double c = s.binomials[i];
                const double* sr = s.sumParts.data() + 2 * block * (n - i);
                const double* si = sr + block;
                for (std::size_t b = 0; b < block; ++b) {
                    ar[b] += c * (er[b] * sr[b] - ei[b] * si[b]);
                    ai[b] += c * (er[b] * si[b] + ei[b] * sr[b]);
                    const double r = er[b] * ur[b] - ei[b] * ui[b];
                    ei[b] = er[b] * ui[b] + ei[b] * ur[b];
                    er[b] = r;
                }
            }
            for (std::size_t b = 0; b < block; ++b)
                acc[b] = {ar[b], ai[b]};
            for (std::size_t b = 0; b < count; ++b)
                y[b] += times(v[b], acc[b]);
        }
        s.first = first;
        s.count = count;
        s.values = y;
    };

    const std::size_t half = roots.size() / 2;
    return [scratch, compute, half](std::size_t j) -> Complex {
        Scratch& s = *scratch;
        if (j < s.first || j >= s.first + s.count)
            compute(j, std::min<std::size_t>(4, half + 1 - j));
        return s.values[j - s.first];
    };
}

// Both dropped, equally likely faces: a window of length L sits at K - L + 1 places, which the
// geometric sum G_L of z^a (z = w^(n-2)) gathers; per length the rolls contribute
// w^-(L-1) G_L (U_L^n - (1 + w^n) U_(L-1)^n + w^n U_(L-2)^n), U_L = (1 + ... + w^(L-1)) / K.
Spectrum sumWithoutBothUniform(const FaceWeights& die, unsigned n, const UnitRoots& roots,
                               const KeptSumTuning& tuning, double& terms) {
    const std::size_t k = die.p.size();
    const double faces = static_cast<double>(k);
    // Rolls whose highest and lowest die lie within a window shorter than lStart are left out:
    // P(highest - lowest <= L - 1) = (K - L + 1)(L / K)^n - (K - L)((L - 1) / K)^n.
    std::size_t lStart = 1;
    if (tuning.pruning) {
        auto narrow = [&](double l) {
            return (faces - l + 1) * std::pow(l / faces, n) -
                   (faces - l) * std::pow((l - 1) / faces, n);
        };
        while (lStart < k && narrow(static_cast<double>(lStart)) <= massTolerance)
            ++lStart;
    }
    terms = 0;
    for (std::size_t l = lStart; l <= k; ++l)
        terms += 4 * static_cast<double>(k - l + 1);
    std::shared_ptr<UniformClosedForms> closed;
    if (tuning.closedForms && n <= closedFormDice)
        closed = std::make_shared<UniformClosedForms>(roots, k, n, tuning.weight);
    struct Scratch {
        std::vector<Complex> roots, zPowers, places;
    };
    auto scratch = std::make_shared<Scratch>(); // filled at the first frequency that needs it
    return [&roots, k, faces, n, lStart, closed, scratch](std::size_t j) -> Complex {
        if (closed) {
            if (const auto y = closed->withoutBoth(j))
                return *y;
        }
        std::vector<Complex>& w = scratch->roots;
        std::vector<Complex>& places = scratch->places;
        places.resize(k + 1);
        rootsOf(j, roots, k, w);
        // places[L] = G_L = z^0 + ... + z^(K-L), built from L = K down.
        rootsOf(j * (n - 2) % roots.size(), roots, k, scratch->zPowers);
        Complex g = 0;
        for (std::size_t l = k; l >= 1; --l) {
            g += scratch->zPowers[k - l];
            places[l] = g;
        }
        const Complex wn = roots(static_cast<long long>(j * n));
        Complex window = 0, y = 0;                  // window = U_L
        Complex powerL = 0, power1 = 0, power2 = 0; // U_L^n, U_(L-1)^n, U_(L-2)^n
        for (std::size_t l = 1; l <= k; ++l) {
            window += w[l - 1] / faces;
            power2 = power1;
            power1 = powerL;
            if (l + 2 < lStart)
                continue;
            powerL = power(window, n);
            if (l < lStart)
                continue;
            const Complex v = powerL - power1 + times(wn, power2 - power1);
            y += times(times(std::conj(w[l - 1]), places[l]), v);
        }
        return y;
    };
}

// One or two dice kept, found directly from the order statistics in the value domain: with a,
// b and c the chances of a die below, at and above a face, the chance that the r-th lowest of
// n dice shows v sums the multinomial terms of i dice below, j at and k above v that put the
// r-th at v. Every term is positive, so any weights come out exact.
std::vector<double> orderStatistics(const std::vector<double>& p, unsigned n, unsigned r,
                                    unsigned kept) {
    const std::size_t k = p.size();
    std::vector<double> below(k), above(k); // P(die < v), P(die > v), each summed from its end
    for (std::size_t v = 1; v < k; ++v)
        below[v] = below[v - 1] + p[v - 1];
    for (std::size_t v = k - 1; v-- > 0;)
        above[v] = above[v + 1] + p[v + 1];
    double factorial[5] = {1, 1, 2, 6, 24};
    // Terms with i below, j at and m above, i < r, for j >= least.
    auto atFace = [&](std::size_t v, unsigned aboveMost, unsigned least) {
        double sum = 0;
        for (unsigned i = 0; i < r; ++i) {
            for (unsigned m = 0; m <= aboveMost && i + m <= n; ++m) {
                const unsigned j = n - i - m;
                if (j >= least)
                    sum += factorial[n] / (factorial[i] * factorial[j] * factorial[m]) *
                           std::pow(below[v], i) * std::pow(p[v], j) * std::pow(above[v], m);
            }
        }
        return sum;
    };
    std::vector<double> out(kept * (k - 1) + 1);
    if (kept == 1) {
        for (std::size_t v = 0; v < k; ++v)
            out[v] = atFace(v, n - r, 1);
        return out;
    }
    // Two kept, the r-th at u and the (r+1)-th at v > u: r dice at or below u (one at least at
    // u), none between, the rest at or above v (one at least at v).
    std::vector<double> lower(k), upper(k);
    for (std::size_t v = 0; v < k; ++v) {
        for (unsigned j = 1; j <= r; ++j)
            lower[v] +=
                std::pow(below[v], r - j) * std::pow(p[v], j) / (factorial[r - j] * factorial[j]);
        for (unsigned j = 1; j <= n - r; ++j)
            upper[v] += std::pow(p[v], j) * std::pow(above[v], n - r - j) /
                        (factorial[j] * factorial[n - r - j]);
    }
    for (std::size_t u = 0; u < k; ++u) {
        out[2 * u] += atFace(u, n - r - 1, 2); // both at u
        const double scaled = factorial[n] * lower[u];
        for (std::size_t v = u + 1; v < k; ++v)
            out[u + v] += scaled * upper[v];
    }
    return out;
}

} // namespace

std::size_t keptSumCount(std::size_t faces, unsigned dice, bool dropLowest, bool dropHighest) {
    const unsigned dropped = (dropLowest ? 1 : 0) + (dropHighest ? 1 : 0);
    return dice <= dropped ? 1 : (dice - dropped) * (faces - 1) + 1;
}

KeptSumSpectrum::KeptSumSpectrum(const FaceWeights& die, unsigned dice, bool dropLowest,
                                 bool dropHighest, const UnitRoots& roots, KeptSumTuning tuning) {
    const std::size_t size = roots.size();
    const std::size_t k = die.p.size();
    const unsigned dropped = (dropLowest ? 1 : 0) + (dropHighest ? 1 : 0);
    if (k <= 1 || dice <= dropped) { // one sum, 0
        at_ = [](std::size_t) { return Complex(1); };
        return;
    }
    const WindowBound beta = windowBound(die.p);
    if (!dropped) {
        last_ = lastFrequency(beta, dice, 1, size, tuning);
        at_ = sumOfAll(die, dice, roots, last_);
        workPerFrequency_ = static_cast<double>(k);
    } else if (dropped == 2) {
        double terms = 0;
        if (die.uniform) {
            at_ = sumWithoutBothUniform(die, dice, roots, tuning, terms);
        } else {
            sumWithoutBothWindows(die, dice, roots, tuning, terms, false);
            // The centred powers take about 2 n K products at each frequency, the windows one
            // power per window; the centred powers need weights near equal (see there).
            const double faces = static_cast<double>(k);
            const double powers = terms / 4 * (std::log2(static_cast<double>(dice)) + 2);
            if (tuning.centredPowers && beta.delta < 0.25 && (2 * dice + 6) * faces < powers) {
                at_ = sumWithoutBothCentred(die, dice, roots);
                terms = 2 * faces * faces;
                workPerFrequency_ = (2 * dice + 6) * faces;
            } else {
                at_ = sumWithoutBothWindows(die, dice, roots, tuning, terms);
                workPerFrequency_ = powers + 2 * faces;
            }
        }
        last_ = lastFrequency(beta, dice, terms, size, tuning);
    } else {
        last_ = lastFrequency(beta, dice, 2 * static_cast<double>(k), size, tuning);
        workPerFrequency_ = static_cast<double>(k) * (std::log2(static_cast<double>(dice)) + 4) /
                            (die.uniform ? 8 : 1);
        if (dropLowest) {
            at_ = sumWithoutLowest(die, dice, roots, tuning);
        } else {
            // The highest dropped is the lowest dropped of the mirrored die, mirrored back:
            // a sum t becomes top - t, which conjugates the spectrum and turns it by w^top.
            auto mirrored = std::make_shared<FaceWeights>(
                FaceWeights{std::vector<double>(die.p.rbegin(), die.p.rend()), die.uniform});
            const auto top = static_cast<long long>((dice - 1) * (k - 1));
            Spectrum lowest = sumWithoutLowest(*mirrored, dice, roots, tuning);
            at_ = [mirrored, lowest, top, &roots](std::size_t j) {
                return times(roots(top * static_cast<long long>(j)), std::conj(lowest(j)));
            };
        }
    }
}

std::optional<std::vector<double>>
distributionFromSpectrum(std::size_t totals, const UnitRoots& roots, std::size_t last,
                         const std::function<Complex(std::size_t)>& spectrum,
                         const std::stop_token& stop) {
    return distributionFromSpectra(totals, roots, last, {spectrum}, stop);
}

std::optional<std::vector<double>>
distributionFromSpectra(std::size_t totals, const UnitRoots& roots, std::size_t last,
                        const std::vector<std::function<Complex(std::size_t)>>& copies,
                        const std::stop_token& stop) {
    std::vector<Complex> half(roots.size() / 2 + 1);
    const std::size_t end = std::min(last + 1, half.size());
    // Copy i works out the frequencies from share i to share i + 1; the first stays on this
    // thread.
    const std::size_t share = (end + copies.size() - 1) / copies.size();
    auto work = [&](std::size_t i) {
        const std::size_t last = std::min(end, (i + 1) * share);
        for (std::size_t j = i * share; j < last; ++j) {
            if (j % 16 == 0 && stop.stop_requested())
                return;
            half[j] = copies[i](j);
        }
    };
    {
        std::vector<std::jthread> others;
        for (std::size_t i = 1; i < copies.size(); ++i)
            others.emplace_back(work, i);
        work(0);
    }
    if (stop.stop_requested())
        return std::nullopt;
    std::vector<double> values = realFromSpectrum(half, roots);
    values.resize(totals);
    return values;
}

std::optional<std::vector<double>> keptSumDistribution(const FaceWeights& die, unsigned dice,
                                                       bool dropLowest, bool dropHighest,
                                                       std::stop_token stop, KeptSumTuning tuning) {
    const std::size_t totals = keptSumCount(die.p.size(), dice, dropLowest, dropHighest);
    const unsigned dropped = (dropLowest ? 1 : 0) + (dropHighest ? 1 : 0);
    if (dice == 1 && !dropped)
        return die.p;
    if (dropped && dice > dropped && dice - dropped <= 2 && die.p.size() > 1 &&
        (dice - dropped == 1 || die.p.size() <= orderStatisticFaces))
        return orderStatistics(die.p, dice, dropLowest ? 2 : 1, dice - dropped);
    const UnitRoots roots(powerOfTwoAtLeast(totals));
    const KeptSumSpectrum spectrum(die, dice, dropLowest, dropHighest, roots, tuning);
    return distributionFromSpectrum(totals, roots, spectrum.last(), std::cref(spectrum), stop);
}

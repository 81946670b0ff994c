#include "nearly_equal_both_drops.h"

#include <algorithm>
#include <cassert>
#include <cmath>

// With P_x the running sums of p_f w^f (f < x), the general method's spectrum is
// Y = sum over a <= b of u_a v_b (P_(b+1) - P_a)^n, u_a = w^-a (1 - w [a > 0]),
// v_b = w^-b (1 - w^-1 [b < K-1]). With p_f = c + d_f, P_x = c G_x + D_x, where
// c (G_(b+1) - G_a) = rho (w^a - w^(b+1)), rho = c / (1 - w), and D_x = sum over f < x of d_f w^f
// (D_0 = D_K = 0). The first order in the D_x is
//   Y1 = n sum over a <= b of u_a v_b E_ab^(n-1) (D_(b+1) - D_a),  E_ab = rho (w^a - w^(b+1)).
// Expanding E_ab^(n-1) by the binomial theorem leaves, for each power, sums over a and b of
// terms c x^degree w^(gamma x): geometric series, which close. What is left is
// sum over f of d_f w^f t(f) for a few such terms t, each the transform of d_f or f d_f at the
// frequency j (1 + gamma).

// c x^degree z^x with z = w^gamma, as a function of a whole number x.
struct NearlyEqualBothDrops::Term {
    Complex c;
    long long gamma;
    int degree; // 0 or 1
};

// Terms gathered by gamma (from -1 to dice) and degree.
class NearlyEqualBothDrops::Terms {
public:
    explicit Terms(unsigned dice) : slots_(2 * (dice + 2)) {}
    void clear() { std::fill(slots_.begin(), slots_.end(), Complex(0)); }
    void add(Complex c, long long gamma, int degree) {
        const auto slot = static_cast<std::size_t>(2 * (gamma + 1) + degree);
        assert(slot < slots_.size());
        slots_[slot] += c;
    }
    template <class Visit> void forEach(Visit visit) const {
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            if (slots_[slot] != Complex(0))
                visit(Term{slots_[slot], static_cast<long long>(slot / 2) - 1,
                           static_cast<int>(slot % 2)});
        }
    }

private:
    std::vector<Complex> slots_;
};

// Running sums of terms at one frequency, F(N) = t(0) + ... + t(N), from the powers of w that
// they need, looked up once per frequency for gamma from -1 to dice.
class NearlyEqualBothDrops::RunningSums {
public:
    RunningSums(const UnitRoots& roots, long long faces, unsigned dice)
        : roots_(roots), k_(faces), first_(-1), powers_(dice + 2) {}

    void prepare(long long j) {
        for (std::size_t i = 0; i < powers_.size(); ++i) {
            const long long q = (static_cast<long long>(i) + first_) * j;
            Powers& p = powers_[i];
            p.one = roots_.reduced(q) == 0;
            p.z = roots_(q);
            p.inverseGap = p.one ? Complex(0) : quotient(1.0, roots_.oneMinus(q));
            p.faces = roots_(q * k_);
            p.facesLess = times(p.faces, std::conj(p.z));
        }
    }

    // F(K-1), or F(K-2) with lessOne.
    Complex atEnd(const Term& t, bool lessOne) const {
        const Powers& p = of(t.gamma);
        const auto n = static_cast<double>(lessOne ? k_ - 2 : k_ - 1);
        if (p.one)
            return t.degree == 0 ? t.c * (n + 1) : t.c * (n * (n + 1) / 2);
        const Complex e = lessOne ? p.facesLess : p.faces; // z^(N+1)
        if (t.degree == 0)
            return times(t.c, times(1.0 - e, p.inverseGap));
        const Complex g = p.inverseGap, g2 = times(g, g);
        return times(t.c, times(p.z - e, g2) - n * times(e, g));
    }

    // Adds scale F(x + shift) w^(shiftGamma x), in x, to out, for shift -1 or 0; false where F
    // grows like x^2.
    bool add(const Term& t, long long shift, Complex scale, long long shiftGamma,
             Terms& out) const {
        const Powers& p = of(t.gamma);
        const Complex c = times(scale, t.c);
        if (p.one) {
            if (t.degree == 1)
                return false;
            out.add(c, shiftGamma, 1); // c (x + shift + 1)
            out.add(c * static_cast<double>(shift + 1), shiftGamma, 0);
            return true;
        }
        const Complex ce = shift == 0 ? times(c, p.z) : c; // c z^(shift+1)
        const Complex g = p.inverseGap;
        if (t.degree == 0) { // c (1 - z^(N+1)) / (1 - z)
            out.add(times(c, g), shiftGamma, 0);
            out.add(-times(ce, g), shiftGamma + t.gamma, 0);
            return true;
        }
        // c (z - z^(N+1)) / (1 - z)^2 - c N z^(N+1) / (1 - z), N = x + shift
        const Complex g2 = times(g, g);
        out.add(times(times(c, p.z), g2), shiftGamma, 0);
        out.add(-times(ce, g), shiftGamma + t.gamma, 1);
        out.add(-times(ce, g2) - times(ce, g) * static_cast<double>(shift), shiftGamma + t.gamma,
                0);
        return true;
    }

private:
    struct Powers {
        bool one = false;         // z = 1
        Complex z, inverseGap;    // z = w^gamma, 1 / (1 - z)
        Complex faces, facesLess; // z^K, z^(K-1)
    };
    const Powers& of(long long gamma) const {
        return powers_[static_cast<std::size_t>(gamma - first_)];
    }

    const UnitRoots& roots_;
    long long k_, first_;
    std::vector<Powers> powers_;
};

struct NearlyEqualBothDrops::Scratch {
    Scratch(const UnitRoots& roots, long long faces, unsigned dice)
        : sums(roots, faces, dice), s(dice), r(dice), outer(dice) {}
    RunningSums sums;
    Terms s, r, outer;
};

NearlyEqualBothDrops::NearlyEqualBothDrops(const std::vector<double>& p, unsigned dice,
                                           const UnitRoots& roots)
    : roots_(roots), k_(static_cast<long long>(p.size())), n_(dice), faces_{p, false},
      equalFaces_{std::vector<double>(p.size(), 1.0 / static_cast<double>(p.size())), true},
      exact_(faces_, dice, true, true, roots), equal_(equalFaces_, dice, true, true, roots),
      binomials_(dice),
      scratch_(std::make_unique<Scratch>(roots, static_cast<long long>(p.size()), dice)) {
    // d_f and f d_f as the real and imaginary parts of one vector, through one transform.
    deviations_.resize(roots.size());
    for (std::size_t f = 0; f < p.size(); ++f) {
        const double d = p[f] - equalFaces_.p[f];
        deviations_[f] = {d, static_cast<double>(f) * d};
    }
    complexSpectrum(deviations_, roots);
    binomials_[0] = 1;
    for (unsigned i = 0; i + 1 < dice; ++i)
        binomials_[i + 1] = binomials_[i] * (dice - 1 - i) / (i + 1);
    // The binomial terms reach (2 / x)^(n-1) with x = K |1 - w|, and cancel to far less;
    // rounding stays below 1e-15 where that is at most 2^20.
    const std::size_t half = roots.size() / 2;
    while (closedFrom_ < half) {
        const double x =
            2 * static_cast<double>(k_) * roots.halfChord(static_cast<long long>(closedFrom_));
        if (static_cast<double>(dice - 1) * std::log2(2 / x) <= 20)
            break;
        ++closedFrom_;
    }
}

Complex NearlyEqualBothDrops::deviations(int degree, long long q) const {
    // With X the transform of d_f + i f d_f, the transform of d_f is (X[q] + conj(X[-q])) / 2 and
    // that of f d_f (X[q] - conj(X[-q])) / 2i.
    const auto mask = static_cast<long long>(roots_.size()) - 1;
    const Complex a = deviations_[static_cast<std::size_t>(q & mask)];
    const Complex b = std::conj(deviations_[static_cast<std::size_t>(-q & mask)]);
    const Complex half = degree == 0 ? (a + b) * 0.5 : (a - b) * 0.5;
    return degree == 0 ? half : Complex(half.imag(), -half.real());
}

NearlyEqualBothDrops::~NearlyEqualBothDrops() = default;

double NearlyEqualBothDrops::work(std::size_t size, std::size_t last, unsigned dice) {
    // The transform of the deviations (complex, as costly as two of real vectors), then the
    // terms and the equal faces' closed forms.
    const auto n = static_cast<double>(size);
    return 4 * n * std::log2(n) + static_cast<double>(last + 1) * (400 + 40 * dice);
}

bool NearlyEqualBothDrops::firstOrder(std::size_t frequency, Complex& y) {
    const auto j = static_cast<long long>(frequency);
    const long long m = n_ - 1;
    RunningSums& sums = scratch_->sums;
    Terms &s = scratch_->s, &r = scratch_->r, &outer = scratch_->outer;
    sums.prepare(j);
    s.clear();
    r.clear();
    outer.clear();
    const Complex w = roots_(j), oneMinusW = roots_.oneMinus(j);
    const Complex oneMinusBack = std::conj(oneMinusW); // 1 - w^-1
    const Complex rhoPower = power(quotient(Complex(1.0 / static_cast<double>(k_)), oneMinusW),
                                   static_cast<unsigned>(m));

    // Y1 / n = X - Z with
    //   X = sum over b of v_b D_(b+1) sum over a <= b of u_a E_ab^m
    //     = sum over f of d_f w^f (sum over b from f to K-2 of s(b)) + v_(K-1) D_K L,
    //   Z = sum over a >= 1 of u_a D_a sum over b >= a of v_b E_ab^m
    //     = sum over f of d_f w^f sum over a from f+1 to K-1 of r(a),
    // where D_K is the transform of d_f itself and L the sum over a of u_a E_a(K-1)^m.
    Complex fixed = 0; // the factor of D_K
    for (long long i = 0; i <= m; ++i) {
        const long long up = m - i; // E_ab^m has w^(a i) (-w^(b+1))^up
        const Complex coefficient =
            rhoPower * (binomials_[static_cast<std::size_t>(i)] * (up % 2 ? -1.0 : 1.0));
        const Complex lastTurn = roots_(j * (k_ * up - k_ + 1)); // v_(K-1) w^(K up)
        // Over a <= b, u_a w^(a i) sums to w + (1 - w) (1 + w^(i-1) + ... + w^(b (i-1))).
        const Term lower{1, i - 1, 0};
        // s(b) = v_b w^((b+1) up) times that, for b <= K-2.
        const Complex sScale = times(times(coefficient, roots_(j * up)), oneMinusBack);
        s.add(sScale * w, up - 1, 0);
        if (!sums.add(lower, 0, times(sScale, oneMinusW), up - 1, s))
            return false;
        fixed +=
            times(times(coefficient, lastTurn), w + times(oneMinusW, sums.atEnd(lower, false)));
        // r(a) = u_a w^(a i) (sum over b from a to K-2 of v_b w^((b+1) up) + v_(K-1) w^(K up)),
        // v_b w^((b+1) up) being (1 - w^-1) w^up w^(b (up-1)).
        const Complex rScale = times(coefficient, oneMinusW);
        const Complex upperScale = times(oneMinusBack, roots_(j * up));
        const Term upper{1, up - 1, 0};
        r.add(times(rScale, times(upperScale, sums.atEnd(upper, true)) + lastTurn), i - 1, 0);
        if (!sums.add(upper, -1, -times(rScale, upperScale), i - 1, r))
            return false;
    }
    // The sum of s from f to K-2 is S(K-2) - S(f-1); that of r from f+1 to K-1, R(K-1) - R(f).
    bool closed = true;
    s.forEach([&](const Term& t) {
        fixed += sums.atEnd(t, true);
        closed = closed && sums.add(t, -1, -1, 0, outer);
    });
    r.forEach([&](const Term& t) {
        fixed -= sums.atEnd(t, false);
        closed = closed && sums.add(t, 0, 1, 0, outer);
    });
    if (!closed)
        return false;
    outer.add(fixed, 0, 0);
    Complex total = 0;
    outer.forEach(
        [&](const Term& t) { total += times(t.c, deviations(t.degree, j * (1 + t.gamma))); });
    y = total * static_cast<double>(n_);
    return true;
}

Complex NearlyEqualBothDrops::operator()(std::size_t j) {
    Complex y1;
    if (j < closedFrom_ || !firstOrder(j, y1))
        return exact_(j);
    return (j <= equal_.last() ? equal_(j) : Complex(0)) + y1;
}

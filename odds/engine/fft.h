#pragma once

#include <complex>
#include <cstddef>
#include <vector>

// A plain radix-2 fast Fourier transform, enough for the odds: the spectrum of a probability
// vector and back. Sizes are powers of two. The forward transform is X[j] = sum x[t] w^(jt)
// with w = exp(-2 pi i / size); the inverse carries the 1 / size.

using Complex = std::complex<double>;

// std::complex's operator* guards against infinities at a large cost; the odds never meet any.
inline Complex times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

inline Complex quotient(Complex a, Complex b) {
    const double d = std::norm(b);
    return {(a.real() * b.real() + a.imag() * b.imag()) / d,
            (a.imag() * b.real() - a.real() * b.imag()) / d};
}

// z^n by repeated squaring.
Complex power(Complex z, unsigned n);

std::size_t powerOfTwoAtLeast(std::size_t n);

// The powers of w = exp(-2 pi i / size), each as exact as one sine: a table of sines over a
// quarter turn serves every angle by symmetry.
class UnitRoots {
public:
    explicit UnitRoots(std::size_t size);

    std::size_t size() const { return size_; }
    // w^q.
    Complex operator()(long long q) const;
    // 1 - w^q, without the loss that 1 - cos would bring at small angles.
    Complex oneMinus(long long q) const;
    // |1 - w^q| / 2 = |sin(pi q / size)|.
    double halfChord(long long q) const;
    // q mod size, within (-size/2, size/2].
    long long reduced(long long q) const;

private:
    double sine(long long t) const; // sin(pi t / size)

    std::size_t size_;
    std::vector<double> quarter_; // sin(pi i / size) for i = 0 .. size/2
};

// The spectrum of a complex vector of roots.size() values, in place.
void complexSpectrum(std::vector<Complex>& values, const UnitRoots& roots);

// The first size / 2 + 1 values of the spectrum of a real vector, zero-padded to roots.size().
std::vector<Complex> realSpectrum(const std::vector<double>& values, const UnitRoots& roots);

// The real vector of length roots.size() whose spectrum starts with half (size / 2 + 1 values;
// the rest follows by symmetry).
std::vector<double> realFromSpectrum(const std::vector<Complex>& half, const UnitRoots& roots);

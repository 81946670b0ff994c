#include "fft.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// One stage of butterflies of length len over data[first, last): pairs len / 2 apart, turned by
// every (n / len)-th twiddle.
void stage(Complex* data, std::size_t first, std::size_t last, std::size_t len,
           const std::vector<Complex>& twiddles) {
    const std::size_t half = len / 2, step = 2 * twiddles.size() / len;
    for (std::size_t start = first; start < last; start += len) {
        Complex* a = data + start;
        Complex* b = a + half;
        for (std::size_t k = 0; k < half; ++k) {
            const Complex t = times(b[k], twiddles[k * step]);
            b[k] = a[k] - t;
            a[k] += t;
        }
    }
}

// In-place transform of data, whose length divides roots.size(); inverse without the 1 / size.
void transform(std::vector<Complex>& data, const UnitRoots& roots, bool inverse) {
    const std::size_t n = data.size();
    if (n < 2)
        return;
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    // Twiddles of the largest stage; a stage of length len takes every (n / len)-th of them.
    const auto scale = static_cast<long long>(roots.size() / n);
    std::vector<Complex> twiddles(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        const Complex r = roots(static_cast<long long>(k) * scale);
        twiddles[k] = inverse ? std::conj(r) : r;
    }
    // The short stages block by block, each block staying in the cache through all of them;
    // then the long stages over the whole.
    constexpr std::size_t block = 4096;
    const std::size_t inCache = std::min(n, block);
    for (std::size_t first = 0; first < n; first += inCache) {
        for (std::size_t len = 2; len <= inCache; len <<= 1)
            stage(data.data(), first, first + inCache, len, twiddles);
    }
    for (std::size_t len = 2 * inCache; len <= n; len <<= 1)
        stage(data.data(), 0, n, len, twiddles);
}

} // namespace

UnitRoots::UnitRoots(std::size_t size) : size_(size), quarter_(size / 2 + 1) {
    for (std::size_t i = 0; i < quarter_.size(); ++i)
        quarter_[i] =
            std::sin(std::numbers::pi * static_cast<double>(i) / static_cast<double>(size));
}

// Sizes are powers of two, so a remainder is a mask (of the two's complement for negative q).
double UnitRoots::sine(long long t) const {
    const auto n = static_cast<long long>(size_);
    t = static_cast<long long>(static_cast<unsigned long long>(t) & (2 * size_ - 1));
    double sign = 1;
    if (t >= n) {
        t -= n;
        sign = -1;
    }
    if (2 * t > n)
        t = n - t;
    return sign * quarter_[static_cast<std::size_t>(t)];
}

long long UnitRoots::reduced(long long q) const {
    const auto n = static_cast<long long>(size_);
    q = static_cast<long long>(static_cast<unsigned long long>(q) & (size_ - 1));
    return 2 * q > n ? q - n : q;
}

Complex UnitRoots::operator()(long long q) const {
    const long long r = reduced(q);
    const auto n = static_cast<long long>(size_);
    // cos(2 pi r / n) = sin(pi (2r + n/2) / n); for n = 1 every root is 1.
    if (n == 1)
        return 1;
    return {sine(2 * r + n / 2), -sine(2 * r)};
}

Complex UnitRoots::oneMinus(long long q) const {
    const long long r = reduced(q);
    const double s = sine(r);
    return {2 * s * s, sine(2 * r)};
}

double UnitRoots::halfChord(long long q) const {
    return std::fabs(sine(reduced(q)));
}

Complex power(Complex z, unsigned n) {
    Complex result(1, 0);
    while (n) {
        if (n & 1)
            result = times(result, z);
        n >>= 1;
        if (n)
            z = times(z, z);
    }
    return result;
}

std::size_t powerOfTwoAtLeast(std::size_t n) {
    std::size_t size = 1;
    while (size < n)
        size <<= 1;
    return size;
}

void complexSpectrum(std::vector<Complex>& values, const UnitRoots& roots) {
    transform(values, roots, false);
}

std::vector<Complex> realSpectrum(const std::vector<double>& values, const UnitRoots& roots) {
    const std::size_t size = roots.size();
    std::vector<Complex> half(size / 2 + 1);
    if (size == 1) {
        half[0] = values.empty() ? 0 : values[0];
        return half;
    }
    // Even and odd samples as one complex vector of half the length (see realFromSpectrum):
    // with Z its spectrum, E[k] = (Z[k] + conj(Z[h-k])) / 2, O[k] = (Z[k] - conj(Z[h-k])) / 2i,
    // and X[k] = E[k] + w^k O[k].
    const std::size_t h = size / 2;
    std::vector<Complex> z(h);
    auto value = [&](std::size_t t) { return t < values.size() ? values[t] : 0.0; };
    for (std::size_t t = 0; t < h; ++t)
        z[t] = Complex(value(2 * t), value(2 * t + 1));
    transform(z, roots, false);
    for (std::size_t k = 0; k <= h; ++k) {
        const Complex a = z[k % h], b = std::conj(z[(h - k) % h]);
        const Complex even = (a + b) * 0.5;
        const Complex d = (a - b) * 0.5;
        const Complex odd(d.imag(), -d.real()); // d / i
        half[k] = even + times(roots(static_cast<long long>(k)), odd);
    }
    return half;
}

std::vector<double> realFromSpectrum(const std::vector<Complex>& half, const UnitRoots& roots) {
    const std::size_t size = roots.size();
    std::vector<double> out(size);
    if (size == 1) {
        out[0] = half[0].real();
        return out;
    }
    // Even and odd samples as one complex vector of half the length: its spectrum Z[k] is
    // E[k] + i O[k], where E and O, the spectra of the even and odd samples, follow from
    // X[k] and X[k + size / 2] = conj(X[size / 2 - k]).
    const std::size_t h = size / 2;
    std::vector<Complex> z(h);
    for (std::size_t k = 0; k < h; ++k) {
        const Complex x = half[k], y = std::conj(half[h - k]);
        const Complex even = (x + y) * 0.5;
        const Complex odd = times(x - y, std::conj(roots(static_cast<long long>(k)))) * 0.5;
        z[k] = even + Complex(-odd.imag(), odd.real());
    }
    transform(z, roots, true);
    const double scale = 1.0 / static_cast<double>(h);
    for (std::size_t t = 0; t < h; ++t) {
        out[2 * t] = z[t].real() * scale;
        out[2 * t + 1] = z[t].imag() * scale;
    }
    return out;
}

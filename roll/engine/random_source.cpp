#include "random_source.h"

#include <QRandomGenerator>

#include <bit>
#include <chrono>
#include <ctime>

namespace {

std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// Bits from the operating system's own generator, on every platform; they keep two programs
// started in the same millisecond apart.
std::uint64_t operatingSystemBits() {
    return QRandomGenerator::system()->generate64();
}

} // namespace

Generator::Generator() : Generator(operatingSystemBits()) {}

Generator::Generator(std::uint64_t entropy) : entropy_(entropy) {
    seed(0.0f);
}

void Generator::seed(float seconds) {
    std::uint64_t x = entropy_ ^ std::bit_cast<std::uint32_t>(seconds);
    state_ = splitmix64(x);
    increment_ = splitmix64(x) | 1u; // PCG's stream increment must be odd
    nextBits();
}

std::uint32_t Generator::nextBits() {
    const std::uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + increment_;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<std::uint32_t>(old >> 59u);
    return std::rotr(xorshifted, static_cast<int>(rot));
}

float Generator::next() {
    // 24 bits fill a float's mantissa exactly, so every r is k / 2^24 and never reaches 1.
    return static_cast<float>(nextBits() >> 8) * 0x1p-24f;
}

Generator& processGenerator() {
    static Generator generator;
    return generator;
}

float secondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto fraction = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
           static_cast<float>(fraction) / 1000.0f;
}

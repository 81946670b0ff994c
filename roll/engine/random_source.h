#pragma once

#include <cstdint>

// The program's dice draw from a RandomSource: single-precision fractions r with 0 <= r < 1.
// The real one is a PCG32 generator seeded from the clock and the operating system; tests hand the
// engine a scripted source so that they can name exact faces.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// Every seed mixes a clock reading with 64 bits that the generator draws from the operating
// system once, when it is made: two programs seeded in the same instant (Rollbox and the mini
// roller, or two players' computers with synchronised clocks) still roll different dice, and
// the clock alone does not tell anyone the seed.
class Generator final : public RandomSource {
public:
    Generator();
    // With fixed bits in place of the operating system's, so that a seed gives one sequence
    // every time (tests).
    explicit Generator(std::uint64_t entropy);
    // Restart the sequence from a clock reading; the seed's bits are spread over the whole
    // state, so seeds a fraction of a second apart give unrelated sequences.
    void seed(float seconds);
    float next() override;

private:
    std::uint32_t nextBits();
    std::uint64_t entropy_;
    std::uint64_t state_ = 0;
    std::uint64_t increment_ = 1;
};

// The one generator of the process, re-seeded at start-up and by the five-second timer.
Generator& processGenerator();

// Seconds since local midnight, with fractions, as the seeding uses it.
float secondsSinceMidnight();

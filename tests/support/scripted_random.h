#pragma once

#include "random_source.h"

#include <cstddef>
#include <vector>

// A RandomSource that yields the given draws in order and counts what was taken. Past the end
// it yields 0 and remembers that the script ran short.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws = {}) : draws_(std::move(draws)) {}

    void setDraws(std::vector<float> draws) {
        draws_ = std::move(draws);
        taken_ = 0;
        ranShort_ = false;
    }

    float next() override {
        if (taken_ >= draws_.size()) {
            ranShort_ = true;
            ++taken_;
            return 0.0f;
        }
        return draws_[taken_++];
    }

    std::size_t taken() const { return taken_; }
    bool ranShort() const { return ranShort_; }

private:
    std::vector<float> draws_;
    std::size_t taken_ = 0;
    bool ranShort_ = false;
};

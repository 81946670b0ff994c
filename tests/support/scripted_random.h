#pragma once

#include "random_source.h"

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <vector>

// A RandomSource that yields a script instead of chance, and counts what was taken.
// faces() queues the r that makes a die of the given sides show each face: r = (face - 0.5) /
// sides lies in the middle of the face's interval, so floor(sides * r) + 1 == face. raw() and
// setDraws() queue r values as they are.
// Running past the end of the script throws, so that a test notices a die it did not expect
// (and a reroll loop cannot spin for ever). Where a throw would cross an event handler,
// yieldZeroWhenExhausted() makes it yield 0 instead and remember that it ran short.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<float> draws) : script_(draws) {}
    explicit ScriptedRandom(std::vector<float> draws) : script_(std::move(draws)) {}

    ScriptedRandom& faces(double sides, std::initializer_list<int> faces) {
        for (int face : faces)
            script_.push_back(static_cast<float>((face - 0.5) / sides));
        return *this;
    }

    ScriptedRandom& raw(std::initializer_list<float> values) {
        script_.insert(script_.end(), values);
        return *this;
    }

    template <typename Range> ScriptedRandom& rawRange(const Range& values) {
        script_.insert(script_.end(), std::begin(values), std::end(values));
        return *this;
    }

    // Replaces the script and starts counting afresh.
    void setDraws(std::vector<float> draws) {
        script_ = std::move(draws);
        taken_ = 0;
        ranShort_ = false;
    }

    ScriptedRandom& yieldZeroWhenExhausted() {
        throwWhenExhausted_ = false;
        return *this;
    }

    float next() override {
        if (taken_ >= script_.size()) {
            ranShort_ = true;
            if (throwWhenExhausted_)
                throw std::out_of_range("ScriptedRandom: script exhausted");
            ++taken_;
            return 0.0f;
        }
        return script_[taken_++];
    }

    std::size_t taken() const { return taken_; }
    std::size_t remaining() const { return taken_ < script_.size() ? script_.size() - taken_ : 0; }
    bool ranShort() const { return ranShort_; }

private:
    std::vector<float> script_;
    std::size_t taken_ = 0;
    bool ranShort_ = false;
    bool throwWhenExhausted_ = true;
};

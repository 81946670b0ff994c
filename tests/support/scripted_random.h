#pragma once

#include "random_source.h"

#include <deque>
#include <initializer_list>
#include <iterator>
#include <stdexcept>

// A RandomSource that yields a script instead of chance. faces() queues the r that makes a
// die of the given sides show each face: r = (face - 0.5) / sides lies in the middle of the
// face's interval, so floor(sides * r) + 1 == face. raw() queues r values as they are.
// Running past the end of the script throws, so a test notices a die it did not expect.
class ScriptedRandom final : public RandomSource {
public:
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

    float next() override {
        if (script_.empty())
            throw std::out_of_range("ScriptedRandom: script exhausted");
        const float r = script_.front();
        script_.pop_front();
        return r;
    }

    std::size_t remaining() const { return script_.size(); }

private:
    std::deque<float> script_;
};

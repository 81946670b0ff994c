#pragma once

#include "roll_request.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

// Serves the benchmark's engine_ms: the texts that every repetition repeats, made once per
// roll, so that a die line is two copies: its start "d6(k)> " and, while the dice have few
// faces, the text of its value with the line's CR LF. Each text sits in a fixed-size slot and
// is copied whole; only its length counts, so the copies need no length of their own.
class DieLineTexts {
public:
    static constexpr std::size_t slot = 32; // longer than any die-line start or value text

    explicit DieLineTexts(const RollRequest& request);

    // Bytes that the die lines of count dice take at most, room for the last copy included.
    std::size_t room(std::size_t count) const {
        return count * (longestStart_ + longestValue_) + slot;
    }

    // Writes the line of die k (from 1), which shows face and has value, at out and returns
    // where it ends.
    char* write(char* out, std::size_t k, double face, double value) const {
        std::memcpy(out, &starts_[(k - 1) * slot], slot);
        out += startLengths_[k - 1];
        const double index = face - lowestFace_;
        if (index >= 0 && index < static_cast<double>(valueLengths_.size())) {
            const auto i = static_cast<std::size_t>(index);
            std::memcpy(out, &values_[i * slot], slot);
            return out + valueLengths_[i];
        }
        return appendValue(out, value);
    }

private:
    static void store(const std::string& text, std::string& slots,
                      std::vector<unsigned char>& lengths, std::size_t i);
    char* appendValue(char* out, double value) const;

    double lowestFace_ = 1;
    std::string starts_;
    std::vector<unsigned char> startLengths_;
    std::size_t longestStart_ = 0;
    std::string values_;
    std::vector<unsigned char> valueLengths_;
    std::size_t longestValue_ = 0;
    mutable std::string scratch_;
};

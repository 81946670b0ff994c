#include "roll_dice.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// With no sides every face is 1, so rerolling ones could never end; such dice stand.
bool canReroll(double sides) {
    return sides != 0;
}

DieRoll rollWithOptions(const RollRequest& request, const RollOptions& options,
                        RandomSource& random) {
    DieRoll die = rollOneDie(request.sides, request.modifier, random);
    if (options.rerollOnes && canReroll(request.sides)) {
        while (die.face == 1)
            die = rollOneDie(request.sides, request.modifier, random);
    }
    return die;
}

// The texts that every repetition repeats, made once per roll, so that a die line is two
// copies: its start "d6(k)> " and, while the dice have few faces, the text of its value with
// the line's CR LF. Each text sits in a fixed-size slot and is copied whole; only its length
// counts, so the copies need no length of their own.
class DieLineTexts {
public:
    static constexpr std::size_t slot = 32; // longer than any die-line start or value text

    explicit DieLineTexts(const RollRequest& request) : modifier_(request.modifier) {
        std::string text;
        const auto count = static_cast<std::size_t>(std::max(request.count, 0.0));
        starts_.assign(count * slot, '\0');
        startLengths_.resize(count);
        for (std::size_t k = 1; k <= count; ++k) {
            text.clear();
            text.push_back('d');
            appendTrimmedNumberText(text, request.sides);
            text.push_back('(');
            appendTrimmedNumberText(text, static_cast<double>(k));
            text.append(")> ");
            store(text, starts_, startLengths_, k - 1);
            longestStart_ = std::max(longestStart_, text.size());
        }
        // Faces run from 1 to sides, or from sides + 1 to 1 when sides is below 1.
        lowestFace_ = std::min(1.0, request.sides + 1);
        const double faces = std::max(1.0, request.sides) - lowestFace_ + 1;
        if (faces <= 4096) {
            const auto n = static_cast<std::size_t>(faces);
            values_.assign(n * slot, '\0');
            valueLengths_.resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                text.clear();
                appendNumberText(text, (lowestFace_ + static_cast<double>(i)) + modifier_);
                text.append("\r\n");
                store(text, values_, valueLengths_, i);
                longestValue_ = std::max(longestValue_, text.size());
            }
        } else {
            longestValue_ = slot; // see appendValue
        }
    }

    // Bytes that the die lines of count dice take at most, room for the last copy included.
    std::size_t room(std::size_t count) const {
        return count * (longestStart_ + longestValue_) + slot;
    }

    // Writes the line of die k (from 1) at out and returns where it ends.
    char* write(char* out, std::size_t k, const DieRoll& die) const {
        std::memcpy(out, &starts_[(k - 1) * slot], slot);
        out += startLengths_[k - 1];
        const double index = die.face - lowestFace_;
        if (index >= 0 && index < static_cast<double>(valueLengths_.size())) {
            const auto i = static_cast<std::size_t>(index);
            std::memcpy(out, &values_[i * slot], slot);
            return out + valueLengths_[i];
        }
        return appendValue(out, die.value);
    }

private:
    static void store(const std::string& text, std::string& slots,
                      std::vector<unsigned char>& lengths, std::size_t i) {
        const std::size_t n = std::min(text.size(), slot);
        text.copy(&slots[i * slot], n);
        lengths[i] = static_cast<unsigned char>(n);
    }

    // Values of dice with many faces are written one by one; a number's text with the CR LF
    // stays within a slot.
    char* appendValue(char* out, double value) const {
        scratch_.clear();
        appendNumberText(scratch_, value);
        scratch_.append("\r\n");
        const std::size_t n = std::min(scratch_.size(), slot);
        scratch_.copy(out, n);
        return out + n;
    }

    double modifier_;
    double lowestFace_ = 1;
    std::string starts_;
    std::vector<unsigned char> startLengths_;
    std::size_t longestStart_ = 0;
    std::string values_;
    std::vector<unsigned char> valueLengths_;
    std::size_t longestValue_ = 0;
    mutable std::string scratch_;
};

void writeHeading(const RollRequest& request, RollRecord& record) {
    std::string& line = record.line();
    line.append("Rolled: ").append(request.displayFormula);
    if (request.times != 1) {
        line.push_back(' ');
        appendTrimmedNumberText(line, request.times);
        line.append(" times.");
    }
    record.endLine();
    record.addLine(doubleRule);
}

void writeTotal(double total, RollRecord& record) {
    appendNumberText(record.line().append("Total: "), total);
    record.endLine();
}

void writeDropped(double value, RollRecord& record) {
    appendTrimmedNumberText(record.line().append("Dropped the Result of: "), value);
    record.endLine();
}

void writeOneDie(const RollRequest& request, const RollOptions& options, RandomSource& random,
                 RollRecord& record) {
    const DieRoll die = rollWithOptions(request, options, random);
    std::string& line = record.line();
    line.push_back('d');
    appendTrimmedNumberText(line, request.sides);
    line.append("> ");
    appendNumberText(line, die.value + request.addValue);
    record.endLine();
    if (options.rerollOnes)
        record.addLine(rerollNote);
}

void writeSeveralDice(const RollRequest& request, const RollOptions& options, RandomSource& random,
                      const DieLineTexts* texts, std::string& dieLines, RollRecord& record) {
    // The die lines come after the total, which needs every die, so they are written aside
    // while the dice are rolled and join the record in one piece.
    const auto count = static_cast<std::size_t>(std::max(request.count, 0.0));
    char* out = nullptr;
    if (texts) {
        dieLines.resize(texts->room(count));
        out = dieLines.data();
    }
    double sum = 0;
    // Lowest and highest value; among equal values it does not matter which die counts.
    double lowest = HUGE_VAL, highest = -HUGE_VAL;
    for (std::size_t k = 1; k <= count; ++k) {
        const DieRoll die = rollWithOptions(request, options, random);
        sum += die.value;
        lowest = std::min(lowest, die.value);
        highest = std::max(highest, die.value);
        if (texts)
            out = texts->write(out, k, die);
    }
    sum += request.addValue;

    if (count == 0) {
        // No dice, so nothing to drop: the total is the add amount alone.
        writeTotal(sum, record);
    } else if (options.dropLowest && options.dropHighest) {
        if (count == 2) {
            record.addLine(bothDropsRefusal);
            return;
        }
        writeTotal(sum - highest - lowest, record);
        writeDropped(highest, record);
        writeDropped(lowest, record);
    } else if (options.dropLowest) {
        writeTotal(sum - lowest, record);
        writeDropped(lowest, record);
    } else if (options.dropHighest) {
        writeTotal(sum - highest, record);
        writeDropped(highest, record);
    } else {
        writeTotal(sum, record);
    }
    if (texts)
        record.addLines(
            std::string_view(dieLines.data(), static_cast<std::size_t>(out - dieLines.data())));
}

void writeClosingNotes(const RollOptions& options, RollRecord& record) {
    if (options.dropHighest)
        record.addLine(highestDropNote);
    if (options.dropLowest)
        record.addLine(lowestDropNote);
    if (options.rerollOnes)
        record.addLine(rerollNote);
    if (options.dropHighest || options.dropLowest || options.rerollOnes)
        record.addLine(doubleRule);
}

} // namespace

DieRoll rollOneDie(double sides, double modifier, RandomSource& random) {
    const double r = random.next();
    const double face = std::floor(sides * r) + 1;
    return {face, face + modifier};
}

void rollDice(const RollRequest& request, const RollOptions& options, RandomSource& random,
              RollRecord& record) {
    record.clear();
    writeHeading(request, record);
    std::optional<DieLineTexts> texts;
    if (request.count != 1 && !options.hideDice)
        texts.emplace(request);
    std::string dieLines;
    for (double repetition = 1; repetition <= request.times; ++repetition) {
        if (request.count == 1)
            writeOneDie(request, options, random, record);
        else
            writeSeveralDice(request, options, random, texts ? &*texts : nullptr, dieLines, record);
        record.addLine(singleRule);
    }
    if (request.count > 1)
        writeClosingNotes(options, record);
}

#include "roll_dice.h"

#include "die_line_texts.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <optional>

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
    record.keepTotal(total);
}

void writeDropped(double value, RollRecord& record) {
    appendTrimmedNumberText(record.line().append("Dropped the Result of: "), value);
    record.endLine();
}

void writeOneDie(const RollRequest& request, const RollOptions& options, RandomSource& random,
                 RollRecord& record) {
    const DieRoll die = rollWithOptions(request, options, random);
    const double total = die.value + request.addValue;
    std::string& line = record.line();
    line.push_back('d');
    appendTrimmedNumberText(line, request.sides);
    line.append("> ");
    appendNumberText(line, total);
    record.endLine();
    record.keepTotal(total);
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
            out = texts->write(out, k, die.face, die.value);
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

#include "roll_dice.h"

#include "number_text.h"

#include <cmath>
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

struct Extremes {
    double lowest;
    double highest;
};

// First die wins ties: a candidate is replaced only by a strictly lower or higher value.
Extremes findExtremes(const std::vector<double>& values) {
    Extremes e{values.front(), values.front()};
    for (double v : values) {
        if (v < e.lowest)
            e.lowest = v;
        if (v > e.highest)
            e.highest = v;
    }
    return e;
}

void writeDieLines(const RollRequest& request, const std::vector<double>& values,
                   RollRecord& record) {
    for (std::size_t k = 1; k <= values.size(); ++k) {
        std::string& line = record.line();
        line.push_back('d');
        appendTrimmedNumberText(line, request.sides);
        line.push_back('(');
        appendTrimmedNumberText(line, static_cast<double>(k));
        line.append(")> ");
        appendNumberText(line, values[k - 1]);
        record.endLine();
    }
}

void writeSeveralDice(const RollRequest& request, const RollOptions& options, RandomSource& random,
                      std::vector<double>& values, RollRecord& record) {
    values.clear();
    double sum = 0;
    for (double k = 1; k <= request.count; ++k) {
        const DieRoll die = rollWithOptions(request, options, random);
        values.push_back(die.value);
        sum += die.value;
    }
    sum += request.addValue;

    if (values.empty()) {
        // No dice, so nothing to drop: the total is the add amount alone.
        writeTotal(sum, record);
    } else if (options.dropLowest && options.dropHighest) {
        if (values.size() == 2) {
            record.addLine(bothDropsRefusal);
            return;
        }
        const Extremes e = findExtremes(values);
        writeTotal(sum - e.highest - e.lowest, record);
        writeDropped(e.highest, record);
        writeDropped(e.lowest, record);
    } else if (options.dropLowest) {
        const double lowest = findExtremes(values).lowest;
        writeTotal(sum - lowest, record);
        writeDropped(lowest, record);
    } else if (options.dropHighest) {
        const double highest = findExtremes(values).highest;
        writeTotal(sum - highest, record);
        writeDropped(highest, record);
    } else {
        writeTotal(sum, record);
    }
    if (!options.hideDice)
        writeDieLines(request, values, record);
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
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(request.count));
    for (double repetition = 1; repetition <= request.times; ++repetition) {
        if (request.count == 1)
            writeOneDie(request, options, random, record);
        else
            writeSeveralDice(request, options, random, values, record);
        record.addLine(singleRule);
    }
    if (request.count > 1)
        writeClosingNotes(options, record);
}

#include "log_totals.h"

#include "line_scan.h"
#include "line_total.h"
#include "regular_file.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view headingStart = "Rolled: ";
constexpr std::string_view droppedValue = "Dropped the Result of: ";

// Follows the log line by line and keeps the totals of the records of one request. A record is
// its heading, a double rule, one block per repetition closed by a single rule, and, with more
// than one die, the notes of the options that were ticked and a double rule. Only a record
// seen whole counts; its options are read from its notes and checked against its lines.
class RecordReader {
public:
    RecordReader(const RollRequest& request, const RollOptions& options, LoggedRolls& rolls)
        : request_(request), count_(request.count), options_(options), rolls_(rolls) {}

    // Die lines of several dice carry nothing the reader needs: runs of them may be skipped.
    bool skipsDieLines() const { return !(stage_ == Stage::Repetitions && count_ == 1); }

    void line(std::string_view line) {
        if (line.starts_with(headingStart)) {
            endRecord();
            startRecord(line.substr(headingStart.size()));
            return;
        }
        switch (stage_) {
        case Stage::Seeking:
            break;
        case Stage::OpeningRule:
            if (line == doubleRule)
                stage_ = Stage::Repetitions;
            else
                breakRecord();
            break;
        case Stage::Repetitions:
            repetitionLine(line);
            break;
        case Stage::AfterRepetitions:
        case Stage::Notes:
            noteLine(line);
            break;
        }
    }

    // The end of the log ends the record being read.
    void finish() { endRecord(); }

private:
    enum class Stage { Seeking, OpeningRule, Repetitions, AfterRepetitions, Notes };

    void startRecord(std::string_view heading) {
        stage_ = Stage::Seeking;
        double times = 1;
        if (heading.ends_with(" times.")) {
            // " 6 times." after the formula for several repetitions.
            std::string_view rest = heading.substr(0, heading.size() - 7);
            const std::size_t blank = rest.rfind(' ');
            if (blank == std::string_view::npos)
                return;
            const std::string_view digits = rest.substr(blank + 1);
            if (digits.empty() || digits.size() > 4 ||
                !std::all_of(digits.begin(), digits.end(),
                             [](char c) { return c >= '0' && c <= '9'; }))
                return;
            times = std::stod(std::string(digits));
            heading = rest.substr(0, blank);
        }
        if (!sameRoll(heading))
            return;
        stage_ = Stage::OpeningRule;
        times_ = times;
        repetitions_ = 0;
        totals_.clear();
        rerollNotes_ = 0;
        dropped_ = -1;
        droppedMismatch_ = false;
        refusals_ = false;
        highNote_ = lowNote_ = rerollNote_ = false;
        startRepetition();
    }

    // The heading's formula, "3d6" or "(3d6)+2" as the roll showed it, read back as the roll
    // read it: records match by the dice, modifier and add amount, however they were typed
    // ("3D6", "003d006" and "3d6+0" roll what "3d6" rolls).
    bool sameRoll(std::string_view display) const {
        RollInputs inputs;
        double add = 0;
        if (display.starts_with('(')) {
            // The amount as the roll wrote it: "+5", "-3", " 0" or "+1E+20".
            const std::size_t close = display.find(')');
            if (close == std::string_view::npos)
                return false;
            inputs.formula = std::string(display.substr(1, close - 1));
            const std::string amount(display.substr(close + 1));
            char* end = nullptr;
            add = std::strtod(amount.c_str(), &end);
            if (amount.empty() || end != amount.c_str() + amount.size())
                return false;
        } else {
            inputs.formula = std::string(display);
        }
        const RollRequestResult read = readRollRequest(inputs);
        return read.ending == RollEnding::Formed && read.request.count == request_.count &&
               read.request.sides == request_.sides && read.request.modifier == request_.modifier &&
               add == request_.addValue;
    }

    void startRepetition() {
        repetitionTotals_ = 0;
        repetitionDropped_ = 0;
        refused_ = false;
    }

    void repetitionLine(std::string_view line) {
        if (line == singleRule) {
            // Each repetition states one total, or with two dice and both drops the refusal.
            if (repetitionTotals_ + (refused_ ? 1 : 0) != 1)
                return breakRecord();
            if (refused_) {
                refusals_ = true;
            } else {
                if (dropped_ >= 0 && repetitionDropped_ != dropped_)
                    droppedMismatch_ = true;
                dropped_ = repetitionDropped_;
            }
            if (++repetitions_ == times_)
                stage_ = Stage::AfterRepetitions;
            startRepetition();
        } else if (const auto total = lineTotal(line)) {
            ++repetitionTotals_;
            totals_.push_back(*total);
        } else if (line.starts_with(droppedValue)) {
            ++repetitionDropped_;
        } else if (line == rerollNote && count_ == 1) {
            ++rerollNotes_;
        } else if (line == bothDropsRefusal) {
            refused_ = true;
        } else if (!line.starts_with('d')) { // die lines are passed over
            breakRecord();
        }
    }

    void noteLine(std::string_view line) {
        // The notes come in this order, each at most once, and a double rule ends them.
        if (line == highestDropNote && !highNote_ && !lowNote_ && !rerollNote_) {
            highNote_ = true;
        } else if (line == lowestDropNote && !lowNote_ && !rerollNote_) {
            lowNote_ = true;
        } else if (line == rerollNote && !rerollNote_) {
            rerollNote_ = true;
        } else if (line == doubleRule && stage_ == Stage::Notes) {
            completeRecord();
            return;
        } else if (stage_ == Stage::AfterRepetitions) {
            completeRecord(); // a record without notes, followed by something else
            return;
        } else {
            return breakRecord();
        }
        stage_ = Stage::Notes;
    }

    void endRecord() {
        if (stage_ == Stage::AfterRepetitions)
            completeRecord();
        else if (stage_ != Stage::Seeking)
            breakRecord();
    }

    void breakRecord() {
        ++rolls_.skippedCutShort;
        stage_ = Stage::Seeking;
    }

    void completeRecord() {
        stage_ = Stage::Seeking;
        bool reroll = false, low = false, high = false;
        if (count_ > 1) {
            reroll = rerollNote_;
            low = lowNote_;
            high = highNote_;
            // The dropped values must agree with the notes, or the notes were lost; only two dice
            // with both drops are refused.
            const int drops = (low ? 1 : 0) + (high ? 1 : 0);
            if (droppedMismatch_ || (dropped_ >= 0 && dropped_ != drops) ||
                (refusals_ && !(count_ == 2 && drops == 2)))
                return breakRecord();
        } else if (count_ == 1) {
            if (rerollNotes_ != 0 && rerollNotes_ != repetitions_)
                return breakRecord();
            reroll = rerollNotes_ > 0;
        }
        const bool matches = count_ > 1
                                 ? reroll == options_.rerollOnes && low == options_.dropLowest &&
                                       high == options_.dropHighest
                             : count_ == 1 ? reroll == options_.rerollOnes
                                           : true; // no dice leave no trace of options
        if (!matches)
            return;
        ++rolls_.records;
        rolls_.totals.insert(rolls_.totals.end(), totals_.begin(), totals_.end());
    }

    RollRequest request_;
    double count_;
    RollOptions options_;
    LoggedRolls& rolls_;

    Stage stage_ = Stage::Seeking;
    double times_ = 1;
    double repetitions_ = 0;
    std::vector<double> totals_;
    double rerollNotes_ = 0;
    int dropped_ = -1; // dropped values in each repetition with a total; -1 before the first
    bool droppedMismatch_ = false;
    bool refusals_ = false;
    bool highNote_ = false, lowNote_ = false, rerollNote_ = false;
    int repetitionTotals_ = 0;
    int repetitionDropped_ = 0;
    bool refused_ = false;
};

// Hands the whole lines of text to the reader; returns where the unfinished last line starts.
std::size_t readLines(std::string_view text, RecordReader& reader) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == 'd' && reader.skipsDieLines()) {
            const std::size_t run = leadingLinesStartingWith(text.substr(pos), 'd');
            if (run) {
                pos += run;
                continue;
            }
        }
        const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
        if (!lf)
            break;
        const auto end = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
        std::string_view line = text.substr(pos, end - pos);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        reader.line(line);
        pos = end + 1;
    }
    return pos;
}

} // namespace

LogReadResult readLoggedRolls(const QString& path, const RollRequest& request,
                              const RollOptions& options,
                              const std::function<void(double)>& progress, std::stop_token stop) {
    LogReadResult result;
    QFile file(path);
    // Only a regular file: a pipe would hold the reading for ever, a device feed it without end.
    if (const auto reason = openRegularFile(file, QIODevice::ReadOnly)) {
        result.failure =
            QStringLiteral("The roll log %1 could not be read: %2.").arg(path, *reason);
        return result;
    }
    const double size = static_cast<double>(std::max<qint64>(file.size(), 1));
    // A small log takes a small buffer; a growing one is read on in blocks of that size.
    const std::size_t block = std::clamp<std::size_t>(static_cast<std::size_t>(size) + 1,
                                                      std::size_t{64} << 10, logReadBlock);
    RecordReader reader(request, options, result.rolls);
    std::string buffer;
    std::size_t kept = 0;     // bytes of an unfinished line carried over from the last block
    bool passingOver = false; // inside a line longer than longestLogLine
    double done = 0;
    for (;;) {
        if (stop.stop_requested()) {
            result.failure = QStringLiteral("Reading the roll log %1 was stopped.").arg(path);
            return result;
        }
        buffer.resize(kept + block);
        const qint64 got = file.read(buffer.data() + kept, static_cast<qint64>(block));
        if (got < 0) {
            result.failure = QStringLiteral("The roll log %1 could not be read: %2.")
                                 .arg(path, file.errorString());
            return result;
        }
        buffer.resize(kept + static_cast<std::size_t>(got));
        result.mostBytesHeld = std::max(result.mostBytesHeld, buffer.size());
        if (passingOver) {
            const std::size_t lineEnd = buffer.find('\n');
            buffer.erase(0, lineEnd == std::string::npos ? buffer.size() : lineEnd + 1);
            passingOver = lineEnd == std::string::npos;
        }
        if (got == 0) {
            if (!buffer.empty()) // a last line without a line break
                reader.line(std::string_view(buffer).substr(
                    0, buffer.ends_with('\r') ? buffer.size() - 1 : buffer.size()));
            break;
        }
        const std::size_t used = readLines(buffer, reader);
        buffer.erase(0, used);
        if (buffer.size() > longestLogLine) {
            // No record's line: what was held goes to the reader, which finds it no record's.
            reader.line(std::string_view(buffer).substr(0, longestLogLine));
            buffer.clear();
            passingOver = true;
        }
        kept = buffer.size();
        done += static_cast<double>(got);
        if (progress)
            progress(std::min(done / size, 1.0));
    }
    reader.finish();
    result.ok = true;
    return result;
}

#pragma once

#include "roll_dice.h"    // RollOptions
#include "roll_request.h" // RollRequest

#include <QString>

#include <cstddef>
#include <functional>
#include <stop_token>
#include <vector>

// The user's own rolls, read back from the roll log: the totals of every logged record of one
// request, for the fairness check.

struct LoggedRolls {
    std::vector<double> totals;      // one per repetition of every matching complete record
    std::size_t records = 0;         // matching complete records
    std::size_t skippedCutShort = 0; // matching headings whose record was cut short (not counted)
};

// The log is read in blocks of logReadBlock bytes. A line longer than longestLogLine, longer
// than any line of a record can be, is no record's: only its first longestLogLine bytes are
// held, and the rest is passed over, so that a log without line breaks is read in bounded
// memory and in one pass.
inline constexpr std::size_t logReadBlock = std::size_t{8} << 20;
inline constexpr std::size_t longestLogLine = std::size_t{64} << 10;

struct LogReadResult {
    bool ok = false;
    QString failure; // names the path and the reason when not ok
    LoggedRolls rolls;
    std::size_t mostBytesHeld = 0; // the most bytes of the log held at once while reading
};

// Reads the log at path in one streaming pass and collects the totals of every complete record of
// the same roll as request and options: the same count, sides, modifier and add amount, however
// the formula was spelt, and the same options (hideDice does not matter; options that leave no
// trace, such as drops on one die, do not matter). progress(fraction 0..1) is called now and then;
// the stop token ends the pass early.
LogReadResult readLoggedRolls(const QString& path, const RollRequest& request,
                              const RollOptions& options,
                              const std::function<void(double)>& progress = {},
                              std::stop_token stop = {});

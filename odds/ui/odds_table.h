#pragma once

#include "roll_odds.h"

#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

// The odds of one question as the windows show them: the engine's answer with the options
// asked about, read as a table of one row per possible total, lowest first.
struct OddsTable {
    RollOdds odds;
    RollOptions options;

    // One row per possible total; none unless the odds are a distribution.
    std::size_t rows() const {
        return odds.ending == OddsEnding::Distribution ? odds.probabilities.size() : 0;
    }
    double total(std::size_t row) const { return odds.lowest + static_cast<double>(row); }
    double exactly(std::size_t row) const { return odds.probabilities[row]; }
    double atLeast(std::size_t row) const { return odds.atLeast(total(row)); }
    double atMost(std::size_t row) const { return odds.atMost(total(row)); }
};

// The odds of what the Roll button would roll with the inputs so read and these options.
OddsTable oddsTable(const RollRequestResult& read, const RollOptions& options,
                    std::stop_token stop);

// A probability as a percentage with the given number of significant digits and a point as
// decimal separator: plain decimals from 0.00001 % up, exponent form below ("1.5e-07").
// With trailing zeros kept every number shows all its digits ("50.000000"). Given the error
// bound of the probability, no digit finer than the bound is shown, and a probability below the
// bound is written as what is known of it: "< 2e-10" (the true chance is below the value plus
// the bound), never 0 or noise.
enum class Zeros { Kept, Dropped };
std::string percentText(double probability, int significantDigits, Zeros zeros,
                        double errorBound = 0);

// The whole table as text to paste elsewhere: a header line, then one line per possible total,
// columns separated by tabs, every line ended by CR LF. Percentages have 8 significant digits
// where so many are known; totals are whole numbers in plain decimal.
// A million rows take a good part of a second: the stop token cuts the text short.
std::string oddsTableText(const OddsTable& table, std::stop_token stop = {});

#pragma once

#include "roll_dice.h"    // RollOptions
#include "roll_request.h" // RollInputs, RollRequest

#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// The odds of a roll: the probability distribution of one repetition's total, under exactly the
// rules of rollDice and the faces its generator can give. The window hands over what the Roll
// button would read; the answer is either the distribution with its summaries or the message the
// roll itself would end with.

// How an odds question ends.
enum class OddsEnding {
    Distribution, // probabilities has the distribution of one repetition's total
    Refused,      // readRollRequest refused: message is its message (as the totals pane shows it)
    Silent,       // empty formula or no dice letter: message says what to type
    AtLimit,      // beyond a limit: message says so
    BothDropsRefused, // two dice with both drop boxes: message is "Can't drop both dice!" and a
                      // word why
    TooLarge, // totals beyond what can be charted exactly (absurd negative sides, totals past
              // 2^53): message says so; mean, standardDeviation, lowest, highest still set
    Stopped,  // the stop token was triggered; nothing else is valid
};

struct RollOdds {
    OddsEnding ending = OddsEnding::Silent;
    std::string message; // for every ending but Distribution
    RollRequest request; // as formed (valid for Distribution, BothDropsRefused, TooLarge)
    double lowest = 0;   // lowest possible total
    double highest = 0;  // highest possible total
    // probabilities[i] is P(total == lowest + i); size highest - lowest + 1.
    std::vector<double> probabilities;
    double mean = 0;
    double standardDeviation = 0;
    bool exact = true; // false: each probability is within 1e-6, not 1e-12
    // How far any chance given (exactly, at least, at most) may lie from the true one.
    double errorBound() const { return exact ? 1e-12 : 1e-6; }
    // cumulative[i] = P(total <= lowest + i), summed from the low end, and
    // upperCumulative[i] = P(total >= lowest + i), summed from the high end, so that a small
    // tail keeps its precision; they make atMost and atLeast immediate.
    std::vector<double> cumulative;
    std::vector<double> upperCumulative;

    // lowest <= total <= highest and whole: the totals a roll can give.
    bool possible(double total) const;
    double exactly(double total) const; // 0 outside the range
    double atLeast(double total) const; // P(T >= total): 1 below lowest, 0 above highest
    double atMost(double total) const;  // P(T <= total)
};

// The distribution of one repetition's total of the roll the Roll button would make with these
// inputs and option boxes, under exactly the rules of rollDice. May take up to ~250 ms for the
// largest requests; call it off the user-interface thread and stop it with the token when a newer
// request replaces it. Exact within 1e-12 of the generator's own face chances (exact says so),
// always for one drop where count x |sides| is at most 20,000, else within 1e-6: equally likely
// faces stand in only for up to 16 dice with drops whose exact odds would take too long (very
// many faces, so negative sides).
RollOdds rollOdds(const RollInputs& inputs, const RollOptions& options, std::stop_token stop = {});
// The same for inputs already read by readRollRequest, so that a roll's odds are asked with the
// request the roll read rather than by reading its inputs again.
RollOdds rollOdds(const RollRequestResult& read, const RollOptions& options,
                  std::stop_token stop = {});

// The request in words, as the windows name it: "(3d6)+2, Drop Lowest, Reroll 1's".
std::string requestWords(const RollRequest& request, const RollOptions& options);

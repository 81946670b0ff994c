#include "roll_odds.h"

#include "die_faces.h"
#include "kept_faces.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace {

// Totals the roll adds exactly: every partial sum stays within 2^53.
constexpr double exactSums = 9007199254740992.0;
// Totals that one chart holds (1000d-1000 has 1,000,001).
constexpr std::size_t chartTotals = std::size_t{1} << 20;
// The exact odds (within 1e-12 of the generator's own weights) are always worked out where the
// dice have at most this many faces together (count x |sides|). Otherwise, where one drop
// would take more than about workBudget complex products on each thread (some 100 ms), equally
// likely faces stand in for up to 16 dice (within 1e-6), and the odds say they are approximate.
constexpr double exactFacesTogether = 20000;
constexpr double workBudget = 5e7;

constexpr std::string_view silentMessage = "Type a formula such as 3d6+2 to see its odds.";
constexpr std::string_view limitMessage =
    "No odds: a roll takes at most 1000 dice of at most 1000 sides, 1000 times, and a die "
    "never has 1 side.";
constexpr std::string_view bothDropsWhy =
    " Dropping the lowest and the highest of two dice leaves none to total.";
// Completed with the number of totals and the rest of tooManyTotalsEnd.
constexpr std::string_view tooManyTotalsStart = "The totals of these dice span ";
constexpr std::string_view tooManyTotalsEnd =
    " values, more than the 1048576 rows a table of odds holds, so their chances are not "
    "charted; the mean and the standard deviation are close estimates.";
constexpr std::string_view tooLargeMessage =
    "These totals are too large for the roller to add exactly, so their chances are not "
    "charted.";

// Sums that keep their precision over a million terms.
class PreciseSum {
public:
    void add(double x) {
        const double y = x - carry_;
        const double t = sum_ + y;
        carry_ = (t - sum_) - y;
        sum_ = t;
    }
    double value() const { return sum_; }

private:
    double sum_ = 0, carry_ = 0;
};

// Mean and spread of the kept sum when the faces are too many to list: the dice as continuous
// uniform values, whose order statistics have known means and covariances.
void estimateSpread(RollOdds& odds, const DieFaces& die, unsigned n, bool low, bool high) {
    const double width = die.highest - die.lowest + 1;
    const double np1 = n + 1.0;
    const unsigned first = low ? 2 : 1, last = high ? n - 1 : n;
    const double kept = last - first + 1.0;
    double means = 0, covariances = 0;
    for (unsigned i = first; i <= last; ++i) {
        means += i / np1;
        for (unsigned j = first; j <= last; ++j) {
            const double a = std::min(i, j), b = std::max(i, j);
            covariances += a * (np1 - b) / (np1 * np1 * (np1 + 1));
        }
    }
    odds.mean =
        kept * (die.lowest - 0.5 + odds.request.modifier) + odds.request.addValue + width * means;
    odds.standardDeviation = width * std::sqrt(covariances);
}

// Mean, standard deviation and both running sums in two passes, one from each end; then the
// tiny negatives that rounding leaves where a chance is nil are set to nil.
void summarise(RollOdds& odds) {
    const std::vector<double>& p = odds.probabilities;
    odds.cumulative.resize(p.size());
    odds.upperCumulative.resize(p.size());
    PreciseSum below, first;
    for (std::size_t i = 0; i < p.size(); ++i) {
        below.add(p[i]);
        first.add(static_cast<double>(i) * p[i]);
        odds.cumulative[i] = std::clamp(below.value(), 0.0, 1.0);
    }
    const double mass = below.value();
    const double offset = first.value() / mass;
    PreciseSum above, second;
    for (std::size_t i = p.size(); i-- > 0;) {
        above.add(p[i]);
        const double d = static_cast<double>(i) - offset;
        second.add(d * d * p[i]);
        odds.upperCumulative[i] = std::clamp(above.value(), 0.0, 1.0);
    }
    // The running sums keep the rounding of either sign where a chance is nil, which cancels
    // over the tails; a single chance is never below nil.
    for (double& chance : odds.probabilities)
        chance = std::max(chance, 0.0);
    odds.mean = odds.lowest + offset;
    odds.standardDeviation = std::sqrt(second.value() / mass);
}

RollOdds ending(OddsEnding how, std::string_view message) {
    RollOdds odds;
    odds.ending = how;
    odds.message = std::string(message);
    return odds;
}

} // namespace

bool RollOdds::possible(double total) const {
    return ending == OddsEnding::Distribution && std::floor(total) == total && total >= lowest &&
           total <= highest;
}

double RollOdds::exactly(double total) const {
    if (!possible(total))
        return 0;
    const auto i = static_cast<std::size_t>(total - lowest);
    return i < probabilities.size() ? probabilities[i] : 0;
}

double RollOdds::atLeast(double total) const {
    if (ending != OddsEnding::Distribution || upperCumulative.empty() || total > highest)
        return 0;
    if (total <= lowest)
        return 1;
    const auto i = static_cast<std::size_t>(std::ceil(total) - lowest);
    return i < upperCumulative.size() ? upperCumulative[i] : 0;
}

double RollOdds::atMost(double total) const {
    if (ending != OddsEnding::Distribution || cumulative.empty() || total < lowest)
        return 0;
    if (total >= highest)
        return 1;
    const auto i = static_cast<std::size_t>(std::floor(total) - lowest);
    return i < cumulative.size() ? cumulative[i] : 1;
}

RollOdds rollOdds(const RollInputs& inputs, const RollOptions& options, std::stop_token stop) {
    if (stop.stop_requested())
        return ending(OddsEnding::Stopped, {});
    return rollOdds(readRollRequest(inputs), options, stop);
}

RollOdds rollOdds(const RollRequestResult& read, const RollOptions& options, std::stop_token stop) {
    if (stop.stop_requested())
        return ending(OddsEnding::Stopped, {});
    switch (read.ending) {
    case RollEnding::Silent:
        return ending(OddsEnding::Silent, silentMessage);
    case RollEnding::Refused:
        return ending(OddsEnding::Refused, read.message);
    case RollEnding::AtLimit:
        return ending(OddsEnding::AtLimit, limitMessage);
    case RollEnding::Formed:
        break;
    }
    RollOdds odds;
    odds.request = read.request;
    const RollRequest& request = odds.request;
    const auto n = static_cast<unsigned>(request.count);

    if (n == 0) { // no dice: the total is the add amount, whatever the boxes say
        odds.ending = OddsEnding::Distribution;
        odds.lowest = odds.highest = odds.mean = request.addValue;
        odds.probabilities = {1.0};
        summarise(odds);
        return odds;
    }
    // One die ignores the drop boxes.
    const bool low = n > 1 && options.dropLowest, high = n > 1 && options.dropHighest;
    if (low && high && n == 2) {
        odds.ending = OddsEnding::BothDropsRefused;
        odds.message = std::string(bothDropsRefusal).append(bothDropsWhy);
        return odds;
    }
    const unsigned kept = n - (low ? 1 : 0) - (high ? 1 : 0);
    const DieFaces die = dieFaces(request.sides, options.rerollOnes, chartTotals);
    const double lowestValue = die.lowest + request.modifier;
    const double highestValue = die.highest + request.modifier;
    odds.lowest = kept * lowestValue + request.addValue;
    odds.highest = kept * highestValue + request.addValue;

    const double faces = die.highest - die.lowest + 1;
    // Faces fit the table whenever the totals do (and then lie well within the generator's
    // steps, so none is left out).
    const double totals = kept * (faces - 1) + 1;
    if (die.weights.empty() || totals > static_cast<double>(chartTotals)) {
        odds.ending = OddsEnding::TooLarge;
        odds.message = std::string(tooManyTotalsStart);
        appendTrimmedNumberText(odds.message, totals);
        odds.message += tooManyTotalsEnd;
        estimateSpread(odds, die, n, low, high);
        return odds;
    }
    bool standIn = false;
    const bool promisedExact = n * std::fabs(request.sides) <= exactFacesTogether;
    std::optional<std::vector<double>> sums =
        keptFaceSums(die, n, low, high, stop, standIn,
                     promisedExact ? std::numeric_limits<double>::infinity() : workBudget);
    if (!sums || stop.stop_requested())
        return ending(OddsEnding::Stopped, {});
    odds.probabilities = std::move(*sums);
    odds.exact = !standIn;
    summarise(odds);

    // The roll adds every die, then the add amount, then takes the dropped dice off again.
    const double largestValue = std::max(std::fabs(lowestValue), std::fabs(highestValue));
    if ((n + 2.0) * largestValue + std::fabs(request.addValue) > exactSums) {
        odds.ending = OddsEnding::TooLarge;
        odds.message = std::string(tooLargeMessage);
        odds.probabilities.clear();
        odds.cumulative.clear();
        odds.upperCumulative.clear();
        return odds;
    }
    odds.ending = OddsEnding::Distribution;
    return odds;
}

std::string requestWords(const RollRequest& request, const RollOptions& options) {
    std::string words = request.displayFormula;
    if (options.dropLowest)
        words += ", Drop Lowest";
    if (options.dropHighest)
        words += ", Drop Highest";
    if (options.rerollOnes)
        words += ", Reroll 1's";
    return words;
}

#include "roll_odds.h"

#include <cmath>

namespace {

bool whole(double x) {
    return std::floor(x) == x;
}

} // namespace

bool RollOdds::possible(double total) const {
    return ending == OddsEnding::Distribution && whole(total) && total >= lowest &&
           total <= highest;
}

double RollOdds::exactly(double total) const {
    if (!possible(total))
        return 0;
    const auto i = static_cast<std::size_t>(total - lowest);
    return i < probabilities.size() ? probabilities[i] : 0;
}

double RollOdds::atLeast(double total) const {
    if (ending != OddsEnding::Distribution)
        return 0;
    if (total <= lowest)
        return 1;
    if (total > highest)
        return 0;
    double sum = 0;
    for (std::size_t i = probabilities.size(); i-- > 0;) {
        if (lowest + static_cast<double>(i) < total)
            break;
        sum += probabilities[i];
    }
    return sum;
}

double RollOdds::atMost(double total) const {
    if (ending != OddsEnding::Distribution)
        return 0;
    if (total >= highest)
        return 1;
    if (total < lowest)
        return 0;
    double sum = 0;
    for (std::size_t i = 0; i < probabilities.size(); ++i) {
        if (lowest + static_cast<double>(i) > total)
            break;
        sum += probabilities[i];
    }
    return sum;
}

RollOdds rollOdds(const RollInputs& inputs, const RollOptions& options, std::stop_token stop) {
    (void)options;
    RollOdds odds;
    if (stop.stop_requested()) {
        odds.ending = OddsEnding::Stopped;
        return odds;
    }
    const RollRequestResult read = readRollRequest(inputs);
    switch (read.ending) {
    case RollEnding::Silent:
        odds.ending = OddsEnding::Silent;
        odds.message = "Type a formula such as 3d6+2 to see its odds.";
        return odds;
    case RollEnding::Refused:
        odds.ending = OddsEnding::Refused;
        odds.message = std::string(read.message);
        return odds;
    case RollEnding::AtLimit:
        odds.ending = OddsEnding::AtLimit;
        odds.message =
            "At most 1000 dice of at most 1000 sides, 1000 times; a die never has 1 side.";
        return odds;
    case RollEnding::Formed:
        break;
    }
    odds.request = read.request;
    // The distribution itself comes with the methods that follow.
    odds.ending = OddsEnding::TooLarge;
    odds.message = "Odds are not computed yet.";
    return odds;
}

std::vector<double> recordTotals(std::string_view record) {
    (void)record;
    return {};
}

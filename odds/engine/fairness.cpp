#include "fairness.h"

#include "kept_sum.h"
#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Bins are pooled until each expects at least this many rolls, as the chi-square test needs.
constexpr double pooledExpectation = 5;
// Sums of rolls the exact test will list.
constexpr std::size_t exactSums = std::size_t{1} << 20;

// Q(a, x) = Gamma(a, x) / Gamma(a), the upper regularised incomplete gamma function: by its
// series below x = a + 1, by its continued fraction (Lentz's method) above.
double upperGamma(double a, double x) {
    if (x <= 0)
        return 1;
    const double logPrefix = a * std::log(x) - x - std::lgamma(a);
    constexpr double tiny = 1e-300, precision = 1e-15;
    if (x < a + 1) {
        double term = 1 / a, sum = term;
        for (int n = 1; n < 100000 && std::fabs(term) > std::fabs(sum) * precision; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return std::max(0.0, 1 - sum * std::exp(logPrefix));
    }
    double b = x + 1 - a, c = 1 / tiny, d = 1 / b, h = d;
    for (int i = 1; i < 100000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::fabs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::fabs(c) < tiny ? tiny : c;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < precision)
            break;
    }
    return std::min(1.0, std::exp(logPrefix) * h);
}

std::string pText(double p) {
    if (p < 0.001)
        return "p < 0.001";
    // to_chars writes the point whatever the locale; printf would write a decimal comma.
    char digits[32];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, p, std::chars_format::general, 2);
    return "p = " + std::string(digits, written.ptr);
}

std::string judgement(double p) {
    if (p < 0.01)
        return "unlikely from fair dice";
    if (p < 0.05)
        return "unusual for fair dice, though fair dice do this now and then";
    return "consistent with fair dice";
}

std::string rollsOf(std::size_t rolls, const RollOdds& odds, const RollOptions& options) {
    return trimmedNumberText(static_cast<double>(rolls)) +
           (rolls == 1 ? " roll of " : " rolls of ") + requestWords(odds.request, options);
}

// Adjacent totals pooled into bins that expect at least five rolls each; what is left at the
// top joins the last bin.
void pool(const std::vector<double>& observedPerTotal, const std::vector<double>& expectedPerTotal,
          std::vector<double>& observed, std::vector<double>& expected) {
    double o = 0, e = 0;
    for (std::size_t i = 0; i < expectedPerTotal.size(); ++i) {
        o += observedPerTotal[i];
        e += expectedPerTotal[i];
        if (e >= pooledExpectation) {
            observed.push_back(o);
            expected.push_back(e);
            o = e = 0;
        }
    }
    if (!expected.empty()) {
        observed.back() += o;
        expected.back() += e;
    }
}

// The fewest rolls whose expected counts fill two pooled bins.
std::size_t rollsNeeded(const RollOdds& odds) {
    auto enough = [&](double rolls) {
        std::vector<double> perTotal(odds.probabilities.size()), o, e;
        for (std::size_t i = 0; i < perTotal.size(); ++i)
            perTotal[i] = rolls * odds.probabilities[i];
        pool(perTotal, perTotal, o, e);
        return e.size() >= 2;
    };
    double low = 1, high = 2;
    while (!enough(high) && high < 1e12)
        high *= 2;
    while (high - low > 1) {
        const double mid = std::floor((low + high) / 2);
        (enough(mid) ? high : low) = mid;
    }
    return static_cast<std::size_t>(high);
}

// Chi-square over the pooled bins; false when the rolls fill fewer than two.
bool chiSquare(FairnessVerdict& verdict) {
    std::vector<double> observed, expected;
    pool(verdict.observed, verdict.expected, observed, expected);
    if (expected.size() < 2)
        return false;
    double statistic = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const double d = observed[i] - expected[i];
        statistic += d * d / expected[i];
    }
    verdict.statistic = statistic;
    verdict.degreesOfFreedom = static_cast<int>(expected.size()) - 1;
    verdict.pValue = chiSquarePValue(statistic, verdict.degreesOfFreedom);
    return true;
}

// For few rolls, an exact test of their sum: the chance that fair dice give a sum at least as
// far out in the same tail, doubled (two-sided), from the exact distribution of the sum.
bool exactSumTest(FairnessVerdict& verdict, const RollOdds& odds, const LoggedRolls& rolls) {
    const auto n = static_cast<unsigned>(verdict.rolls);
    const std::size_t totals = odds.probabilities.size();
    if (n == 0 || (totals - 1) * n + 1 > exactSums)
        return false;
    const auto sums = keptSumDistribution({odds.probabilities, false}, n, false, false);
    if (!sums)
        return false;
    double sum = 0;
    for (double t : rolls.totals)
        sum += t - odds.lowest;
    const auto s = static_cast<std::size_t>(sum);
    double below = 0, above = 0;
    for (std::size_t i = 0; i < sums->size(); ++i) {
        if (i <= s)
            below += (*sums)[i];
        if (i >= s)
            above += (*sums)[i];
    }
    verdict.statistic = sum + odds.lowest * n;
    verdict.degreesOfFreedom = 0;
    verdict.pValue = std::min(1.0, 2 * std::min(below, above));
    return true;
}

} // namespace

double chiSquarePValue(double statistic, int degreesOfFreedom) {
    return upperGamma(degreesOfFreedom / 2.0, statistic / 2);
}

FairnessVerdict judgeFairness(const RollOdds& odds, const LoggedRolls& rolls,
                              const RollOptions& options) {
    FairnessVerdict verdict;
    verdict.rolls = rolls.totals.size();
    if (odds.ending != OddsEnding::Distribution) {
        verdict.text = "No fairness check: these odds have no chart.";
        return verdict;
    }
    const std::size_t totals = odds.probabilities.size();
    verdict.observed.assign(totals, 0);
    verdict.expected.resize(totals);
    for (std::size_t i = 0; i < totals; ++i)
        verdict.expected[i] = static_cast<double>(verdict.rolls) * odds.probabilities[i];
    std::size_t impossible = 0;
    for (double t : rolls.totals) {
        if (odds.possible(t) && odds.exactly(t) > 0)
            ++verdict.observed[static_cast<std::size_t>(t - odds.lowest)];
        else
            ++impossible;
    }
    if (verdict.rolls == 0) {
        verdict.text = "No rolls of " + requestWords(odds.request, options) + " in the log yet.";
        if (totals > 1)
            verdict.text.insert(verdict.text.size() - 1,
                                "; about " +
                                    trimmedNumberText(static_cast<double>(rollsNeeded(odds))) +
                                    " are needed to judge");
        return verdict;
    }
    if (totals == 1) {
        verdict.text = rollsOf(verdict.rolls, odds, options) +
                       ": every such roll has the same total; "
                       "there is nothing to judge.";
        return verdict;
    }
    verdict.enoughRolls = true;
    if (impossible) {
        verdict.pValue = 0;
        verdict.text = rollsOf(verdict.rolls, odds, options) + ": " +
                       trimmedNumberText(static_cast<double>(impossible)) +
                       (impossible == 1 ? " total" : " totals") +
                       " that these dice cannot make; not from these dice.";
        return verdict;
    }
    if (chiSquare(verdict)) {
        verdict.text = rollsOf(verdict.rolls, odds, options) + ": " + judgement(verdict.pValue) +
                       ", " + pText(verdict.pValue);
        return verdict;
    }
    if (exactSumTest(verdict, odds, rolls)) {
        verdict.text = rollsOf(verdict.rolls, odds, options) + ": their sum is " +
                       judgement(verdict.pValue) + ", " + pText(verdict.pValue) +
                       " (too few rolls to judge each total)";
        return verdict;
    }
    verdict.enoughRolls = false;
    verdict.text = rollsOf(verdict.rolls, odds, options) + ": too few to judge; about " +
                   trimmedNumberText(static_cast<double>(rollsNeeded(odds))) + " are needed.";
    return verdict;
}

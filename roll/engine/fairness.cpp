#include "fairness.h"

FairnessVerdict judgeFairness(const RollOdds& odds, const LoggedRolls& rolls) {
    (void)odds;
    FairnessVerdict verdict;
    verdict.rolls = rolls.totals.size();
    verdict.text = "The fairness test is not written yet.";
    return verdict;
}

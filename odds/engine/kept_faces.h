#pragma once

#include "die_faces.h"

#include <optional>
#include <stop_token>
#include <vector>

// The sum of the faces kept from n dice of one kind, counted from the lowest kept sum; nothing
// when stopped. The faces keep the generator's own weights: exactly, or, where the lowest and the
// highest are dropped from 5 to 64 dice of nearly equal faces and the general method would be
// slow, within 1e-12 by the first-order method (see NearlyEqualBothDrops). Where even that, or
// the exact sum with one drop, would take more than workBudget complex products (see
// KeptSumSpectrum::work) on each thread (two share a long spectrum where there are two
// processors), and equally likely faces are close enough, those stand in (standIn tells) for
// at most standInDice dice. For one die, the chance of any run of faces (at most f, at least f,
// exactly f) differs from equally likely faces' by less than 2^-24, as each bound of the run is
// off by less than one of the generator's steps. A kept sum is monotone in each die, so each of
// its chances (exactly, at least, at most a total) is one such run for any one die given the
// others: swapping the dice one at a time, it moves by less than n 2^-24, below 1e-6 for 16 dice.
inline constexpr unsigned standInDice = 16;

std::optional<std::vector<double>> keptFaceSums(const DieFaces& die, unsigned n, bool dropLowest,
                                                bool dropHighest, const std::stop_token& stop,
                                                bool& standIn, double workBudget);

#pragma once

#include "die_faces.h"

#include <optional>
#include <stop_token>
#include <vector>

// The sum of the faces kept from n dice of one kind, counted from the lowest kept sum; nothing
// when stopped. Where the die's faces are nearly equally likely and dice are dropped, equally
// likely faces stand in for the generator's grid, which moves no chance by 1e-9; standIn tells
// when that happened.
std::optional<std::vector<double>> keptFaceSums(const DieFaces& die, unsigned n, bool dropLowest,
                                                bool dropHighest, const std::stop_token& stop,
                                                bool& standIn);

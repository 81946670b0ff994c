#pragma once

#include <cstddef>
#include <vector>

// The faces one die can show under the roller's rule, face = floor(sides x r) + 1, and how
// likely each is. The generator's r is k / 2^24 for k = 0 .. 2^24 - 1, all equally likely, so a
// face's chance is the number of k that give it over 2^24: not quite equal for most sides.
// "Reroll 1's" keeps rolling until a face other than 1 stands, which removes face 1 and shares
// its chance out among the others in proportion.

struct DieFaces {
    double lowest = 1;  // the lowest face that can stand
    double highest = 1; // the highest face that can stand
    // weights[i]: the chance of face lowest + i; empty when the faces are too many to list or
    // have gaps (sides beyond the generator's 2^24 steps).
    std::vector<double> weights;
    // Where the grid moves no chance by 1e-9 or more, the faces may be taken as equally likely:
    // all of them, or all but the highest, which then has topWeight (face 1 of negative sides,
    // which only r = 0 gives).
    bool nearlyEqual = false;
    double topWeight = 0;
};

// The faces of a die of the given sides; weights are listed for at most maxFaces faces.
DieFaces dieFaces(double sides, bool rerollOnes, std::size_t maxFaces);

// Where the 24-bit grid stops mattering: from this many faces on, taking them as equally likely
// moves no chance by 1e-9.
inline constexpr double nearlyEqualFaces = 160;

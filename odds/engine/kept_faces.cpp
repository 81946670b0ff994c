#include "kept_faces.h"

#include "kept_sum.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

namespace {

// Work (see KeptSumSpectrum::work) from which two threads share the spectrum: some 20 ms.
constexpr double sharedWork = 1e7;

FaceWeights equalFaces(std::size_t faces) {
    return {std::vector<double>(faces, 1.0 / static_cast<double>(faces)), true};
}

// Negative sides: faces below 1 nearly equally likely, face 1 on top with the tiny chance of
// r = 0. The rolls split by how many dice show 1 (a binomial count; such dice are the highest)
// into sums over equally likely faces, added up at each frequency before the one transform.
std::optional<std::vector<double>> withTopFace(const DieFaces& die, unsigned n, bool low, bool high,
                                               const std::stop_token& stop) {
    const std::size_t below = die.weights.size() - 1; // the top face's place above the lowest
    const double q = die.topWeight;
    const FaceWeights equal = equalFaces(below);
    const std::size_t totals = keptSumCount(below + 1, n, low, high);
    const UnitRoots roots(powerOfTwoAtLeast(totals));

    struct Part {
        double weight;
        long long shift; // the kept dice that show 1 lift the sum by this
        std::unique_ptr<KeptSumSpectrum> spectrum;
    };
    std::vector<Part> parts;
    std::size_t last = 0;
    double weight = std::pow(1 - q, n);
    for (unsigned ones = 0; ones <= n; ++ones) {
        if (ones > 0) {
            weight *= q / (1 - q) * (n - ones + 1) / ones;
            if (weight < 1e-18)
                break; // each further count is far less likely still
        }
        const unsigned others = n - ones;
        unsigned onesKept = ones - (high && ones > 0 ? 1 : 0);
        if (low && others == 0)
            --onesKept; // every die shows 1: the lowest dropped is one of them
        auto spectrum = std::make_unique<KeptSumSpectrum>(equal, others, low && others > 0,
                                                          high && ones == 0, roots);
        last = std::max(last, spectrum->last());
        parts.push_back({weight, static_cast<long long>(onesKept * below), std::move(spectrum)});
    }
    return distributionFromSpectrum(
        totals, roots, last,
        [&](std::size_t j) {
            Complex y = 0;
            for (const Part& part : parts) {
                if (j <= part.spectrum->last())
                    y += part.weight *
                         times(roots(part.shift * static_cast<long long>(j)), (*part.spectrum)(j));
            }
            return y;
        },
        stop);
}

} // namespace

std::optional<std::vector<double>> keptFaceSums(const DieFaces& die, unsigned n, bool dropLowest,
                                                bool dropHighest, const std::stop_token& stop,
                                                bool& standIn, double workBudget) {
    const auto [least, most] = std::minmax_element(die.weights.begin(), die.weights.end());
    const FaceWeights faces{die.weights, *least == *most};
    standIn = false;
    const unsigned dropped = (dropLowest ? 1 : 0) + (dropHighest ? 1 : 0);
    const unsigned kept = n > dropped ? n - dropped : 0;
    const std::size_t k = faces.p.size();
    if (!dropped || faces.uniform || kept <= 1 || (kept == 2 && k <= orderStatisticFaces))
        return keptSumDistribution(faces, n, dropLowest, dropHighest, stop);
    // The generator's own weights, unless that takes too long and equally likely faces are
    // close enough (see the header).
    const std::size_t totals = keptSumCount(k, n, dropLowest, dropHighest);
    const UnitRoots roots(powerOfTwoAtLeast(totals));
    const KeptSumSpectrum spectrum(faces, n, dropLowest, dropHighest, roots);
    const bool shared = spectrum.work() >= sharedWork && std::thread::hardware_concurrency() >= 2;
    if (spectrum.work() / (shared ? 2 : 1) <= workBudget || !die.nearlyEqual || n > standInDice) {
        if (!shared)
            return distributionFromSpectrum(totals, roots, spectrum.last(), std::cref(spectrum),
                                            stop);
        // A second copy with working space of its own takes half the frequencies.
        const KeptSumSpectrum copy(faces, n, dropLowest, dropHighest, roots);
        return distributionFromSpectra(totals, roots, spectrum.last(),
                                       {std::cref(spectrum), std::cref(copy)}, stop);
    }
    standIn = true;
    if (die.topWeight == 0)
        return keptSumDistribution(equalFaces(k), n, dropLowest, dropHighest, stop);
    return withTopFace(die, n, dropLowest, dropHighest, stop);
}

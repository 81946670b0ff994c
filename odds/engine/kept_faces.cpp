#include "kept_faces.h"

#include "kept_sum.h"
#include "nearly_equal_both_drops.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

namespace {

// Work (see KeptSumSpectrum::work) from which two threads share the spectrum: some 20 ms.
constexpr double sharedWork = 1e7;
// Dice the first-order method serves (see NearlyEqualBothDrops).
constexpr unsigned firstOrderDice = 64;
// The work of equally likely faces' closed forms at one frequency, roughly.
constexpr double closedFormWork = 100;

FaceWeights equalFaces(std::size_t faces) {
    return {std::vector<double>(faces, 1.0 / static_cast<double>(faces)), true};
}

using Spectrum = std::function<Complex(std::size_t)>;

// Two threads share a spectrum that takes at least sharedWork, where there are two processors.
unsigned threadsFor(double work) {
    return work >= sharedWork && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

// The distribution from the spectrum first, on threadsFor(work) threads, the second with a copy
// that another() makes.
std::optional<std::vector<double>> fromSpectrum(std::size_t totals, const UnitRoots& roots,
                                                std::size_t last, double work,
                                                const Spectrum& first,
                                                const std::function<Spectrum()>& another,
                                                const std::stop_token& stop) {
    if (threadsFor(work) == 1)
        return distributionFromSpectrum(totals, roots, last, first, stop);
    return distributionFromSpectra(totals, roots, last, {first, another()}, stop);
}

std::function<Spectrum()> keptSumSpectra(const FaceWeights& faces, unsigned n, bool low, bool high,
                                         const UnitRoots& roots) {
    return [&faces, n, low, high, &roots] {
        auto spectrum = std::make_shared<KeptSumSpectrum>(faces, n, low, high, roots);
        return Spectrum([spectrum](std::size_t j) { return (*spectrum)(j); });
    };
}

// Both dropped from nearly equal faces, by the first-order method.
std::optional<std::vector<double>> bothDropped(const std::vector<double>& p, unsigned n,
                                               const UnitRoots& roots,
                                               const std::stop_token& stop) {
    const std::size_t totals = keptSumCount(p.size(), n, true, true);
    NearlyEqualBothDrops spectrum(p, n, roots);
    return distributionFromSpectrum(totals, roots, spectrum.last(), std::ref(spectrum), stop);
}

// Negative sides: faces below 1 nearly equally likely, face 1 on top with the tiny chance of
// r = 0. The rolls split by how many dice show 1 (a binomial count; such dice are the highest)
// into sums over the faces below 1, added up at each frequency before the one transform. Those
// faces are taken as equally likely, except with firstOrder (both dropped): there the rolls
// without a 1 take the first-order method, and the rest (less than n 2^-24 of the chance, each
// of their chances off by less than n 2^-24) stay with equal faces.
std::optional<std::vector<double>> withTopFace(const DieFaces& die, unsigned n, bool low, bool high,
                                               bool firstOrder, const UnitRoots& roots,
                                               const std::stop_token& stop) {
    const std::size_t below = die.weights.size() - 1; // the top face's place above the lowest
    const double q = die.topWeight;
    const FaceWeights equal = equalFaces(below);
    const std::size_t totals = keptSumCount(below + 1, n, low, high);

    struct Part {
        double weight;
        unsigned ones;   // dice that show 1
        long long shift; // the kept dice that show 1 lift the sum by this
    };
    std::vector<Part> parts;
    double weight = std::pow(1 - q, n);
    for (unsigned ones = 0; ones <= n; ++ones) {
        if (ones > 0) {
            weight *= q / (1 - q) * (n - ones + 1) / ones;
            if (weight < 1e-18)
                break; // each further count is far less likely still
        }
        unsigned onesKept = ones - (high && ones > 0 ? 1 : 0);
        if (low && ones == n)
            --onesKept; // every die shows 1: the lowest dropped is one of them
        parts.push_back({weight, ones, static_cast<long long>(onesKept * below)});
    }
    std::shared_ptr<NearlyEqualBothDrops> noOnes;
    if (firstOrder) {
        std::vector<double> p(die.weights.begin(), die.weights.end() - 1);
        for (double& chance : p)
            chance /= 1 - q;
        noOnes = std::make_shared<NearlyEqualBothDrops>(p, n, roots);
    }
    // Each part's spectrum, then their sum, turned by each part's shift.
    std::size_t last = 0;
    auto make = [&] {
        std::vector<Spectrum> spectra;
        std::vector<std::size_t> lasts;
        for (const Part& part : parts) {
            if (part.ones == 0 && noOnes) {
                spectra.emplace_back([noOnes](std::size_t j) { return (*noOnes)(j); });
                lasts.push_back(noOnes->last());
                continue;
            }
            const unsigned others = n - part.ones;
            auto spectrum = std::make_shared<KeptSumSpectrum>(equal, others, low && others > 0,
                                                              high && part.ones == 0, roots,
                                                              KeptSumTuning{.weight = part.weight});
            spectra.emplace_back([spectrum](std::size_t j) { return (*spectrum)(j); });
            lasts.push_back(spectrum->last());
        }
        last = *std::max_element(lasts.begin(), lasts.end());
        return Spectrum([&parts, &roots, spectra, lasts](std::size_t j) {
            Complex y = 0;
            for (std::size_t i = 0; i < parts.size(); ++i) {
                if (j <= lasts[i])
                    y += parts[i].weight *
                         times(roots(parts[i].shift * static_cast<long long>(j)), spectra[i](j));
            }
            return y;
        });
    };
    const Spectrum first = make(); // which also finds last
    if (noOnes)                    // its transforms are made once
        return distributionFromSpectrum(totals, roots, last, first, stop);
    const double work = static_cast<double>((last + 1) * parts.size()) * closedFormWork;
    return fromSpectrum(totals, roots, last, work, first, make, stop);
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
    const bool nearlyEqual = die.nearlyEqual && n <= standInDice;
    const double exactWork = spectrum.work() / threadsFor(spectrum.work()); // on each thread
    // Both dropped from five dice or more, where the general method would be slow: the
    // first-order method where it is quicker and, if equal faces may stand in, within the budget
    // of both threads (it keeps to one).
    if (dropLowest && dropHighest && die.nearlyEqual && n >= 5 && n <= firstOrderDice &&
        spectrum.work() >= sharedWork) {
        const double work = NearlyEqualBothDrops::work(roots.size(), spectrum.last(), n);
        if (work <= exactWork && (work <= 2 * workBudget || !nearlyEqual))
            return die.topWeight == 0 ? bothDropped(faces.p, n, roots, stop)
                                      : withTopFace(die, n, true, true, true, roots, stop);
    }
    if (exactWork <= workBudget || !nearlyEqual)
        return fromSpectrum(totals, roots, spectrum.last(), spectrum.work(), std::cref(spectrum),
                            keptSumSpectra(faces, n, dropLowest, dropHighest, roots), stop);
    standIn = true;
    if (die.topWeight != 0)
        return withTopFace(die, n, dropLowest, dropHighest, false, roots, stop);
    const FaceWeights equal = equalFaces(k);
    const KeptSumSpectrum equalSpectrum(equal, n, dropLowest, dropHighest, roots);
    const std::size_t last = equalSpectrum.last();
    return fromSpectrum(totals, roots, last, static_cast<double>(last + 1) * closedFormWork,
                        std::cref(equalSpectrum),
                        keptSumSpectra(equal, n, dropLowest, dropHighest, roots), stop);
}

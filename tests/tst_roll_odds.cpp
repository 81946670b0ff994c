#include "die_faces.h"
#include "fairness.h"
#include "kept_sum.h"
#include "log_totals.h"
#include "random_source.h"
#include "roll_dice.h"
#include "roll_odds.h"

#include "scripted_random.h"
#include "threshold_reference.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace {

enum Option { Reroll = 1, DropLow = 2, DropHigh = 4 };

RollOptions options(int flags) {
    return {(flags & Reroll) != 0, (flags & DropLow) != 0, (flags & DropHigh) != 0, false};
}

RollOdds oddsOf(const char* formula, const char* add, int flags) {
    return rollOdds({formula, add, ""}, options(flags));
}

constexpr std::int64_t grid = std::int64_t{1} << 24;

double faceAtStep(double sides, std::int64_t k) {
    ScriptedRandom r{static_cast<float>(static_cast<double>(k) / static_cast<double>(grid))};
    return rollOneDie(sides, 0, r).face;
}

// The chance of each face straight from the roller: faces change monotonically with the
// generator's step k, so each face's run of steps is found by bisection over rollOneDie.
std::map<double, double> faceChances(double sides, bool reroll) {
    std::map<double, double> chances;
    for (std::int64_t k = 0; k < grid;) {
        const double face = faceAtStep(sides, k);
        std::int64_t low = k, high = grid; // face holds at low, not at high
        while (high - low > 1) {
            const std::int64_t mid = (low + high) / 2;
            (faceAtStep(sides, mid) == face ? low : high) = mid;
        }
        chances[face] = static_cast<double>(high - k) / static_cast<double>(grid);
        k = high;
    }
    if (reroll && sides != 0 && chances.size() > 1) { // a face of 1 never stands
        const double kept = 1 - chances[1];
        chances.erase(1);
        for (auto& [face, chance] : chances)
            chance /= kept;
    }
    return chances;
}

// Totals of one repetition by brute force: every die added in turn, tracking the lowest and
// highest die, with positive terms only.
std::map<double, double> bruteForceTotals(const RollRequest& request, const RollOptions& options) {
    const std::map<double, double> faces = faceChances(request.sides, options.rerollOnes);
    const auto n = static_cast<int>(request.count);
    std::map<double, double> totals;
    if (n == 0) {
        totals[request.addValue] = 1;
        return totals;
    }
    if (n == 1) {
        for (const auto& [face, chance] : faces)
            totals[face + request.modifier + request.addValue] += chance;
        return totals;
    }
    std::map<std::tuple<double, double, double>, double> states; // lowest, highest, sum
    states[{HUGE_VAL, -HUGE_VAL, 0}] = 1;
    for (int die = 0; die < n; ++die) {
        std::map<std::tuple<double, double, double>, double> next;
        for (const auto& [state, chance] : states) {
            const auto [lowest, highest, sum] = state;
            for (const auto& [face, faceChance] : faces)
                next[{std::min(lowest, face), std::max(highest, face), sum + face}] +=
                    chance * faceChance;
        }
        states = std::move(next);
    }
    for (const auto& [state, chance] : states) {
        auto [lowest, highest, sum] = state;
        int kept = n;
        if (options.dropLowest)
            sum -= lowest, --kept;
        if (options.dropHighest)
            sum -= highest, --kept;
        totals[sum + kept * request.modifier + request.addValue] += chance;
    }
    return totals;
}

// Totals of one repetition by thresholds (see threshold_reference.h), for dice of many faces.
std::map<double, double> thresholdTotals(const RollRequest& request, const RollOptions& options) {
    const std::map<double, double> faces = faceChances(request.sides, options.rerollOnes);
    std::vector<long double> p;
    for (const auto& [face, chance] : faces)
        p.push_back(chance);
    const auto n = static_cast<unsigned>(request.count);
    const bool low = options.dropLowest, high = options.dropHighest;
    const threshold_reference::Poly sums = threshold_reference::keptSum(p, n, low, high);
    const int kept = static_cast<int>(n) - (low ? 1 : 0) - (high ? 1 : 0);
    std::map<double, double> totals;
    for (std::size_t t = 0; t < sums.size(); ++t)
        totals[kept * (faces.begin()->first + request.modifier) + static_cast<double>(t) +
               request.addValue] = static_cast<double>(sums[t]);
    return totals;
}

// The kept sum by its spectrum alone, whatever the number of kept dice.
std::vector<double> bySpectrum(const FaceWeights& faces, unsigned n, const RollOptions& o) {
    const std::size_t totals = keptSumCount(faces.p.size(), n, o.dropLowest, o.dropHighest);
    const UnitRoots roots(powerOfTwoAtLeast(totals));
    const KeptSumSpectrum spectrum(faces, n, o.dropLowest, o.dropHighest, roots);
    return *distributionFromSpectrum(totals, roots, spectrum.last(), std::cref(spectrum), {});
}

// A log of records made by the roller itself.
RollRecord recordOf(const char* formula, const char* add, const char* times, int flags,
                    Generator& generator) {
    const RollRequestResult read = readRollRequest({formula, add, times});
    RollRecord record;
    rollDice(read.request, options(flags), generator, record);
    return record;
}

} // namespace

class tst_roll_odds : public QObject {
    Q_OBJECT

private slots:
    void distributions_data();
    void distributions();
    void endings_data();
    void endings();
    void methodsAgree_data();
    void methodsAgree();
    void rollsStayWithinTheOdds_data();
    void rollsStayWithinTheOdds();
    void stopToken();
    void logReader_data();
    void logReader();
    void logFailures();
    void chiSquarePValues_data();
    void chiSquarePValues();
    void fairness_data();
    void fairness();
};

void tst_roll_odds::distributions_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<int>("flags");

    QTest::addRow("1d20") << QByteArray("1d20") << QByteArray() << 0;
    QTest::addRow("3d6") << QByteArray("3d6") << QByteArray() << 0;
    QTest::addRow("4d6 drop lowest") << QByteArray("4d6") << QByteArray() << int(DropLow);
    QTest::addRow("2d20 drop lowest") << QByteArray("2d20") << QByteArray() << int(DropLow);
    QTest::addRow("2d20 drop highest") << QByteArray("2d20") << QByteArray() << int(DropHigh);
    QTest::addRow("3d6+1 add +2") << QByteArray("3d6+1") << QByteArray("+2") << 0;
    QTest::addRow("4d6 reroll, drop lowest")
        << QByteArray("4d6") << QByteArray() << int(Reroll | DropLow);
    QTest::addRow("10d10 both drops")
        << QByteArray("10d10") << QByteArray() << int(DropLow | DropHigh);
    QTest::addRow("count 0") << QByteArray("d6") << QByteArray("3") << int(DropLow);
    QTest::addRow("3d0 reroll") << QByteArray("3d0") << QByteArray() << int(Reroll);
    QTest::addRow("negative sides") << QByteArray("3d-6+2") << QByteArray() << 0;
    QTest::addRow("negative sides, reroll, drop highest")
        << QByteArray("4d-5+0") << QByteArray() << int(Reroll | DropHigh);
    QTest::addRow("negative sides, both drops")
        << QByteArray("3d-4+1") << QByteArray() << int(DropLow | DropHigh);
    QTest::addRow("one die ignores drops")
        << QByteArray("1d6") << QByteArray() << int(DropLow | DropHigh);
    QTest::addRow("one negative die, reroll")
        << QByteArray("1d-3+0") << QByteArray() << int(Reroll);
    QTest::addRow("everything at once")
        << QByteArray("5d3-1") << QByteArray("-4") << int(Reroll | DropLow | DropHigh);
    QTest::addRow("d2 rerolled shows 2") << QByteArray("3d2") << QByteArray() << int(Reroll);
    QTest::addRow("two kept of three") << QByteArray("3d6") << QByteArray() << int(DropHigh);
    QTest::addRow("two kept of four")
        << QByteArray("4d5+2") << QByteArray() << int(DropLow | DropHigh);
    // Dice of many faces, against the reference by thresholds: the generator's grid must show
    // in the running sums as in the single chances.
    QTest::addRow("161 faces, reroll, drop highest")
        << QByteArray("5d161") << QByteArray() << int(Reroll | DropHigh);
    QTest::addRow("200 faces, drop lowest")
        << QByteArray("6d200") << QByteArray("+7") << int(DropLow);
    QTest::addRow("513 faces, drop lowest") << QByteArray("3d513") << QByteArray() << int(DropLow);
    QTest::addRow("513 faces, both drops")
        << QByteArray("4d513") << QByteArray() << int(DropLow | DropHigh);
    QTest::addRow("1000 faces, reroll, drop highest")
        << QByteArray("3d1000") << QByteArray() << int(Reroll | DropHigh);
    QTest::addRow("-170 sides, both drops")
        << QByteArray("5d-170+3") << QByteArray() << int(DropLow | DropHigh);
    // Exact wherever count x |sides| is at most 20,000, however long the grid takes.
    QTest::addRow("-2040 sides, drop lowest")
        << QByteArray("4d-2040+0") << QByteArray() << int(DropLow);
}

void tst_roll_odds::distributions() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(int, flags);

    const RollOdds odds = oddsOf(formula.constData(), add.constData(), flags);
    QCOMPARE(odds.ending, OddsEnding::Distribution);
    QVERIFY(odds.exact);
    const std::map<double, double> expected = std::fabs(odds.request.sides) > 100
                                                  ? thresholdTotals(odds.request, options(flags))
                                                  : bruteForceTotals(odds.request, options(flags));
    QCOMPARE(odds.lowest, expected.begin()->first);
    QCOMPARE(odds.highest, expected.rbegin()->first);
    QCOMPARE(odds.probabilities.size(), static_cast<std::size_t>(odds.highest - odds.lowest + 1));
    double mean = 0, below = 0;
    for (double total = odds.lowest; total <= odds.highest; ++total) {
        const auto it = expected.find(total);
        const double chance = it == expected.end() ? 0 : it->second;
        QVERIFY2(std::fabs(odds.exactly(total) - chance) < 1e-12,
                 qPrintable(QString::number(total)));
        below += chance;
        QVERIFY(std::fabs(odds.atMost(total) - below) < 1e-12);
        QVERIFY(std::fabs(odds.atLeast(total) - (1 - below + chance)) < 1e-12);
        mean += total * chance;
    }
    QVERIFY(std::fabs(odds.mean - mean) < 1e-9);
    QCOMPARE(odds.atLeast(odds.lowest - 1), 1.0);
    QCOMPARE(odds.atMost(odds.highest + 1), 1.0);
    QCOMPARE(odds.exactly(odds.highest + 1), 0.0);
    QVERIFY(!odds.possible(odds.lowest + 0.5));
}

void tst_roll_odds::endings_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<int>("flags");
    QTest::addColumn<OddsEnding>("ending");
    QTest::addColumn<QByteArray>("messageStart");

    QTest::addRow("empty") << QByteArray() << QByteArray() << 0 << OddsEnding::Silent
                           << QByteArray("Type a formula");
    QTest::addRow("refused formula") << QByteArray("3x6") << QByteArray() << 0
                                     << OddsEnding::Refused << QByteArray(formulaMessage.data());
    QTest::addRow("refused add") << QByteArray("3d6") << QByteArray("5a") << 0
                                 << OddsEnding::Refused << QByteArray(addMessage.data());
    QTest::addRow("one side") << QByteArray("3d1") << QByteArray() << 0 << OddsEnding::AtLimit
                              << QByteArray("No odds");
    QTest::addRow("2d6 both drops")
        << QByteArray("2d6") << QByteArray() << int(DropLow | DropHigh)
        << OddsEnding::BothDropsRefused << QByteArray("Can't drop both dice! ");
    QTest::addRow("sums past 2^53")
        << QByteArray("3d6+9999999999999999") << QByteArray() << 0 << OddsEnding::TooLarge
        << QByteArray("These totals are too large");
    QTest::addRow("too many faces")
        << QByteArray("3d-100000000+0") << QByteArray() << 0 << OddsEnding::TooLarge
        << QByteArray("The totals of these dice span 299999986 values");
    QTest::addRow("too many totals to drop")
        << QByteArray("1000d-1000000+0") << QByteArray() << int(DropLow) << OddsEnding::TooLarge
        << QByteArray("The totals of these dice span 999000001 values, more than");
}

void tst_roll_odds::endings() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(int, flags);
    QFETCH(OddsEnding, ending);
    QFETCH(QByteArray, messageStart);

    const RollOdds odds = oddsOf(formula.constData(), add.constData(), flags);
    QCOMPARE(odds.ending, ending);
    QVERIFY2(odds.message.starts_with(messageStart.toStdString()), odds.message.c_str());
    QVERIFY(!odds.possible(odds.lowest));
    if (ending == OddsEnding::TooLarge) { // summaries stay, and make sense
        QVERIFY(odds.lowest < odds.mean && odds.mean < odds.highest);
        QVERIFY(odds.standardDeviation > 0 &&
                odds.standardDeviation < (odds.highest - odds.lowest) / 2);
    }
}

// Each shortcut against the long way, and the odds against the generator's grid by its spectrum
// where faces are many.
void tst_roll_odds::methodsAgree_data() {
    QTest::addColumn<double>("sides");
    QTest::addColumn<int>("dice");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("equalFaces");   // equally likely faces in the fast way
    QTest::addColumn<bool>("longWayExact"); // the long way: every term, every frequency
    QTest::addColumn<double>("tolerance");

    QTest::addRow("closed form, drop lowest")
        << 150.0 << 7 << int(DropLow) << true << true << 1e-14;
    QTest::addRow("closed form, both")
        << 150.0 << 7 << int(DropLow | DropHigh) << true << true << 1e-14;
    QTest::addRow("closed form, drop highest, many faces")
        << 1000.0 << 5 << int(DropHigh) << true << true << 1e-14;
    QTest::addRow("pruned windows, 50 dice")
        << 30.0 << 50 << int(DropLow | DropHigh) << false << true << 1e-14;
    QTest::addRow("pruned, 30 equal dice, both")
        << 150.0 << 30 << int(DropLow | DropHigh) << true << true << 1e-14;
    QTest::addRow("centred powers, 12 dice")
        << 30.0 << 12 << int(DropLow | DropHigh) << false << true << 1e-14;
    QTest::addRow("the grid at 160 faces, both")
        << 160.0 << 20 << int(DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("the grid at 161 faces, drop lowest")
        << 161.0 << 10 << int(DropLow) << true << false << 1e-12;
    QTest::addRow("the grid at 161 faces, reroll, both")
        << 161.0 << 5 << int(Reroll | DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("the grid of -160 sides, both")
        << -160.0 << 5 << int(DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("the grid of -170 sides, drop highest")
        << -170.0 << 6 << int(DropHigh) << true << false << 1e-12;
    QTest::addRow("the grid of -590 sides, 9 dice, both")
        << -590.0 << 9 << int(DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("first order, -1600 sides, 5 dice, both")
        << -1600.0 << 5 << int(DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("first order, -1400 sides, 6 dice, reroll, both")
        << -1400.0 << 6 << int(Reroll | DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("first order, -3000 sides, 24 dice, both")
        << -3000.0 << 24 << int(DropLow | DropHigh) << true << false << 1e-12;
    QTest::addRow("two kept of 511 faces") << 511.0 << 3 << int(DropLow) << true << false << 1e-12;
    QTest::addRow("one kept of 1000 faces")
        << 1000.0 << 2 << int(DropHigh) << true << false << 1e-12;
    QTest::addRow("21d1000 drop lowest") << 1000.0 << 21 << int(DropLow) << true << false << 1e-12;
}

void tst_roll_odds::methodsAgree() {
    QFETCH(double, sides);
    QFETCH(int, dice);
    QFETCH(int, flags);
    QFETCH(bool, equalFaces);
    QFETCH(bool, longWayExact);
    QFETCH(double, tolerance);

    const RollOptions o = options(flags);
    const DieFaces die = dieFaces(sides, o.rerollOnes, 1 << 20);
    const auto n = static_cast<unsigned>(dice);
    std::vector<double> fast;
    if (longWayExact) { // the same faces, each shortcut against none
        const FaceWeights faces{
            equalFaces ? std::vector<double>(die.weights.size(), 1.0 / die.weights.size())
                       : die.weights,
            equalFaces};
        fast = *keptSumDistribution(faces, n, o.dropLowest, o.dropHighest);
        const auto slow = *keptSumDistribution(faces, n, o.dropLowest, o.dropHighest, {},
                                               {/*closedForms*/ false, /*pruning*/ false,
                                                /*centredPowers*/ false});
        for (std::size_t i = 0; i < fast.size(); ++i)
            QVERIFY2(std::fabs(fast[i] - slow[i]) < tolerance, qPrintable(QString::number(i)));
        return;
    }
    // The odds as rollOdds gives them (equally likely faces standing in for many kept dice, the
    // order statistics taken directly for one or two) against the grid by its spectrum.
    const QByteArray formula = QByteArray::number(dice) + "d" + QByteArray::number(sides) + "+0";
    const RollOdds odds = oddsOf(formula.constData(), "", flags);
    QVERIFY(odds.exact);
    const std::vector<double> exact = bySpectrum({die.weights, false}, n, o);
    QCOMPARE(odds.probabilities.size(), exact.size());
    double largest = 0, below = 0, above = 1;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        below += exact[i];
        largest = std::max({largest, std::fabs(odds.probabilities[i] - exact[i]),
                            std::fabs(odds.cumulative[i] - below),
                            std::fabs(odds.upperCumulative[i] - above)});
        above -= exact[i];
    }
    QVERIFY2(largest < tolerance, qPrintable(QString::number(largest)));
}

void tst_roll_odds::rollsStayWithinTheOdds_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<int>("flags");

    QTest::addRow("3d6") << QByteArray("3d6") << QByteArray() << 0;
    QTest::addRow("4d6 drop lowest") << QByteArray("4d6") << QByteArray() << int(DropLow);
    QTest::addRow("10d10 everything")
        << QByteArray("10d10") << QByteArray("-7") << int(Reroll | DropLow | DropHigh);
    QTest::addRow("negative sides") << QByteArray("5d-7+1") << QByteArray() << int(DropHigh);
    QTest::addRow("3d0 reroll") << QByteArray("3d0") << QByteArray() << int(Reroll);
    QTest::addRow("one negative die") << QByteArray("1d-4+0") << QByteArray("+1") << int(Reroll);
    QTest::addRow("20d1000 both") << QByteArray("20d1000") << QByteArray()
                                  << int(DropLow | DropHigh);
    QTest::addRow("count 0") << QByteArray("d6") << QByteArray("+2") << int(DropLow);
    QTest::addRow("3d-100000 drop lowest")
        << QByteArray("3d-100000+0") << QByteArray() << int(DropLow);
}

// Every total a roll shows is one the odds call possible, with a chance above nil, and the
// mean of many rolls lies near the odds' mean; the lowest and highest totals can be rolled.
void tst_roll_odds::rollsStayWithinTheOdds() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(int, flags);

    const RollOdds odds = oddsOf(formula.constData(), add.constData(), flags);
    QCOMPARE(odds.ending, OddsEnding::Distribution);
    Generator generator(1);
    generator.seed(1234.5f);
    const RollRequest request =
        readRollRequest({formula.toStdString(), add.toStdString(), "1000"}).request;
    RollRecord record;
    double sum = 0;
    int rolls = 0;
    for (int i = 0; i < 10; ++i) {
        rollDice(request, options(flags), generator, record);
        const std::vector<double>& totals = record.totals();
        QCOMPARE(totals.size(), std::size_t{1000});
        for (double total : totals) {
            QVERIFY2(odds.possible(total) && odds.exactly(total) > 0,
                     qPrintable(QString::number(total)));
            sum += total;
            ++rolls;
        }
    }
    const double spread = 5 * odds.standardDeviation / std::sqrt(rolls);
    QVERIFY(std::fabs(sum / rolls - odds.mean) <= spread + 1e-9);

    // Every die at its lowest face, then every die at its highest.
    const RollRequest once =
        readRollRequest({formula.toStdString(), add.toStdString(), ""}).request;
    const std::map<double, double> faces = faceChances(once.sides, options(flags).rerollOnes);
    const auto faceTwo =
        static_cast<std::int64_t>(std::ceil(grid / std::max(1.0, std::fabs(once.sides))));
    for (double face : {faces.begin()->first, faces.rbegin()->first}) {
        std::int64_t k = grid - 1;
        for (std::int64_t step : {std::int64_t{0}, std::int64_t{1}, faceTwo}) {
            if (faceAtStep(once.sides, step) == face)
                k = step;
        }
        QCOMPARE(faceAtStep(once.sides, k), face);
        ScriptedRandom scripted(std::vector<float>(
            static_cast<std::size_t>(std::max(once.count, 1.0)),
            static_cast<float>(static_cast<double>(k) / static_cast<double>(grid))));
        rollDice(once, options(flags), scripted, record);
        const double total = record.totals().front();
        QCOMPARE(total, face == faces.begin()->first ? odds.lowest : odds.highest);
    }
}

void tst_roll_odds::stopToken() {
    std::stop_source source;
    source.request_stop();
    const RollOdds odds =
        rollOdds({"1000d1000", "", ""}, options(DropLow | DropHigh), source.get_token());
    QCOMPARE(odds.ending, OddsEnding::Stopped);
}

void tst_roll_odds::logReader_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("records"); // which records of the log count
    QTest::addColumn<int>("cutShort");

    // The log below: 0 3d6 twice; 1 3d6 drop lowest; 2 (3d6)+2; 3 2d6 both drops (refused);
    // 4 3d6 six times, cut short; 5 3d6 once; 6 1d20 rerolled three times; 7 1d20 once;
    // 8 3d6 with LF line ends; 9 3d6 drop lowest whose notes were lost; 10 d6 with drops.
    QTest::addRow("3d6") << QByteArray("3d6") << QByteArray() << 0 << QList<int>{0, 5, 8} << 2;
    QTest::addRow("3d6 drop lowest")
        << QByteArray("3d6") << QByteArray() << int(DropLow) << QList<int>{1} << 2;
    QTest::addRow("(3d6)+2") << QByteArray("3d6") << QByteArray("2") << 0 << QList<int>{2} << 0;
    QTest::addRow("2d6 both drops")
        << QByteArray("2d6") << QByteArray() << int(DropLow | DropHigh) << QList<int>{3} << 0;
    QTest::addRow("1d20 reroll, drops do not matter")
        << QByteArray("1d20") << QByteArray() << int(Reroll | DropLow) << QList<int>{6} << 0;
    QTest::addRow("1d20") << QByteArray("1d20") << QByteArray() << 0 << QList<int>{7} << 0;
    QTest::addRow("d6, no dice") << QByteArray("d6") << QByteArray() << 0 << QList<int>{10} << 0;
    QTest::addRow("3D6 rolls what 3d6 rolls")
        << QByteArray("3D6") << QByteArray() << 0 << QList<int>{0, 5, 8} << 2;
    QTest::addRow("003d006+0 too")
        << QByteArray("003d006+0") << QByteArray() << 0 << QList<int>{0, 5, 8} << 2;
    QTest::addRow("(3D6)+002") << QByteArray("3D6") << QByteArray("+002") << 0 << QList<int>{2}
                               << 0;
}

void tst_roll_odds::logReader() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(int, flags);
    QFETCH(QList<int>, records);
    QFETCH(int, cutShort);

    Generator generator(2);
    generator.seed(42.0f);
    const std::vector<RollRecord> rolled = {
        recordOf("3d6", "", "2", 0, generator),
        recordOf("3d6", "", "", DropLow, generator),
        recordOf("3d6", "2", "", 0, generator),
        recordOf("2d6", "", "3", DropLow | DropHigh, generator),
        recordOf("3d6", "", "6", 0, generator),
        recordOf("3d6", "", "", 0, generator),
        recordOf("1d20", "", "3", Reroll, generator),
        recordOf("1d20", "", "", 0, generator),
        recordOf("3d6", "", "", 0, generator),
        recordOf("3d6", "", "4", DropLow, generator),
        recordOf("d6", "", "2", DropLow | DropHigh, generator),
    };
    std::vector<std::string> log;
    for (const RollRecord& record : rolled)
        log.push_back(record.text());
    log[4].resize(log[4].size() / 2); // cut short mid-line; the next append starts a new line
    log[4] += "\r\n";
    log[8].erase(std::remove(log[8].begin(), log[8].end(), '\r'), log[8].end());
    log[9].resize(log[9].find("Dropped the lowest result."));
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("rolllog.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    // After record 7, a line longer than a block and no record's.
    const std::string longLine = std::string(logReadBlock + longestLogLine + 1, 'x') + "\r\n";
    for (std::size_t i = 0; i < log.size(); ++i) {
        file.write(log[i].data(), static_cast<qint64>(log[i].size()));
        if (i == 7)
            file.write(longLine.data(), static_cast<qint64>(longLine.size()));
    }
    file.close();

    const RollRequest request =
        readRollRequest({formula.toStdString(), add.toStdString(), ""}).request;
    double lastProgress = 0;
    const LogReadResult read = readLoggedRolls(file.fileName(), request, options(flags),
                                               [&](double p) { lastProgress = p; });
    QVERIFY(read.ok);
    QCOMPARE(lastProgress, 1.0);
    std::vector<double> expected;
    for (int i : records) {
        const std::vector<double>& totals = rolled[static_cast<std::size_t>(i)].totals();
        expected.insert(expected.end(), totals.begin(), totals.end());
    }
    QCOMPARE(read.rolls.totals, expected);
    QCOMPARE(read.rolls.records, static_cast<std::size_t>(records.size()));
    QCOMPARE(read.rolls.skippedCutShort, static_cast<std::size_t>(cutShort));
    QVERIFY(read.mostBytesHeld <= logReadBlock + longestLogLine);
}

void tst_roll_odds::logFailures() {
    QTemporaryDir dir;
    const RollRequest request = readRollRequest({"3d6", "", ""}).request;
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    LogReadResult read = readLoggedRolls(missing, request, {});
    QVERIFY(!read.ok);
    QVERIFY(read.failure.contains(missing));
    read = readLoggedRolls(dir.path(), request, {});
    QVERIFY(!read.ok);
    QVERIFY(read.failure.contains(QStringLiteral("folder")));
}

void tst_roll_odds::chiSquarePValues_data() {
    QTest::addColumn<double>("statistic");
    QTest::addColumn<int>("degreesOfFreedom");
    QTest::addColumn<double>("p");

    QTest::addRow("nothing") << 0.0 << 3 << 1.0;
    QTest::addRow("five percent at 1") << 3.841458820694124 << 1 << 0.05;
    QTest::addRow("half at 1") << 0.5 << 1 << 0.4795001221869535;
    QTest::addRow("exp at 2") << 10.0 << 2 << 0.006737946999085467;
    QTest::addRow("tail at 4") << 40.0 << 4 << 4.328422607120971e-8;
    QTest::addRow("at 10") << 18.0 << 10 << 0.0549636414951049;
    QTest::addRow("high at 1000") << 1100.0 << 1000 << 0.014614408126295194;
    QTest::addRow("low at 1000") << 900.0 << 1000 << 0.9892827619087103;
}

void tst_roll_odds::chiSquarePValues() {
    QFETCH(double, statistic);
    QFETCH(int, degreesOfFreedom);
    QFETCH(double, p);
    QVERIFY(std::fabs(chiSquarePValue(statistic, degreesOfFreedom) - p) <=
            1e-12 * std::max(p, 1e-3));
}

void tst_roll_odds::fairness_data() {
    QTest::addColumn<QList<double>>("totals"); // each a roll of 3d6
    QTest::addColumn<bool>("enough");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("commaLocale"); // run where the locale writes a decimal comma

    QList<double> fair; // 2160 rolls in exactly the expected proportions
    const RollOdds odds = oddsOf("3d6", "", 0);
    for (double t = 3; t <= 18; ++t)
        fair.append(QList<double>(static_cast<qsizetype>(std::lround(2160 * odds.exactly(t))), t));
    QTest::addRow("fair") << fair << true
                          << QByteArray("2160 rolls of 3d6: consistent with fair dice, p = 1")
                          << false;
    QTest::addRow("all 18") << QList<double>(200, 18.0) << true
                            << QByteArray("200 rolls of 3d6: unlikely from fair dice, p < 0.001")
                            << false;
    // The sum of three rolls is that of 9d6: P(sum <= 30) = 0.4239, doubled.
    QTest::addRow("few, middling")
        << QList<double>{10, 11, 9} << true
        << QByteArray("3 rolls of 3d6: their sum is consistent with "
                      "fair dice, p = 0.85 (too few rolls to judge each total)")
        << false;
    QTest::addRow("few, middling, decimal comma")
        << QList<double>{10, 11, 9} << true
        << QByteArray("3 rolls of 3d6: their sum is consistent with "
                      "fair dice, p = 0.85 (too few rolls to judge each total)")
        << true;
    QTest::addRow("few, all 18") << QList<double>{18, 18, 18} << true
                                 << QByteArray(
                                        "3 rolls of 3d6: their sum is unlikely from fair "
                                        "dice, p < 0.001 (too few rolls to judge each total)")
                                 << false;
    // Ten rolls would just expect five on each side of 10.5, were it not for the generator's grid.
    QTest::addRow("none") << QList<double>{} << false
                          << QByteArray(
                                 "No rolls of 3d6 in the log yet; about 11 are needed to judge.")
                          << false;
    QTest::addRow("impossible") << QList<double>{10, 19} << true
                                << QByteArray("2 rolls of 3d6: 1 total that these dice cannot "
                                              "make; not from these dice.")
                                << false;
}

void tst_roll_odds::fairness() {
    QFETCH(QList<double>, totals);
    QFETCH(bool, enough);
    QFETCH(QByteArray, text);
    QFETCH(bool, commaLocale);
    QTemporaryDir locales;
    const auto backToC = qScopeGuard([] {
        std::setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
    });
    if (commaLocale) {
        // German, made here from the system's locale sources: few systems have it built.
        const QString german = locales.filePath(QStringLiteral("de_DE.UTF-8"));
        if (QProcess::execute(QStringLiteral("localedef"),
                              {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                               QStringLiteral("UTF-8"), german}) != 0)
            QSKIP("localedef could not make the de_DE.UTF-8 locale");
        qputenv("LOCPATH", QFile::encodeName(locales.path()));
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("the de_DE.UTF-8 locale could not be set");
        char half[8];
        std::snprintf(half, sizeof half, "%.1f", 0.5);
        QCOMPARE(QByteArray(half), QByteArray("0,5")); // the locale does write a decimal comma
    }

    LoggedRolls rolls;
    rolls.totals.assign(totals.begin(), totals.end());
    const FairnessVerdict verdict = judgeFairness(oddsOf("3d6", "", 0), rolls);
    QCOMPARE(verdict.enoughRolls, enough);
    QCOMPARE(QByteArray::fromStdString(verdict.text), text);
    QCOMPARE(verdict.rolls, static_cast<std::size_t>(totals.size()));
}

QTEST_GUILESS_MAIN(tst_roll_odds)
#include "tst_roll_odds.moc"

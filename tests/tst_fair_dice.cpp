// The dice are fair: chi-square goodness of fit at a significance level of 0.001, with fixed
// seeds and fixed bits in place of the operating system's, over enough draws that one percent of
// the probability moved between faces would be detected.
#include "mini_rolls.h"
#include "random_source.h"
#include "roll_dice.h"
#include "roll_request.h"

#include <QTest>

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr float seedA = 12345.678f;
constexpr float seedB = 45296.25f;
constexpr std::uint64_t fixedBits = 0x5eed'f00d'cafe'd1ceULL;

// The chi-square value that a fair die exceeds with probability 0.001 (Wilson-Hilferty).
double criticalValue(int degreesOfFreedom) {
    constexpr double z = 3.090232; // upper 0.001 point of the normal distribution
    const double k = degreesOfFreedom;
    const double h = 2.0 / (9.0 * k);
    return k * std::pow(1.0 - h + z * std::sqrt(h), 3);
}

// counts[v] for the outcomes v, against expected probabilities.
double chiSquare(const std::map<long, long>& counts, const std::map<long, double>& expected,
                 long draws) {
    double chi = 0;
    for (const auto& [value, probability] : expected) {
        const auto found = counts.find(value);
        const double observed = found == counts.end() ? 0.0 : static_cast<double>(found->second);
        const double e = probability * static_cast<double>(draws);
        chi += (observed - e) * (observed - e) / e;
    }
    return chi;
}

std::map<long, double> uniform(long low, long high) {
    std::map<long, double> p;
    for (long v = low; v <= high; ++v)
        p[v] = 1.0 / static_cast<double>(high - low + 1);
    return p;
}

// Enough draws for every die: 1% of the mass moved shows as a chi-square far past the
// critical value even for two faces, and every face is expected at least 200 times.
long drawsFor(long faces) {
    return std::max(120000L, 200 * faces);
}

long parseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void verifyFair(const std::map<long, long>& counts, const std::map<long, double>& expected,
                long draws) {
    for (const auto& [value, count] : counts)
        QVERIFY2(expected.count(value),
                 qPrintable(QStringLiteral("impossible outcome %1").arg(value)));
    const double chi = chiSquare(counts, expected, draws);
    const double limit = criticalValue(static_cast<int>(expected.size()) - 1);
    QVERIFY2(chi < limit,
             qPrintable(QStringLiteral("chi-square %1 exceeds %2").arg(chi).arg(limit)));
}

} // namespace

class tst_fair_dice : public QObject {
    Q_OBJECT
private slots:
    void rollOneDieIsUniform_data();
    void rollOneDieIsUniform();
    void rerolledFacesAreUniformFromTwo_data();
    void rerolledFacesAreUniformFromTwo();
    void miniRollerKindsAreFair_data();
    void miniRollerKindsAreFair();
    void theTestNoticesABiasedDie();
    void seedsDecideTheSequence();
    void generatorsSeededAlikeDiffer();
};

void tst_fair_dice::rollOneDieIsUniform_data() {
    QTest::addColumn<int>("sides");
    for (int sides : {2, 3, 4, 5, 6, 8, 10, 12, 20, 100, 1000})
        QTest::addRow("d%d", sides) << sides;
}

void tst_fair_dice::rollOneDieIsUniform() {
    QFETCH(int, sides);
    Generator generator(fixedBits);
    generator.seed(seedA + static_cast<float>(sides));
    const long draws = drawsFor(sides);
    std::map<long, long> counts;
    for (long i = 0; i < draws; ++i)
        ++counts[static_cast<long>(rollOneDie(sides, 0, generator).face)];
    verifyFair(counts, uniform(1, sides), draws);
}

void tst_fair_dice::rerolledFacesAreUniformFromTwo_data() {
    QTest::addColumn<int>("sides");
    for (int sides : {3, 6, 20, 100})
        QTest::addRow("d%d", sides) << sides;
}

// Through the whole roll: the die lines of 1000 dice with "Reroll 1's", read back.
void tst_fair_dice::rerolledFacesAreUniformFromTwo() {
    QFETCH(int, sides);
    Generator generator(fixedBits);
    generator.seed(seedB + static_cast<float>(sides));
    RollRequest request;
    request.count = 1000;
    request.sides = sides;
    request.displayFormula = "1000d" + std::to_string(sides);
    RollRecord record;
    std::map<long, long> counts;
    long draws = 0;
    while (draws < drawsFor(sides - 1)) {
        rollDice(request, RollOptions{true, false, false, false}, generator, record);
        std::string_view text = record.text();
        while (!text.empty()) {
            const std::size_t end = text.find("\r\n");
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end + 2);
            if (const std::size_t mark = line.find(")> ");
                line.starts_with('d') && mark != line.npos) {
                ++counts[parseNumber(line.substr(mark + 3))];
                ++draws;
            }
        }
    }
    verifyFair(counts, uniform(2, sides), draws);
}

void tst_fair_dice::miniRollerKindsAreFair_data() {
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<bool>("threeDice");
    const int sidesOfKey[] = {20, 2, 3, 4, 5, 6, 0, 8, 0, 10, 100, 12};
    for (int k = 0; k < 12; ++k) {
        if (sidesOfKey[k] != 0)
            QTest::addRow("F%d d%d", k + 1, sidesOfKey[k])
                << 112 + k << 1 << sidesOfKey[k] << false;
    }
    QTest::addRow("F7 d4+1") << 118 << 2 << 5 << false;
    QTest::addRow("F9 3d6") << 120 << 3 << 18 << true;
}

void tst_fair_dice::miniRollerKindsAreFair() {
    QFETCH(int, keyCode);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(bool, threeDice);

    std::map<long, double> expected = uniform(low, high);
    if (threeDice) {
        expected.clear();
        for (int a = 1; a <= 6; ++a)
            for (int b = 1; b <= 6; ++b)
                for (int c = 1; c <= 6; ++c)
                    expected[a + b + c] += 1.0 / 216.0;
    }

    Generator generator(fixedBits);
    generator.seed(seedA + static_cast<float>(keyCode));
    const long draws = drawsFor(high - low + 1);
    std::map<long, long> counts;
    for (long i = 0; i < draws; ++i)
        ++counts[parseNumber(rollForFunctionKey(keyCode, generator)->num)];
    verifyFair(counts, expected, draws);
}

// The same measure rejects a six-sided die with one percent of the mass moved from 1 to 6, so
// the draw counts above are large enough to catch such a fault.
void tst_fair_dice::theTestNoticesABiasedDie() {
    Generator generator(fixedBits);
    generator.seed(seedA);
    const long draws = drawsFor(6);
    std::map<long, long> counts;
    for (long i = 0; i < draws; ++i) {
        const float r = generator.next();
        long face = static_cast<long>(std::floor(6.0 * r)) + 1;
        if (face == 1 && generator.next() < 0.06f)
            face = 6; // 6% of the ones, i.e. 1% of all rolls, become sixes
        ++counts[face];
    }
    const double chi = chiSquare(counts, uniform(1, 6), draws);
    QVERIFY2(chi > criticalValue(5), qPrintable(QString::number(chi)));
}

void tst_fair_dice::seedsDecideTheSequence() {
    const auto sequence = [](float seed) {
        Generator generator(fixedBits);
        generator.seed(seed);
        std::vector<float> values(64);
        for (float& v : values)
            v = generator.next();
        return values;
    };
    QCOMPARE(sequence(seedA), sequence(seedA));
    QVERIFY(sequence(seedA) != sequence(seedB));
    // Clock readings a millisecond apart still start different sequences.
    QVERIFY(sequence(100.0f) != sequence(100.001f));
    for (float r : sequence(seedB))
        QVERIFY(r >= 0.0f && r < 1.0f);
}

// Two programs re-seeding in the same instant (or one generator whose clock reading is known)
// must not roll the same dice: each generator mixes bits of its own into every seed.
void tst_fair_dice::generatorsSeededAlikeDiffer() {
    Generator first;
    Generator second;
    first.seed(seedA);
    second.seed(seedA);
    std::vector<float> a(64), b(64);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = first.next();
        b[i] = second.next();
    }
    QVERIFY(a != b);
}

QTEST_GUILESS_MAIN(tst_fair_dice)
#include "tst_fair_dice.moc"

#include "roll_dice.h"
#include "roll_request.h"

#include "record_text.h"
#include "scripted_random.h"

#include <QTest>

#include <cmath>

namespace {

enum Option { Reroll = 1, DropLow = 2, DropHigh = 4, HideDice = 8 };

RollOptions options(int flags) {
    return {(flags & Reroll) != 0, (flags & DropLow) != 0, (flags & DropHigh) != 0,
            (flags & HideDice) != 0};
}

// The r values that make a die of the given sides show these faces.
QList<float> faces(double sides, std::initializer_list<int> shown) {
    QList<float> r;
    for (int face : shown)
        r.append(static_cast<float>((face - 0.5) / sides));
    return r;
}

} // namespace

class tst_roll_dice : public QObject {
    Q_OBJECT

private slots:
    void rollOneDieFaces_data();
    void rollOneDieFaces();
    void record_data();
    void record();
    void recordIsRebuiltEachRoll();
};

void tst_roll_dice::rollOneDieFaces_data() {
    QTest::addColumn<double>("sides");
    QTest::addColumn<double>("modifier");
    QTest::addColumn<float>("r");
    QTest::addColumn<double>("face");
    QTest::addColumn<double>("value");

    QTest::addRow("d6 lowest r") << 6.0 << 0.0 << 0.0f << 1.0 << 1.0;
    QTest::addRow("d6 highest r") << 6.0 << 0.0 << 0.99999994f << 6.0 << 6.0;
    QTest::addRow("d6 just below a face") << 6.0 << 0.0 << 0.33f << 2.0 << 2.0;
    QTest::addRow("d6 with modifier") << 6.0 << 1.0 << 0.5f << 4.0 << 5.0;
    QTest::addRow("d6 with negative modifier") << 6.0 << -1.0 << 0.0f << 1.0 << 0.0;
    QTest::addRow("d1000 highest r") << 1000.0 << 0.0 << 0.99999994f << 1000.0 << 1000.0;
    QTest::addRow("no sides") << 0.0 << 0.0 << 0.7f << 1.0 << 1.0;
    QTest::addRow("negative sides, r 0") << -6.0 << 0.0 << 0.0f << 1.0 << 1.0;
    QTest::addRow("negative sides, r 0.5") << -6.0 << 2.0 << 0.5f << -2.0 << 0.0;
    QTest::addRow("negative sides, highest r") << -6.0 << 0.0 << 0.99999994f << -5.0 << -5.0;
}

void tst_roll_dice::rollOneDieFaces() {
    QFETCH(double, sides);
    QFETCH(double, modifier);
    QFETCH(float, r);
    QFETCH(double, face);
    QFETCH(double, value);

    ScriptedRandom random;
    random.raw({r});
    const DieRoll die = rollOneDie(sides, modifier, random);
    QCOMPARE(die.face, face);
    QCOMPARE(die.value, value);
}

void tst_roll_dice::record_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<QByteArray>("times");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<float>>("script");
    QTest::addColumn<QByteArray>("expected");

    const char* dbl = doubleRuleLine;
    const char* sgl = singleRuleLine;

    QTest::addRow("2d6 reroll example")
        << QByteArray("2d6") << QByteArray() << QByteArray() << int(Reroll) << faces(6, {1, 4, 5})
        << QByteArray("Rolled: 2d6\r\n"
                      "==========================\r\n"
                      "Total:  9\r\n"
                      "d6(1)>  4\r\n"
                      "d6(2)>  5\r\n"
                      "--------------------------\r\n"
                      "Rerolled all 1's.\r\n"
                      "==========================\r\n");

    QTest::addRow("4d6+1 drop lowest with +2")
        << QByteArray("4d6+1") << QByteArray("+2") << QByteArray() << int(DropLow)
        << faces(6, {3, 5, 2, 6})
        << recordLines({"Rolled: (4d6+1)+2", dbl, "Total:  19", "Dropped the Result of: 3",
                        "d6(1)>  4", "d6(2)>  6", "d6(3)>  3", "d6(4)>  7", sgl,
                        "Dropped the lowest result.", dbl});

    QTest::addRow("2d6 both drops")
        << QByteArray("2d6") << QByteArray() << QByteArray() << int(DropLow | DropHigh)
        << faces(6, {3, 4})
        << recordLines({"Rolled: 2d6", dbl, "Can't drop both dice!", sgl,
                        "Dropped the highest result.", "Dropped the lowest result.", dbl});

    QTest::addRow("2d6 both drops twice")
        << QByteArray("2d6") << QByteArray() << QByteArray("2") << int(DropLow | DropHigh)
        << faces(6, {3, 4, 6, 6})
        << recordLines({"Rolled: 2d6 2 times.", dbl, "Can't drop both dice!", sgl,
                        "Can't drop both dice!", sgl, "Dropped the highest result.",
                        "Dropped the lowest result.", dbl});

    QTest::addRow("3d6 both drops keeps the middle")
        << QByteArray("3d6") << QByteArray() << QByteArray() << int(DropLow | DropHigh)
        << faces(6, {2, 5, 4})
        << recordLines({"Rolled: 3d6", dbl, "Total:  4", "Dropped the Result of: 5",
                        "Dropped the Result of: 2", "d6(1)>  2", "d6(2)>  5", "d6(3)>  4", sgl,
                        "Dropped the highest result.", "Dropped the lowest result.", dbl});

    QTest::addRow("3d6 both drops, all equal")
        << QByteArray("3d6") << QByteArray() << QByteArray() << int(DropLow | DropHigh)
        << faces(6, {3, 3, 3})
        << recordLines({"Rolled: 3d6", dbl, "Total:  3", "Dropped the Result of: 3",
                        "Dropped the Result of: 3", "d6(1)>  3", "d6(2)>  3", "d6(3)>  3", sgl,
                        "Dropped the highest result.", "Dropped the lowest result.", dbl});

    QTest::addRow("4d10 drop lowest")
        << QByteArray("4d10") << QByteArray() << QByteArray() << int(DropLow)
        << faces(10, {3, 10, 7, 5})
        << recordLines({"Rolled: 4d10", dbl, "Total:  22", "Dropped the Result of: 3", "d10(1)>  3",
                        "d10(2)>  10", "d10(3)>  7", "d10(4)>  5", sgl,
                        "Dropped the lowest result.", dbl});

    QTest::addRow("4d10 drop highest")
        << QByteArray("4d10") << QByteArray() << QByteArray() << int(DropHigh)
        << faces(10, {3, 10, 7, 5})
        << recordLines({"Rolled: 4d10", dbl, "Total:  15", "Dropped the Result of: 10",
                        "d10(1)>  3", "d10(2)>  10", "d10(3)>  7", "d10(4)>  5", sgl,
                        "Dropped the highest result.", dbl});

    QTest::addRow("drop of a negative value")
        << QByteArray("2d6-5") << QByteArray() << QByteArray() << int(DropLow) << faces(6, {1, 6})
        << recordLines({"Rolled: 2d6-5", dbl, "Total:  1", "Dropped the Result of: -4", "d6(1)> -4",
                        "d6(2)>  1", sgl, "Dropped the lowest result.", dbl});

    QTest::addRow("3d6 don't show dice")
        << QByteArray("3d6") << QByteArray() << QByteArray() << int(HideDice) << faces(6, {4, 6, 1})
        << recordLines({"Rolled: 3d6", dbl, "Total:  11", sgl});

    QTest::addRow("3d6 don't show dice, drop lowest")
        << QByteArray("3d6") << QByteArray() << QByteArray() << int(HideDice | DropLow)
        << faces(6, {4, 6, 1})
        << recordLines({"Rolled: 3d6", dbl, "Total:  10", "Dropped the Result of: 1", sgl,
                        "Dropped the lowest result.", dbl});

    QTest::addRow("1d6 don't show dice keeps the result")
        << QByteArray("1d6") << QByteArray() << QByteArray() << int(HideDice) << faces(6, {4})
        << recordLines({"Rolled: 1d6", dbl, "d6>  4", sgl});

    QTest::addRow("count 0") << QByteArray("d6") << QByteArray("+3") << QByteArray() << 0
                             << QList<float>()
                             << recordLines({"Rolled: (d6)+3", dbl, "Total:  3", sgl});

    QTest::addRow("count 0, empty add")
        << QByteArray("0d20") << QByteArray() << QByteArray("2") << 0 << QList<float>()
        << recordLines({"Rolled: 0d20 2 times.", dbl, "Total:  0", sgl, "Total:  0", sgl});

    QTest::addRow("count 0, drop boxes")
        << QByteArray("d6") << QByteArray("-2") << QByteArray() << int(DropLow | DropHigh)
        << QList<float>() << recordLines({"Rolled: (d6)-2", dbl, "Total: -2", sgl});

    QTest::addRow("3d0 every face 1")
        << QByteArray("3d0") << QByteArray() << QByteArray() << 0 << QList<float>{0.0f, 0.5f, 0.99f}
        << recordLines(
               {"Rolled: 3d0", dbl, "Total:  3", "d0(1)>  1", "d0(2)>  1", "d0(3)>  1", sgl});

    QTest::addRow("3d with reroll does not hang")
        << QByteArray("3d") << QByteArray() << QByteArray() << int(Reroll)
        << QList<float>{0.0f, 0.5f, 0.99f}
        << recordLines({"Rolled: 3d", dbl, "Total:  3", "d0(1)>  1", "d0(2)>  1", "d0(3)>  1", sgl,
                        "Rerolled all 1's.", dbl});

    QTest::addRow("1d0 with reroll does not hang")
        << QByteArray("1d0+2") << QByteArray() << QByteArray() << int(Reroll) << QList<float>{0.3f}
        << recordLines({"Rolled: 1d0+2", dbl, "d0>  3", "Rerolled all 1's.", sgl});

    QTest::addRow("1d20+1 with +2")
        << QByteArray("1d20+1") << QByteArray("+2") << QByteArray() << 0 << faces(20, {13})
        << recordLines({"Rolled: (1d20+1)+2", dbl, "d20>  16", sgl});

    QTest::addRow("1d20 with -20")
        << QByteArray("1d20") << QByteArray("-20") << QByteArray() << 0 << faces(20, {13})
        << recordLines({"Rolled: (1d20)-20", dbl, "d20> -7", sgl});

    QTest::addRow("1d6 drop lowest drops nothing")
        << QByteArray("1d6") << QByteArray() << QByteArray() << int(DropLow) << faces(6, {2})
        << recordLines({"Rolled: 1d6", dbl, "d6>  2", sgl});

    QTest::addRow("1d6 every option: no closing notes")
        << QByteArray("1d6") << QByteArray() << QByteArray("2")
        << int(Reroll | DropLow | DropHigh | HideDice) << faces(6, {1, 1, 3, 6})
        << recordLines({"Rolled: 1d6 2 times.", dbl, "d6>  3", "Rerolled all 1's.", sgl, "d6>  6",
                        "Rerolled all 1's.", sgl});

    QTest::addRow("2d6 drop lowest drops one")
        << QByteArray("2d6") << QByteArray() << QByteArray() << int(DropLow) << faces(6, {5, 2})
        << recordLines({"Rolled: 2d6", dbl, "Total:  5", "Dropped the Result of: 2", "d6(1)>  5",
                        "d6(2)>  2", sgl, "Dropped the lowest result.", dbl});

    QTest::addRow("3d6-1 reroll: no value 0 stands")
        << QByteArray("3d6-1") << QByteArray() << QByteArray() << int(Reroll)
        << faces(6, {1, 2, 1, 1, 6, 3})
        << recordLines({"Rolled: 3d6-1", dbl, "Total:  8", "d6(1)>  1", "d6(2)>  5", "d6(3)>  2",
                        sgl, "Rerolled all 1's.", dbl});

    QTest::addRow("1d6-1 reroll: no value 0 stands")
        << QByteArray("1d6-1") << QByteArray() << QByteArray() << int(Reroll) << faces(6, {1, 1, 2})
        << recordLines({"Rolled: 1d6-1", dbl, "d6>  1", "Rerolled all 1's.", sgl});

    QTest::addRow("3d6 six times heading")
        << QByteArray("3d6") << QByteArray() << QByteArray("6") << int(HideDice)
        << faces(6, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6})
        << recordLines({"Rolled: 3d6 6 times.", dbl, "Total:  3", sgl, "Total:  6", sgl,
                        "Total:  9", sgl, "Total:  12", sgl, "Total:  15", sgl, "Total:  18", sgl});

    QTest::addRow("two repetitions with add and notes")
        << QByteArray("2D8") << QByteArray("-1") << QByteArray("02") << int(DropHigh)
        << faces(8, {8, 1, 4, 4})
        << recordLines({"Rolled: (2D8)-1 2 times.", dbl, "Total:  0", "Dropped the Result of: 8",
                        "d8(1)>  8", "d8(2)>  1", sgl, "Total:  3", "Dropped the Result of: 4",
                        "d8(1)>  4", "d8(2)>  4", sgl, "Dropped the highest result.", dbl});

    QTest::addRow("times 1 keeps the one-repetition heading")
        << QByteArray("2d4") << QByteArray() << QByteArray("1") << 0 << faces(4, {1, 4})
        << recordLines({"Rolled: 2d4", dbl, "Total:  5", "d4(1)>  1", "d4(2)>  4", sgl});

    QTest::addRow("negative sides")
        << QByteArray("2d-6+2") << QByteArray() << QByteArray() << 0 << QList<float>{0.0f, 0.5f}
        << recordLines({"Rolled: 2d-6+2", dbl, "Total:  3", "d-6(1)>  3", "d-6(2)>  0", sgl});
}

void tst_roll_dice::record() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(QByteArray, times);
    QFETCH(int, flags);
    QFETCH(QList<float>, script);
    QFETCH(QByteArray, expected);

    const RollRequestResult read =
        readRollRequest({formula.toStdString(), add.toStdString(), times.toStdString()});
    QCOMPARE(read.ending, RollEnding::Formed);

    ScriptedRandom random;
    random.rawRange(script);
    RollRecord record;
    rollDice(read.request, options(flags), random, record);
    QCOMPARE(QByteArray::fromStdString(record.text()), expected);
    QCOMPARE(random.remaining(), std::size_t(0)); // every scripted die was rolled
}

void tst_roll_dice::recordIsRebuiltEachRoll() {
    const RollRequest request = readRollRequest({"2d6", "", ""}).request;
    ScriptedRandom random;
    random.faces(6, {1, 2, 3, 4});
    RollRecord record;
    rollDice(request, {}, random, record);
    rollDice(request, {}, random, record);
    QCOMPARE(QByteArray::fromStdString(record.text()),
             recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  7", "d6(1)>  3", "d6(2)>  4",
                          singleRuleLine}));
}

QTEST_GUILESS_MAIN(tst_roll_dice)
#include "tst_roll_dice.moc"

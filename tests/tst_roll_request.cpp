#include "roll_request.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(RollEnding)

namespace {

RollRequestResult read(const QByteArray& formula, const QByteArray& add = {},
                       const QByteArray& times = {}) {
    return readRollRequest({formula.toStdString(), add.toStdString(), times.toStdString()});
}

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class tst_roll_request : public QObject {
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void stops_data();
    void stops();
    void parsing_data();
    void parsing();
    void addAmount_data();
    void addAmount();
    void repetitions_data();
    void repetitions();
    void hugeAmountsAreNeverInfinite();
};

void tst_roll_request::refusals_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<QByteArray>("times");
    QTest::addColumn<QByteArray>("message");

    const QByteArray formulaMsg = bytes(formulaMessage);
    const QByteArray addMsg = bytes(addMessage);
    const QByteArray timesMsg = bytes(timesMessage);
    const QByteArray huge(400, '9');

    QTest::addRow("second dice letter")
        << QByteArray("2d6d") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("leading blank")
        << QByteArray(" 3d6") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("trailing blank")
        << QByteArray("3d6 ") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("other letter") << QByteArray("3x6") << QByteArray() << QByteArray()
                                  << formulaMsg;
    QTest::addRow("letter without dice letter")
        << QByteArray("abc") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("capital and small letter")
        << QByteArray("3D6d") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("sign before letter")
        << QByteArray("-3d6") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("sum before letter")
        << QByteArray("2+3d6") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("huge modifier") << ("3d6+" + huge) << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("huge negative modifier")
        << ("3d6-" + huge) << QByteArray() << QByteArray() << formulaMsg;

    QTest::addRow("add letter") << QByteArray("3d6") << QByteArray("5a") << QByteArray() << addMsg;
    QTest::addRow("add blank inside")
        << QByteArray("3d6") << QByteArray("+ 5") << QByteArray() << addMsg;
    QTest::addRow("add lone plus")
        << QByteArray("3d6") << QByteArray("+") << QByteArray() << addMsg;
    QTest::addRow("add lone minus")
        << QByteArray("3d6") << QByteArray("-") << QByteArray() << addMsg;
    QTest::addRow("add sum") << QByteArray("3d6") << QByteArray("1+2") << QByteArray() << addMsg;
    QTest::addRow("add two signs")
        << QByteArray("3d6") << QByteArray("--3") << QByteArray() << addMsg;
    QTest::addRow("add trailing sign")
        << QByteArray("3d6") << QByteArray("3-") << QByteArray() << addMsg;
    QTest::addRow("add huge") << QByteArray("3d6") << huge << QByteArray() << addMsg;
    QTest::addRow("add huge negative")
        << QByteArray("3d6") << ("-" + huge) << QByteArray() << addMsg;

    QTest::addRow("times exponent")
        << QByteArray("3d6") << QByteArray() << QByteArray("1e3") << timesMsg;
    QTest::addRow("times sign") << QByteArray("3d6") << QByteArray() << QByteArray("+3")
                                << timesMsg;
    QTest::addRow("times blank") << QByteArray("3d6") << QByteArray() << QByteArray(" 3")
                                 << timesMsg;

    // The checks run formula, add box, count box, whichever box holds the first fault.
    QTest::addRow("formula before add")
        << QByteArray("3x6") << QByteArray("5a") << QByteArray("x") << formulaMsg;
    QTest::addRow("add before times")
        << QByteArray("3d6") << QByteArray("5a") << QByteArray("x") << addMsg;
    QTest::addRow("formula chars before empty-letter stop")
        << QByteArray("3 6") << QByteArray() << QByteArray() << formulaMsg;
    QTest::addRow("add chars before no-letter stop")
        << QByteArray("36") << QByteArray("a") << QByteArray() << addMsg;
    QTest::addRow("times chars before no-letter stop")
        << QByteArray("36") << QByteArray() << QByteArray("a") << timesMsg;
    QTest::addRow("times chars before limit")
        << QByteArray("3d1") << QByteArray() << QByteArray("x") << timesMsg;
}

void tst_roll_request::refusals() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(QByteArray, times);
    QFETCH(QByteArray, message);

    const RollRequestResult result = read(formula, add, times);
    QCOMPARE(result.ending, RollEnding::Refused);
    QCOMPARE(bytes(result.message), message);
}

void tst_roll_request::stops_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<QByteArray>("times");
    QTest::addColumn<RollEnding>("ending");

    const QByteArray huge(400, '9');

    QTest::addRow("empty formula")
        << QByteArray() << QByteArray("5a") << QByteArray("x") << RollEnding::Silent;
    QTest::addRow("no letter") << QByteArray("36") << QByteArray() << QByteArray()
                               << RollEnding::Silent;
    QTest::addRow("signs only") << QByteArray("-36+") << QByteArray() << QByteArray()
                                << RollEnding::Silent;

    QTest::addRow("sides 1") << QByteArray("3d1") << QByteArray() << QByteArray()
                             << RollEnding::AtLimit;
    QTest::addRow("sides 1 with modifier")
        << QByteArray("3d1+2") << QByteArray() << QByteArray() << RollEnding::AtLimit;
    QTest::addRow("sides 1001") << QByteArray("3d1001") << QByteArray() << QByteArray()
                                << RollEnding::AtLimit;
    QTest::addRow("count 1001") << QByteArray("1001d6") << QByteArray() << QByteArray()
                                << RollEnding::AtLimit;
    QTest::addRow("times 1001") << QByteArray("3d6") << QByteArray() << QByteArray("1001")
                                << RollEnding::AtLimit;
    QTest::addRow("huge count") << (huge + "d6") << QByteArray() << QByteArray()
                                << RollEnding::AtLimit;
    QTest::addRow("huge sides") << ("3d" + huge) << QByteArray() << QByteArray()
                                << RollEnding::AtLimit;
    QTest::addRow("huge times") << QByteArray("3d6") << QByteArray() << huge << RollEnding::AtLimit;
    // The limit comes before the add box's number is looked at.
    QTest::addRow("limit before add number")
        << QByteArray("3d1") << QByteArray("+") << QByteArray() << RollEnding::AtLimit;

    QTest::addRow("sides 1000") << QByteArray("3d1000") << QByteArray() << QByteArray()
                                << RollEnding::Formed;
    QTest::addRow("count 1000") << QByteArray("1000d6") << QByteArray() << QByteArray()
                                << RollEnding::Formed;
    QTest::addRow("times 1000") << QByteArray("3d6") << QByteArray() << QByteArray("1000")
                                << RollEnding::Formed;
}

void tst_roll_request::stops() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(QByteArray, times);
    QFETCH(RollEnding, ending);

    const RollRequestResult result = read(formula, add, times);
    QCOMPARE(result.ending, ending);
    if (ending != RollEnding::Refused)
        QVERIFY(result.message.empty());
}

void tst_roll_request::parsing_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("sides");
    QTest::addColumn<double>("modifier");

    QTest::addRow("3d6") << QByteArray("3d6") << 3.0 << 6.0 << 0.0;
    QTest::addRow("3D6-2") << QByteArray("3D6-2") << 3.0 << 6.0 << -2.0;
    QTest::addRow("3d6+") << QByteArray("3d6+") << 3.0 << 6.0 << 0.0;
    QTest::addRow("3d6-") << QByteArray("3d6-") << 3.0 << 6.0 << 0.0;
    QTest::addRow("3d6-0") << QByteArray("3d6-0") << 3.0 << 6.0 << 0.0;
    QTest::addRow("10d10-1") << QByteArray("10d10-1") << 10.0 << 10.0 << -1.0;
    QTest::addRow("last sign decides") << QByteArray("3d6+2-1") << 3.0 << 6.0 << -1.0;
    QTest::addRow("d20") << QByteArray("d20") << 0.0 << 20.0 << 0.0;
    QTest::addRow("d") << QByteArray("d") << 0.0 << 0.0 << 0.0;
    QTest::addRow("3d") << QByteArray("3d") << 3.0 << 0.0 << 0.0;
    QTest::addRow("3d+") << QByteArray("3d+") << 3.0 << 0.0 << 0.0;
    QTest::addRow("3d0") << QByteArray("3d0") << 3.0 << 0.0 << 0.0;
    QTest::addRow("negative sides") << QByteArray("3d-6+2") << 3.0 << -6.0 << 2.0;
    QTest::addRow("1d20+1") << QByteArray("1d20+1") << 1.0 << 20.0 << 1.0;
    QTest::addRow("leading zeros") << QByteArray("003d006+007") << 3.0 << 6.0 << 7.0;
    QTest::addRow("large modifier")
        << QByteArray("2d6+100000000000000000000") << 2.0 << 6.0 << 1e20;
}

void tst_roll_request::parsing() {
    QFETCH(QByteArray, formula);
    QFETCH(double, count);
    QFETCH(double, sides);
    QFETCH(double, modifier);

    const RollRequestResult result = read(formula);
    QCOMPARE(result.ending, RollEnding::Formed);
    QCOMPARE(result.request.count, count);
    QCOMPARE(result.request.sides, sides);
    QCOMPARE(result.request.modifier, modifier);
    QVERIFY(modifier != 0 || !std::signbit(result.request.modifier)); // no minus zero
    QCOMPARE(QByteArray::fromStdString(result.request.displayFormula), formula);
    QCOMPARE(result.request.addText, std::string());
    QCOMPARE(result.request.addValue, 0.0);
}

void tst_roll_request::addAmount_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<QByteArray>("addText");
    QTest::addColumn<double>("addValue");
    QTest::addColumn<QByteArray>("displayFormula");

    QTest::addRow("5") << QByteArray("3d6") << QByteArray("5") << QByteArray("+5") << 5.0
                       << QByteArray("(3d6)+5");
    QTest::addRow("+5") << QByteArray("3d6") << QByteArray("+5") << QByteArray("+5") << 5.0
                        << QByteArray("(3d6)+5");
    QTest::addRow("005") << QByteArray("3d6") << QByteArray("005") << QByteArray("+5") << 5.0
                         << QByteArray("(3d6)+5");
    QTest::addRow("-3") << QByteArray("3d6") << QByteArray("-3") << QByteArray("-3") << -3.0
                        << QByteArray("(3d6)-3");
    QTest::addRow("0") << QByteArray("3d6") << QByteArray("0") << QByteArray(" 0") << 0.0
                       << QByteArray("(3d6) 0");
    QTest::addRow("-0") << QByteArray("3d6") << QByteArray("-0") << QByteArray(" 0") << 0.0
                        << QByteArray("(3d6) 0");
    QTest::addRow("+000") << QByteArray("3d6") << QByteArray("+000") << QByteArray(" 0") << 0.0
                          << QByteArray("(3d6) 0");
    QTest::addRow("empty") << QByteArray("3d6") << QByteArray() << QByteArray() << 0.0
                           << QByteArray("3d6");
    QTest::addRow("formula kept as typed") << QByteArray("3D6+2") << QByteArray("-3")
                                           << QByteArray("-3") << -3.0 << QByteArray("(3D6+2)-3");
    QTest::addRow("exponent form")
        << QByteArray("3d6") << QByteArray("150000000000000000000") << QByteArray("+1.5E+20")
        << 1.5e20 << QByteArray("(3d6)+1.5E+20");
}

void tst_roll_request::addAmount() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(QByteArray, addText);
    QFETCH(double, addValue);
    QFETCH(QByteArray, displayFormula);

    const RollRequestResult result = read(formula, add);
    QCOMPARE(result.ending, RollEnding::Formed);
    QCOMPARE(QByteArray::fromStdString(result.request.addText), addText);
    QCOMPARE(result.request.addValue, addValue);
    QVERIFY(addValue != 0 || !std::signbit(result.request.addValue));
    QCOMPARE(QByteArray::fromStdString(result.request.displayFormula), displayFormula);
}

void tst_roll_request::repetitions_data() {
    QTest::addColumn<QByteArray>("times");
    QTest::addColumn<double>("expected");

    QTest::addRow("empty") << QByteArray() << 1.0;
    QTest::addRow("0") << QByteArray("0") << 1.0;
    QTest::addRow("000") << QByteArray("000") << 1.0;
    QTest::addRow("1") << QByteArray("1") << 1.0;
    QTest::addRow("6") << QByteArray("6") << 6.0;
    QTest::addRow("1000") << QByteArray("1000") << 1000.0;
    QTest::addRow("leading zeros") << QByteArray("0001000") << 1000.0;
}

void tst_roll_request::repetitions() {
    QFETCH(QByteArray, times);
    QFETCH(double, expected);

    const RollRequestResult result = read("3d6", {}, times);
    QCOMPARE(result.ending, RollEnding::Formed);
    QCOMPARE(result.request.times, expected);
}

// Amounts large enough to overflow only as sums: a thousand dice with the largest accepted
// modifier plus the largest add amount must still total a finite number.
void tst_roll_request::hugeAmountsAreNeverInfinite() {
    const QByteArray big = "1" + QByteArray(300, '0');
    const RollRequestResult result = read("1000d1000+" + big, big, "1000");
    if (result.ending == RollEnding::Formed) {
        const RollRequest& r = result.request;
        QVERIFY(std::isfinite(r.count * (r.sides + r.modifier) + r.addValue));
        QVERIFY(result.request.displayFormula.find("inf") == std::string::npos);
    } else {
        QCOMPARE(result.ending, RollEnding::Refused);
    }
}

QTEST_GUILESS_MAIN(tst_roll_request)
#include "tst_roll_request.moc"

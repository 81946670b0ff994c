#include "mini_rolls.h"
#include "random_source.h"
#include "scripted_random.h"

#include <QTest>

#include <set>

namespace {

// The largest single-precision value below 1.
constexpr float almostOne = 0.99999994f;

struct KeyKind {
    int keyCode;
    const char* die;
    int low;
    int high;
};

// F1-F12, key for key.
const KeyKind keyKinds[] = {
    {112, "d20", 1, 20}, {113, "d2", 1, 2},   {114, "d3", 1, 3},     {115, "d4", 1, 4},
    {116, "d5", 1, 5},   {117, "d6", 1, 6},   {118, "d4+1", 2, 5},   {119, "d8", 1, 8},
    {120, "3d6", 3, 18}, {121, "d10", 1, 10}, {122, "d100", 1, 100}, {123, "d12", 1, 12},
};

} // namespace

class TestMiniRolls : public QObject {
    Q_OBJECT
private slots:
    void scriptedDraws_data();
    void scriptedDraws();
    void threeDiceAddsItsDice_data();
    void threeDiceAddsItsDice();
    void realGeneratorStaysInRange();
    void otherKeysDrawNothing_data();
    void otherKeysDrawNothing();
};

void TestMiniRolls::scriptedDraws_data() {
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<QString>("die");
    QTest::addColumn<float>("r");
    QTest::addColumn<QString>("num");

    for (const KeyKind& kind : keyKinds) {
        // Lowest draw gives the lowest face, the highest draw below 1 the highest.
        QTest::addRow("%s lowest", kind.die)
            << kind.keyCode << kind.die << 0.0f << QString(" %1").arg(kind.low);
        QTest::addRow("%s highest", kind.die)
            << kind.keyCode << kind.die << almostOne << QString(" %1").arg(kind.high);
    }
    QTest::addRow("d20 at 0.999999") << 112 << "d20" << 0.999999f << " 20";
    QTest::addRow("d20 at 0.05") << 112 << "d20" << 0.05f << " 2";
    QTest::addRow("d20 at 0.5") << 112 << "d20" << 0.5f << " 11";
    QTest::addRow("d100 at 0.37") << 122 << "d100" << 0.37f << " 38";
    QTest::addRow("d4+1 at 0.25") << 118 << "d4+1" << 0.25f << " 3";
    QTest::addRow("d4+1 at 0.2499") << 118 << "d4+1" << 0.2499f << " 2";
    QTest::addRow("d6 at 0.5") << 117 << "d6" << 0.5f << " 4";
}

void TestMiniRolls::scriptedDraws() {
    QFETCH(int, keyCode);
    QFETCH(QString, die);
    QFETCH(float, r);
    QFETCH(QString, num);

    const std::size_t draws = die == "3d6" ? 3 : 1;
    ScriptedRandom random(std::vector<float>(draws, r));
    const auto roll = rollForFunctionKey(keyCode, random);
    QVERIFY(roll);
    QCOMPARE(QString::fromStdString(roll->die), die);
    QCOMPARE(QString::fromStdString(roll->num), num);
    QCOMPARE(random.taken(), draws);
    QVERIFY(!random.ranShort());
}

void TestMiniRolls::threeDiceAddsItsDice_data() {
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<float>("r3");
    QTest::addColumn<QString>("num");

    QTest::addRow("1+4+6") << 0.0f << 0.5f << almostOne << " 11";
    QTest::addRow("6+6+1") << almostOne << almostOne << 0.0f << " 13";
    QTest::addRow("2+3+5") << 0.2f << 0.4f << 0.7f << " 10";
}

void TestMiniRolls::threeDiceAddsItsDice() {
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(float, r3);
    QFETCH(QString, num);

    ScriptedRandom random({r1, r2, r3});
    const MiniRoll roll = rollThreeDice(random);
    QCOMPARE(QString::fromStdString(roll.die), QString("3d6"));
    QCOMPARE(QString::fromStdString(roll.num), num);
    QCOMPARE(random.taken(), std::size_t(3));
}

void TestMiniRolls::realGeneratorStaysInRange() {
    Generator generator;
    generator.seed(secondsSinceMidnight());
    for (const KeyKind& kind : keyKinds) {
        std::set<int> seen;
        for (int i = 0; i < 4000; ++i) {
            const auto roll = rollForFunctionKey(kind.keyCode, generator);
            QVERIFY(roll);
            QCOMPARE(roll->die, std::string(kind.die));
            const std::string& num = roll->num;
            QVERIFY2(num.size() >= 2 && num[0] == ' ', num.c_str());
            bool ok = false;
            const int value = QString::fromStdString(num.substr(1)).toInt(&ok);
            QVERIFY2(ok, num.c_str());
            QVERIFY2(value >= kind.low && value <= kind.high, num.c_str());
            seen.insert(value);
        }
        // Every face of the small dice turns up in 4000 rolls.
        if (kind.high - kind.low < 20)
            QCOMPARE(int(seen.size()), kind.high - kind.low + 1);
    }
}

void TestMiniRolls::otherKeysDrawNothing_data() {
    QTest::addColumn<int>("keyCode");
    QTest::addRow("F13") << 124;
    QTest::addRow("just below F1") << 111;
    QTest::addRow("letter T") << 84;
    QTest::addRow("none") << 0;
}

void TestMiniRolls::otherKeysDrawNothing() {
    QFETCH(int, keyCode);
    ScriptedRandom random({0.5f});
    QVERIFY(!rollForFunctionKey(keyCode, random));
    QCOMPARE(random.taken(), std::size_t(0));
}

QTEST_GUILESS_MAIN(TestMiniRolls)
#include "tst_mini_rolls.moc"

#include "key_map.h"

#include <QTest>

using Commands = std::vector<KeyCommand>;
Q_DECLARE_METATYPE(Commands)

namespace {
KeyCommand quick(int n) {
    return {KeyAction::QuickFormula, n};
}
KeyCommand preset(int n) {
    return {KeyAction::ApplyPreset, n};
}
KeyCommand command(KeyAction action) {
    return {action, 0};
}
} // namespace

class TestKeyMap : public QObject {
    Q_OBJECT

private slots:
    void commandsInOrder_data();
    void commandsInOrder();
    void everyFunctionKey();
    void quickFormulasAndCaptions_data();
    void quickFormulasAndCaptions();
};

void TestKeyMap::commandsInOrder_data() {
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("mask");
    QTest::addColumn<Commands>("expected");
    const int f5 = keyCodeF1 + 4;
    const int f9 = keyCodeF1 + 8;
    QTest::addRow("F9") << f9 << 0 << Commands{quick(9)};
    QTest::addRow("Shift+F9: quick first, then preset")
        << f9 << shiftMask << Commands{quick(9), preset(9)};
    QTest::addRow("Shift+F12") << keyCodeF12 << shiftMask << Commands{quick(12), preset(12)};
    QTest::addRow("Ctrl+F5") << f5 << ctrlMask << Commands{quick(5)};
    QTest::addRow("Alt+F5") << f5 << altMask << Commands{quick(5)};
    QTest::addRow("Ctrl+Shift+F5") << f5 << (ctrlMask | shiftMask) << Commands{quick(5)};
    QTest::addRow("Shift+Alt+F5") << f5 << (shiftMask | altMask) << Commands{quick(5)};
    QTest::addRow("Ctrl+X") << int('X') << ctrlMask << Commands{command(KeyAction::Exit)};
    QTest::addRow("Ctrl+M") << int('M') << ctrlMask << Commands{command(KeyAction::ShowMiniRoller)};
    QTest::addRow("Ctrl+H") << int('H') << ctrlMask << Commands{command(KeyAction::Help)};
    QTest::addRow("Ctrl+F") << int('F') << ctrlMask
                            << Commands{command(KeyAction::SetUpFunctionKeys)};
    QTest::addRow("Ctrl+D") << int('D') << ctrlMask << Commands{command(KeyAction::ShowOdds)};
    QTest::addRow("Ctrl+Shift+D") << int('D') << (ctrlMask | shiftMask) << Commands{};
    QTest::addRow("Alt+D") << int('D') << altMask << Commands{};
    QTest::addRow("plain D") << int('D') << 0 << Commands{};
    QTest::addRow("Ctrl+Shift+X") << int('X') << (ctrlMask | shiftMask) << Commands{};
    QTest::addRow("Ctrl+Alt+H") << int('H') << (ctrlMask | altMask) << Commands{};
    QTest::addRow("Shift+H") << int('H') << shiftMask << Commands{};
    QTest::addRow("plain H") << int('H') << 0 << Commands{};
    QTest::addRow("Ctrl+A") << int('A') << ctrlMask << Commands{};
    QTest::addRow("key before F1") << keyCodeF1 - 1 << 0 << Commands{};
    QTest::addRow("key after F12") << keyCodeF12 + 1 << shiftMask << Commands{};
}

void TestKeyMap::commandsInOrder() {
    QFETCH(int, keyCode);
    QFETCH(int, mask);
    QFETCH(Commands, expected);
    QVERIFY(keyCommands(keyCode, mask) == expected);
}

void TestKeyMap::everyFunctionKey() {
    for (int n = 1; n <= 12; ++n) {
        const int keyCode = keyCodeF1 + n - 1;
        QVERIFY(keyCommands(keyCode, 0) == Commands{quick(n)});
        QVERIFY(keyCommands(keyCode, shiftMask) == (Commands{quick(n), preset(n)}));
    }
}

void TestKeyMap::quickFormulasAndCaptions_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("caption");
    QTest::addRow("F1") << 1 << "1d20"
                        << "F01 = d20";
    QTest::addRow("F7") << 7 << "1d4+1"
                        << "F07 = d4+1";
    QTest::addRow("F9") << 9 << "3d6"
                        << "F09 = 3d6";
    QTest::addRow("F11") << 11 << "1d100"
                         << "F11 = d100";
    QTest::addRow("F12") << 12 << "1d12"
                         << "F12 = d12";
    QTest::addRow("0") << 0 << QString() << QString();
    QTest::addRow("13") << 13 << QString() << QString();
}

void TestKeyMap::quickFormulasAndCaptions() {
    QFETCH(int, n);
    QFETCH(QString, formula);
    QFETCH(QString, caption);
    QCOMPARE(quickFormula(n), formula);
    QCOMPARE(functionKeyCaption(n), caption);
}

QTEST_GUILESS_MAIN(TestKeyMap)
#include "tst_key_map.moc"

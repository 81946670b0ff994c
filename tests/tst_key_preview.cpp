// Form-level key preview: key codes, modifier masks, and one call per key press.
#include "key_preview.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

class TstKeyPreview : public QObject {
    Q_OBJECT

private slots:
    void keyCodes_data();
    void keyCodes();
    void modifierMasks_data();
    void modifierMasks();
    void everyPressIsSeenOnceAndStillReachesTheWidget_data();
    void everyPressIsSeenOnceAndStillReachesTheWidget();
    void otherWindowsAreNotPreviewed();
};

void TstKeyPreview::keyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("code");
    QTest::addRow("F1") << int(Qt::Key_F1) << 112;
    QTest::addRow("F9") << int(Qt::Key_F9) << 120;
    QTest::addRow("F12") << int(Qt::Key_F12) << 123;
    QTest::addRow("F13 has none") << int(Qt::Key_F13) << 0;
    QTest::addRow("A") << int(Qt::Key_A) << 65;
    QTest::addRow("H") << int(Qt::Key_H) << 72;
    QTest::addRow("Z") << int(Qt::Key_Z) << 90;
    QTest::addRow("0") << int(Qt::Key_0) << 48;
    QTest::addRow("Escape has none") << int(Qt::Key_Escape) << 0;
}

void TstKeyPreview::keyCodes() {
    QFETCH(int, key);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCOMPARE(keyCodeOf(&event), code);
}

void TstKeyPreview::modifierMasks_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("mask");
    QTest::addRow("none") << Qt::KeyboardModifiers() << 0;
    QTest::addRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1;
    QTest::addRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << 2;
    QTest::addRow("Alt") << Qt::KeyboardModifiers(Qt::AltModifier) << 4;
    QTest::addRow("Ctrl+Shift") << (Qt::ControlModifier | Qt::ShiftModifier) << 3;
    QTest::addRow("all three") << (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier) << 7;
    QTest::addRow("Meta ignored") << (Qt::MetaModifier | Qt::ControlModifier) << 2;
    QTest::addRow("keypad ignored") << (Qt::KeypadModifier | Qt::ShiftModifier) << 1;
}

void TstKeyPreview::modifierMasks() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, mask);
    QCOMPARE(modifierMask(modifiers), mask);
}

void TstKeyPreview::everyPressIsSeenOnceAndStillReachesTheWidget_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("text");
    // The box ignores F5 and Ctrl+M, which then travel on to the window: still one call.
    QTest::addRow("F5, ignored by the box")
        << int(Qt::Key_F5) << Qt::KeyboardModifiers() << 116 << 0 << "";
    QTest::addRow("Shift+F5") << int(Qt::Key_F5) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 116
                              << 1 << "";
    QTest::addRow("Ctrl+M") << int(Qt::Key_M) << Qt::KeyboardModifiers(Qt::ControlModifier) << 77
                            << 2 << "";
    QTest::addRow("a letter the box takes")
        << int(Qt::Key_Q) << Qt::KeyboardModifiers() << 81 << 0 << "q";
}

void TstKeyPreview::everyPressIsSeenOnceAndStillReachesTheWidget() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    QFETCH(int, mask);
    QFETCH(QString, text);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new QLineEdit(&window);
    layout->addWidget(box);
    QList<QPair<int, int>> seen;
    // The modifier keys are pressed first and seen as presses of their own, with code 0.
    KeyPreview preview([&](int keyCode, int shift) {
        if (keyCode != 0)
            seen.append({keyCode, shift});
    });
    preview.installOn(&window);
    // A widget added after the preview was installed is previewed too.
    auto* later = new QLineEdit(&window);
    layout->addWidget(later);
    window.show();

    for (QLineEdit* target : {box, later}) {
        seen.clear();
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().first, code);
        QCOMPARE(seen.first().second, mask);
        QCOMPARE(target->text(), text);
    }
}

void TstKeyPreview::otherWindowsAreNotPreviewed() {
    QWidget window;
    QWidget other;
    auto* otherBox = new QLineEdit(&other);
    int calls = 0;
    KeyPreview preview([&](int, int) { ++calls; });
    preview.installOn(&window);
    other.show();
    QTest::keyClick(otherBox, Qt::Key_F1);
    QCOMPARE(calls, 0);
}

QTEST_MAIN(TstKeyPreview)
#include "tst_key_preview.moc"

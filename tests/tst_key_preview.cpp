// Form-level key preview: key codes, modifier masks, and one call per key press.
#include "keyboard.h"
#include "native_key.h"

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
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<int>("code");
    QTest::addRow("F1") << int(Qt::Key_F1) << 0u << 112;
    QTest::addRow("F9") << int(Qt::Key_F9) << 0u << 120;
    QTest::addRow("F12") << int(Qt::Key_F12) << 0u << 123;
    QTest::addRow("F13 has none") << int(Qt::Key_F13) << 0u << 0;
    QTest::addRow("A") << int(Qt::Key_A) << 0u << 65;
    QTest::addRow("H") << int(Qt::Key_H) << 0u << 72;
    QTest::addRow("Z") << int(Qt::Key_Z) << 0u << 90;
    QTest::addRow("0") << int(Qt::Key_0) << 0u << 48;
    QTest::addRow("Escape has none") << int(Qt::Key_Escape) << 0u << 0;
    // A Latin letter is taken as the layout gives it: German Z sits where US has Y.
    QTest::addRow("German Z on the Y key") << int(Qt::Key_Z) << NativeKey::scanY << 90;
    QTest::addRow("Cyrillic without a scan code") << NativeKey::cyrillicChe << 0u << 0;
#ifdef Q_OS_LINUX
    // Other letters stand for the Latin letter of their physical key.
    QTest::addRow("Cyrillic che on the X key") << NativeKey::cyrillicChe << NativeKey::scanX << 88;
    QTest::addRow("Cyrillic er on the H key") << NativeKey::cyrillicEr << NativeKey::scanH << 72;
    QTest::addRow("Greek chi on the X key") << NativeKey::greekChi << NativeKey::scanX << 88;
    QTest::addRow("Cyrillic zhe on a key without a letter")
        << NativeKey::cyrillicZhe << NativeKey::scanSemicolon << 0;
#endif
}

void TstKeyPreview::keyCodes() {
    QFETCH(int, key);
    QFETCH(quint32, scanCode);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, scanCode, 0, 0);
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

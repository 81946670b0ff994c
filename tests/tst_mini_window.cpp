#include "mini.h"
#include "mini_about.h"
#include "mini_mod.h"
#include "modal_watch.h"
#include "mouse_label.h"
#include "native_key.h"
#include "patience.h"
#include "scripted_random.h"
#include "window_ops.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// The thin fixed frame: a one-pixel black edge all round, the window's own colour inside it.
bool hasOnePixelEdge(QWidget* window) {
    const QImage image = window->grab().toImage();
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const QColor black(Qt::black);
    return image.pixelColor(right / 2, 0) == black &&
           image.pixelColor(right, bottom / 2) == black &&
           image.pixelColor(right / 2, bottom) == black &&
           image.pixelColor(0, bottom / 2) == black && image.pixelColor(1, bottom / 2) != black;
}

// Opens the about box from the menu and runs check on it while it is open; the box is closed
// afterwards if check left it open.
void openAbout(Mini* mini, const std::function<void(MiniAbout&)>& check) {
    ModalWatch watch([&](QWidget* modal) {
        auto* about = qobject_cast<MiniAbout*>(modal);
        QVERIFY(about);
        check(*about);
    });
    mini->mnusub4_click();
    QCOMPARE(watch.windows, 1);
}

} // namespace

class TestMiniWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUp();
    void functionKeysRoll_data();
    void functionKeysRoll();
    void threeDiceShowsTheSumOnly();
    void typedTextStaysUntilTheNextRoll();
    void ctrlCommands_data();
    void ctrlCommands();
    void ctrlCommandsRepeatTheirState();
    void exitByCtrlXClosesOnce();
    void popupOnLeftButtonOnly_data();
    void popupOnLeftButtonOnly();
    void menuEntriesRunTheirCommands();
    void activationRecolours();
    void deactivationKeepsTopMostOnlyWhenOnTop();
    void aboutBox();
    void aboutBoxClosesWithItsKeys_data();
    void aboutBoxClosesWithItsKeys();
    void keysRollNothingWhileAboutIsOpen();
    void unloadRemovesTheHook_data();
    void unloadRemovesTheHook();

private:
    std::unique_ptr<Mini> mini;
    ScriptedRandom random;
    QMenu* shownMenu = nullptr;
};

void TestMiniWindow::initTestCase() {
    // Each test closes its window; that must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestMiniWindow::init() {
    mini = std::make_unique<Mini>();
    random.setDraws({});
    random.yieldZeroWhenExhausted(); // a key press must never throw out of its handler
    mini->setRandomSource(&random);
    shownMenu = nullptr;
    mini->setPopupShower([this](QMenu* menu, QPoint) { shownMenu = menu; });
    mini->Form_Load();
    mini->show();
    QVERIFY(QTest::qWaitForWindowExposed(mini.get(), patienceMs));
}

void TestMiniWindow::cleanup() {
    mini.reset();
}

void TestMiniWindow::startUp() {
    QCOMPARE(mini->size(), QSize(258, 73));
    QVERIFY(hasOnePixelEdge(mini.get()));
    QVERIFY(mini->txtDie->text().isEmpty());
    QVERIFY(mini->txtNum->text().isEmpty());
    QCOMPARE(mini->focusWidget(), mini->txtDie);
    QVERIFY(mini->windowFlags().testFlag(Qt::Window));
    QVERIFY(!mini->windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(mini->Timer1->isActive());
    QCOMPARE(mini->Timer1->interval(), 5000);

    QVERIFY(isTopMost(mini.get()));
    QCOMPARE(MiniMod::onTop, std::optional<int>(1));
    QVERIFY(!mini->mnusub1->isEnabled());
    QVERIFY(mini->mnusub2->isEnabled());
    QVERIFY(isHooked(MiniMod::prevWndProc));

    QCOMPARE(mini->lblT->text(), QString("Quorvane's Mini Dice Roller"));
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 64, 0));
    QCOMPARE(mini->lblT->palette().color(QPalette::WindowText), QColor(255, 255, 128));
    // The shortcut is only shown beside Exit, never bound.
    QVERIFY(mini->mnusub3->shortcut().isEmpty());
    QVERIFY(mini->mnusub3->text().contains("Ctrl+X"));
}

void TestMiniWindow::functionKeysRoll_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<float>("r");
    QTest::addColumn<QString>("die");
    QTest::addColumn<QString>("num");

    QTest::addRow("F1 highest") << Qt::Key_F1 << Qt::KeyboardModifiers() << 0.999999f << "d20"
                                << " 20";
    QTest::addRow("F2 lowest") << Qt::Key_F2 << Qt::KeyboardModifiers() << 0.0f << "d2"
                               << " 1";
    QTest::addRow("F5 middle") << Qt::Key_F5 << Qt::KeyboardModifiers() << 0.5f << "d5"
                               << " 3";
    QTest::addRow("Shift+F5") << Qt::Key_F5 << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0.5f
                              << "d5"
                              << " 3";
    QTest::addRow("Ctrl+F5") << Qt::Key_F5 << Qt::KeyboardModifiers(Qt::ControlModifier) << 0.5f
                             << "d5"
                             << " 3";
    QTest::addRow("Alt+F5") << Qt::Key_F5 << Qt::KeyboardModifiers(Qt::AltModifier) << 0.5f << "d5"
                            << " 3";
    QTest::addRow("F7 lowest is two") << Qt::Key_F7 << Qt::KeyboardModifiers() << 0.0f << "d4+1"
                                      << " 2";
    QTest::addRow("Shift+F11") << Qt::Key_F11 << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << 0.999999f << "d100"
                               << " 100";
    QTest::addRow("F12") << Qt::Key_F12 << Qt::KeyboardModifiers() << 0.25f << "d12"
                         << " 4";
}

void TestMiniWindow::functionKeysRoll() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(float, r);
    QFETCH(QString, die);
    QFETCH(QString, num);

    random.setDraws({r});
    QTest::keyClick(mini->txtDie, key, modifiers);
    QCOMPARE(mini->txtDie->text(), die);
    QCOMPARE(mini->txtNum->text(), num);
    QCOMPARE(random.taken(), std::size_t(1));
}

void TestMiniWindow::threeDiceShowsTheSumOnly() {
    random.setDraws({0.2f, 0.4f, 0.7f});
    QStringList numTexts;
    connect(mini->txtNum, &QLineEdit::textChanged, this,
            [&numTexts](const QString& text) { numTexts << text; });
    bool dieWrittenFirst = false;
    connect(mini->txtDie, &QLineEdit::textChanged, this,
            [&] { dieWrittenFirst = numTexts.isEmpty(); });

    QTest::keyClick(mini->txtDie, Qt::Key_F9);
    QCOMPARE(random.taken(), std::size_t(3));
    QCOMPARE(numTexts, QStringList{" 10"});
    QVERIFY(dieWrittenFirst);
    QCOMPARE(mini->txtDie->text(), QString("3d6"));
}

void TestMiniWindow::typedTextStaysUntilTheNextRoll() {
    QTest::keyClicks(mini->txtDie, "tnx");
    mini->txtNum->setFocus();
    QTest::keyClicks(mini->txtNum, "abc");
    QCOMPARE(mini->txtDie->text(), QString("tnx"));
    QCOMPARE(mini->txtNum->text(), QString("abc"));
    QCOMPARE(random.taken(), std::size_t(0));
    QVERIFY(mini->isVisible());

    random.setDraws({0.0f});
    QTest::keyClick(mini->windowHandle(), Qt::Key_F6);
    QCOMPARE(mini->txtDie->text(), QString("d6"));
    QCOMPARE(mini->txtNum->text(), QString(" 1"));
}

void TestMiniWindow::ctrlCommands_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("topMost");
    QTest::addColumn<bool>("open");
    QTest::addColumn<quint32>("scanCode");

    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const auto ctrlShift = Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier);
    const auto ctrlAlt = Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
    QTest::addRow("Ctrl+N") << Qt::Key_N << ctrl << false << true << 0u;
    QTest::addRow("Ctrl+Shift+N") << Qt::Key_N << ctrlShift << true << true << 0u;
    QTest::addRow("Ctrl+Alt+N") << Qt::Key_N << ctrlAlt << true << true << 0u;
    QTest::addRow("N alone") << Qt::Key_N << Qt::KeyboardModifiers() << true << true << 0u;
    QTest::addRow("Ctrl+X") << Qt::Key_X << ctrl << true << false << 0u;
    QTest::addRow("Ctrl+Shift+X") << Qt::Key_X << ctrlShift << true << true << 0u;
    QTest::addRow("Ctrl+Alt+X") << Qt::Key_X << ctrlAlt << true << true << 0u;
    QTest::addRow("Shift+X") << Qt::Key_X << Qt::KeyboardModifiers(Qt::ShiftModifier) << true
                             << true << 0u;
#ifdef Q_OS_LINUX
    // Under a Cyrillic layout the physical N and X keys keep their meaning.
    QTest::addRow("Ctrl+Cyrillic te (the N key)")
        << Qt::Key(NativeKey::cyrillicTe) << ctrl << false << true << NativeKey::scanN;
    QTest::addRow("Ctrl+Cyrillic che (the X key)")
        << Qt::Key(NativeKey::cyrillicChe) << ctrl << true << false << NativeKey::scanX;
#endif
}

void TestMiniWindow::ctrlCommands() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, topMost);
    QFETCH(bool, open);
    QFETCH(quint32, scanCode);

    if (scanCode != 0)
        NativeKey::click(mini->txtDie, key, modifiers, scanCode);
    else
        QTest::keyClick(mini->txtDie, key, modifiers);
    QCOMPARE(mini->isVisible(), open);
    QCOMPARE(isHooked(MiniMod::prevWndProc), open);
    QCOMPARE(MiniMod::onTop == 1, topMost);
    QCOMPARE(isTopMost(mini.get()), topMost);
    QCOMPARE(mini->mnusub1->isEnabled(), !topMost);
    QCOMPARE(mini->mnusub2->isEnabled(), topMost);
    QCOMPARE(random.taken(), std::size_t(0));
}

void TestMiniWindow::ctrlCommandsRepeatTheirState() {
    // Ctrl+T while already top-most, then Ctrl+N twice: each sets the state again.
    QTest::keyClick(mini->txtDie, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(MiniMod::onTop, std::optional<int>(1));
    QVERIFY(isTopMost(mini.get()));
    QVERIFY(!mini->mnusub1->isEnabled());
    QVERIFY(mini->mnusub2->isEnabled());

    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(mini->txtDie, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(MiniMod::onTop, std::optional<int>(0));
        QVERIFY(!isTopMost(mini.get()));
        QVERIFY(mini->mnusub1->isEnabled());
        QVERIFY(!mini->mnusub2->isEnabled());
    }
    QVERIFY(mini->isVisible());

    mini->txtNum->setFocus();
    QTest::keyClick(mini->txtNum, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(MiniMod::onTop, std::optional<int>(1));
    QVERIFY(isTopMost(mini.get()));
    QVERIFY(!mini->mnusub1->isEnabled());
    QVERIFY(mini->mnusub2->isEnabled());
}

void TestMiniWindow::exitByCtrlXClosesOnce() {
    int closes = 0;
    class CloseCounter : public QObject {
    public:
        explicit CloseCounter(int& count) : count_(count) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Close)
                ++count_;
            return false;
        }
        int& count_;
    } counter(closes);
    mini->installEventFilter(&counter);
    QTest::keyClick(mini->txtDie, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(closes, 1);
    QVERIFY(!mini->isVisible());
}

void TestMiniWindow::popupOnLeftButtonOnly_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("shown");
    QTest::addRow("left") << Qt::LeftButton << true;
    QTest::addRow("right") << Qt::RightButton << false;
    QTest::addRow("middle") << Qt::MiddleButton << false;
}

void TestMiniWindow::popupOnLeftButtonOnly() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, shown);
    QTest::mousePress(mini->Image1, button, Qt::NoModifier, QPoint(10, 12));
    QCOMPARE(shownMenu == mini->mnufile, shown);
    QTest::mouseRelease(mini->Image1, button, Qt::NoModifier, QPoint(10, 12));
}

void TestMiniWindow::menuEntriesRunTheirCommands() {
    QCOMPARE(mini->mnufile->title(), QString("Popup Menu"));
    const QList<QAction*> entries = mini->mnufile->actions();
    QCOMPARE(entries.size(), 6);
    QCOMPARE(entries[0], mini->mnusub1);
    QCOMPARE(entries[1], mini->mnusub2);
    QVERIFY(entries[2]->isSeparator());
    QCOMPARE(entries[3], mini->mnusub4);
    QVERIFY(entries[4]->isSeparator());
    QCOMPARE(entries[5], mini->mnusub3);
    QCOMPARE(mini->mnusub1->text(), QString("Set to Top"));
    QCOMPARE(mini->mnusub2->text(), QString("Set to Normal"));
    QCOMPARE(mini->mnusub4->text(), QString("About..."));

    mini->mnusub2->trigger();
    QCOMPARE(MiniMod::onTop, std::optional<int>(0));
    QVERIFY(!isTopMost(mini.get()));
    mini->mnusub1->trigger();
    QCOMPARE(MiniMod::onTop, std::optional<int>(1));
    QVERIFY(isTopMost(mini.get()));
    mini->mnusub3->trigger();
    QVERIFY(!mini->isVisible());
    QVERIFY(!isHooked(MiniMod::prevWndProc));
}

void TestMiniWindow::activationRecolours() {
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(mini->lblT->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 64, 0));
    QCOMPARE(mini->lblT->palette().color(QPalette::WindowText), QColor(255, 255, 128));

    // Values other than 0 and 1 change nothing.
    MiniMod::windowProc(*mini, 2);
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 64, 0));
}

void TestMiniWindow::deactivationKeepsTopMostOnlyWhenOnTop() {
    // Top-most taken away behind the program's back: deactivation puts it back.
    setTopMost(mini.get(), false);
    MiniMod::windowProc(*mini, 0);
    QVERIFY(isTopMost(mini.get()));

    mini->mnusub2_click();
    MiniMod::windowProc(*mini, 0);
    QVERIFY(!isTopMost(mini.get()));
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 0, 0));
}

void TestMiniWindow::aboutBox() {
    mini->mnusub2_click();
    mini->move(140, 90);
    QPoint aboutPosition;
    QSize aboutSize;
    bool topMost = false;
    bool modal = false;
    QString label1;
    QString label2;
    QString close;
    QColor background;
    bool closeHasFocus = false;
    openAbout(mini.get(), [&](MiniAbout& about) {
        aboutPosition = about.pos();
        aboutSize = about.size();
        topMost = isTopMost(&about);
        modal = about.isModal();
        label1 = about.Label1->text();
        label2 = about.Label2->text();
        close = about.cmdClose->text();
        background = about.palette().color(QPalette::Window);
        closeHasFocus = about.focusWidget() == about.cmdClose;
        QVERIFY(hasOnePixelEdge(&about));
        about.cmdClose->click();
    });

    QCOMPARE(aboutPosition, mini->pos());
    QCOMPARE(aboutSize, QSize(312, 133));
    QVERIFY(topMost);
    QVERIFY(modal);
    QCOMPARE(label1, QString("This program is not intended to be used as a stand alone program.  "
                             "Although you can run it as such, it is intended to be controlled by "
                             "Quorvane's Dice Roller."));
    QVERIFY(label2.contains("Rollbox project"));
    QCOMPARE(close, QString("&Close"));
    QCOMPARE(background, QColor(255, 255, 192));
    QVERIFY(closeHasFocus);
    QVERIFY(!isTopMost(mini.get()));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestMiniWindow::aboutBoxClosesWithItsKeys_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addRow("Alt+C") << Qt::Key_C << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::addRow("Enter") << Qt::Key_Return << Qt::KeyboardModifiers();
    QTest::addRow("Esc") << Qt::Key_Escape << Qt::KeyboardModifiers();
}

void TestMiniWindow::aboutBoxClosesWithItsKeys() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    bool closed = false;
    openAbout(mini.get(), [&](MiniAbout& about) {
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about, patienceMs));
        QTest::keyClick(about.windowHandle(), key, modifiers);
        // Alt+C presses the button visibly, so the click lands a moment later.
        QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), patienceMs);
        closed = true;
    });
    QVERIFY(closed);
}

void TestMiniWindow::keysRollNothingWhileAboutIsOpen() {
    random.setDraws({0.5f});
    QTest::keyClick(mini->windowHandle(), Qt::Key_F1);
    QCOMPARE(mini->txtNum->text(), QString(" 11"));

    random.setDraws({0.0f, 0.0f});
    openAbout(mini.get(), [&](MiniAbout& about) {
        QTest::keyClick(mini->windowHandle(), Qt::Key_F1);
        QTest::keyClick(&about, Qt::Key_F2);
        QTest::keyClick(mini->windowHandle(), Qt::Key_X, Qt::ControlModifier);
    });
    QCOMPARE(random.taken(), std::size_t(0));
    QCOMPARE(mini->txtDie->text(), QString("d20"));
    QCOMPARE(mini->txtNum->text(), QString(" 11"));
    QVERIFY(mini->isVisible());

    // After the box has closed the keys roll again.
    QTest::keyClick(mini->windowHandle(), Qt::Key_F2);
    QCOMPARE(mini->txtNum->text(), QString(" 1"));
}

void TestMiniWindow::unloadRemovesTheHook_data() {
    QTest::addColumn<QString>("how");
    QTest::addRow("close picture") << "picture";
    QTest::addRow("Exit entry") << "exit";
    QTest::addRow("system close") << "close";
}

void TestMiniWindow::unloadRemovesTheHook() {
    QFETCH(QString, how);
    QVERIFY(isHooked(MiniMod::prevWndProc));
    if (how == "picture")
        QTest::mouseClick(mini->Picture1, Qt::LeftButton);
    else if (how == "exit")
        mini->mnusub3_click();
    else
        QVERIFY(mini->close());
    QVERIFY(!mini->isVisible());
    QVERIFY(!isHooked(MiniMod::prevWndProc));

    // Unhooked, activation changes no colours.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QCOMPARE(mini->lblT->palette().color(QPalette::Window), QColor(0, 64, 0));
}

QTEST_MAIN(TestMiniWindow)
#include "tst_mini_window.moc"

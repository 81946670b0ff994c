// The main window's shell: start-up and shut-down, menu states, shortcuts, activation colours,
// the tray and its fallback, and the rules for ending the program.
#include "artwork.h"
#include "contrast.h"
#include "frm_about.h"
#include "frm_help.h"
#include "modal_watch.h"
#include "mouse_label.h"
#include "native_key.h"
#include "patience.h"
#include "roll_log.h"
#include "tumo.h"
#include "tumo_func.h"
#include "window_ops.h"
#include "work_dir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

class TstTumoShell : public QObject {
    Q_OBJECT

private slots:
    void init() { workDir_ = std::make_unique<TemporaryWorkDir>(); }
    void cleanup() { workDir_.reset(); }

    void formLoadKeepsAnExistingRecordFile();
    void formLoadCreatesAMissingRecordFile();
    void formLoadSetsUpTheWindow();
    void formUnloadDeletesTheWorkFiles_data();
    void formUnloadDeletesTheWorkFiles();
    void placementEntries();
    void setupRoundTripRunsTheStartUpAgain();
    void ctrlShortcuts_data();
    void ctrlShortcuts();
    void typedLettersReachTheFormulaBox();
    void popupOpensOnlyOnTheLeftButton_data();
    void popupOpensOnlyOnTheLeftButton();
    void loWordReadsASignedLowWord_data();
    void loWordReadsASignedLowWord();
    void activationColoursFollowTheApplicationState();
    void focusMarkStandsOutOnTheGreen_data();
    void focusMarkStandsOutOnTheGreen();
    void minimiseWithoutATrayKeepsTheWindowOnTheTaskBar();
    void trayClicks_data();
    void trayClicks();
    void trayDoubleClickRestoresTheWindow();
    void trayMenuRestoresAndExits();
    void trayExitWhileTheSetupIsOpenEndsForGood();
    void activationGoesToTheOpenModalWindow();
    void helpComesBackWhenMinimised();
    void helpWindowOutlivesTheMainWindow();
    void hiddenMainWindowKeepsTheProgramRunning();
    void failedMiniRollerStartIsReported();
    void startedMiniRollerShowsNoMessage();

private:
    std::unique_ptr<TemporaryWorkDir> workDir_;
};

namespace {

QColor titleBackground(const Tumo& tumo) {
    return tumo.lblTitle->palette().color(QPalette::Window);
}

QColor titleText(const Tumo& tumo) {
    return tumo.lblTitle->palette().color(QPalette::WindowText);
}

} // namespace

void TstTumoShell::formLoadKeepsAnExistingRecordFile() {
    const QByteArray earlier("Rolled earlier\r\n 12\r\n");
    QVERIFY(writeBytes(QStringLiteral("temp.txt"), earlier));
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    QCOMPARE(fileBytes(QStringLiteral("temp.txt")), earlier);
}

void TstTumoShell::formLoadCreatesAMissingRecordFile() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    QVERIFY(QFile::exists(QStringLiteral("temp.txt")));
    QCOMPARE(QFileInfo(QStringLiteral("temp.txt")).size(), 0);
}

void TstTumoShell::formLoadSetsUpTheWindow() {
    Tumo tumo;
    tumo.logPath = QStringLiteral("/somewhere/else.txt");
    QVERIFY(tumo.Form_Load());
    QVERIFY(tumo.isLoaded());
    QCOMPARE(tumo.logPath, defaultLogPath());
    QVERIFY(tumo.mnusub5->isEnabled());
    QVERIFY(!tumo.mnusub6->isEnabled());
    QVERIFY(isHooked(TumoFunc::prevWndProc));
    QVERIFY(TumoFunc::trayData);
    QCOMPARE(TumoFunc::trayData->toolTip(), QStringLiteral("Quorvane's Dice Roller"));
    QVERIFY(TumoFunc::trayData->isVisible());
    QCOMPARE(tumo.size(), QSize(513, 433));
    QVERIFY(tumo.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!tumo.windowIcon().isNull());
}

void TstTumoShell::formUnloadDeletesTheWorkFiles_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addRow("all three") << QStringList{"temp.txt", "tempt.txt", "tempd.txt"};
    QTest::addRow("only the dice text") << QStringList{"tempd.txt"};
    QTest::addRow("none") << QStringList{};
}

void TstTumoShell::formUnloadDeletesTheWorkFiles() {
    QFETCH(QStringList, present);
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    QFile::remove(QStringLiteral("temp.txt"));
    for (const QString& name : present)
        QVERIFY(writeBytes(name, "x\r\n"));
    tumo.show();
    QSignalSpy ended(&tumo, &Tumo::noWindowLeft);

    const int messages = closeModalsDuring([&] { tumo.imgClose_Click(); });

    QCOMPARE(messages, 0);
    for (const char* name : {"temp.txt", "tempt.txt", "tempd.txt"})
        QVERIFY2(!QFile::exists(QString::fromLatin1(name)), name);
    QVERIFY(!tumo.isLoaded());
    QVERIFY(!tumo.isVisible());
    QVERIFY(!TumoFunc::trayData);
    QVERIFY(!isHooked(TumoFunc::prevWndProc));
    QCOMPARE(ended.count(), 1);
}

void TstTumoShell::placementEntries() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();

    tumo.mnusub5->trigger();
    QVERIFY(isTopMost(&tumo));
    QVERIFY(!tumo.mnusub5->isEnabled());
    QVERIFY(tumo.mnusub6->isEnabled());
    QVERIFY(tumo.isVisible());

    tumo.mnusub6->trigger();
    QVERIFY(!isTopMost(&tumo));
    QVERIFY(tumo.mnusub5->isEnabled());
    QVERIFY(!tumo.mnusub6->isEnabled());
    QVERIFY(tumo.isVisible());
}

void TstTumoShell::setupRoundTripRunsTheStartUpAgain() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QSystemTrayIcon* const firstIcon = TumoFunc::trayData;
    tumo.mnusub5->trigger();
    tumo.logPath = QStringLiteral("/chosen/log.txt");
    QFile::remove(QStringLiteral("temp.txt"));

    QCOMPARE(closeModalsDuring([&] { tumo.mnusub4->trigger(); }), 1);

    // A top-most window is left with both placement entries disabled.
    QVERIFY(isTopMost(&tumo));
    QVERIFY(!tumo.mnusub5->isEnabled());
    QVERIFY(!tumo.mnusub6->isEnabled());
    QCOMPARE(tumo.logPath, defaultLogPath());
    QVERIFY(QFile::exists(QStringLiteral("temp.txt")));
    // The second tray offer is refused: the first icon stays.
    QCOMPARE(TumoFunc::trayData.data(), firstIcon);
    // The hook is installed exactly once: after one unhook the colours no longer change.
    QVERIFY(isHooked(TumoFunc::prevWndProc));
    TumoFunc::unhookWindow(&tumo);
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QCOMPARE(titleBackground(tumo), Colours::darkGreen);
}

void TstTumoShell::ctrlShortcuts_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("exits");
    QTest::addColumn<bool>("opensHelp");
    QTest::addColumn<int>("messages");
    QTest::addColumn<quint32>("scanCode");

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::addRow("Ctrl+X exits") << int(Qt::Key_X) << ctrl << true << false << 0 << 0u;
    QTest::addRow("Ctrl+Shift+X") << int(Qt::Key_X) << (ctrl | Qt::ShiftModifier) << false << false
                                  << 0 << 0u;
    QTest::addRow("Ctrl+Alt+X") << int(Qt::Key_X) << (ctrl | Qt::AltModifier) << false << false << 0
                                << 0u;
    QTest::addRow("Ctrl+H opens help") << int(Qt::Key_H) << ctrl << false << true << 0 << 0u;
    QTest::addRow("Shift+H") << int(Qt::Key_H) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false
                             << false << 0 << 0u;
    QTest::addRow("Ctrl+Alt+H") << int(Qt::Key_H) << (ctrl | Qt::AltModifier) << false << false << 0
                                << 0u;
    QTest::addRow("Ctrl+keypad H")
        << int(Qt::Key_H) << (ctrl | Qt::KeypadModifier) << false << true << 0 << 0u;
    // The mini roller cannot be started here, so its one start shows one message.
    QTest::addRow("Ctrl+M starts the mini roller once")
        << int(Qt::Key_M) << ctrl << false << false << 1 << 0u;
    QTest::addRow("Ctrl+Shift+M") << int(Qt::Key_M) << (ctrl | Qt::ShiftModifier) << false << false
                                  << 0 << 0u;
#ifdef Q_OS_LINUX
    // Under a Cyrillic layout the keys keep their meaning: the physical X and H keys.
    QTest::addRow("Ctrl+Cyrillic che exits")
        << NativeKey::cyrillicChe << ctrl << true << false << 0 << NativeKey::scanX;
    QTest::addRow("Ctrl+Cyrillic er opens help")
        << NativeKey::cyrillicEr << ctrl << false << true << 0 << NativeKey::scanH;
    QTest::addRow("Cyrillic er alone") << NativeKey::cyrillicEr << Qt::KeyboardModifiers() << false
                                       << false << 0 << NativeKey::scanH;
#endif
}

void TstTumoShell::ctrlShortcuts() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, exits);
    QFETCH(bool, opensHelp);
    QFETCH(int, messages);
    QFETCH(quint32, scanCode);

    Tumo tumo;
    tumo.setMiniRollerProgram(workDir_->path(), QStringLiteral("no-such-mini-roller"));
    QVERIFY(tumo.Form_Load());
    tumo.show();
    tumo.txtInput->setFocus();
    tumo.txtInput->setText(QStringLiteral("3d6"));

    const int seen = closeModalsDuring([&] {
        if (scanCode != 0)
            NativeKey::click(tumo.txtInput, key, modifiers, scanCode);
        else
            QTest::keyClick(tumo.txtInput, Qt::Key(key), modifiers);
    });

    QCOMPARE(seen, messages);
    QCOMPARE(tumo.isLoaded(), !exits);
    QCOMPARE(!tumo.helpWindow.isNull(), opensHelp);
    // The box keeps its text under Ctrl shortcuts that do not close the window.
    if (!exits && modifiers == Qt::ControlModifier)
        QCOMPARE(tumo.txtInput->text(), QStringLiteral("3d6"));
}

void TstTumoShell::typedLettersReachTheFormulaBox() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    // Typed at whatever holds the focus when the window first shows: the formula box.
    QVERIFY(QTest::qWaitForWindowActive(&tumo));
    QCOMPARE(QApplication::focusWidget(), tumo.txtInput);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Hxm"));
    QCOMPARE(tumo.txtInput->text(), QStringLiteral("Hxm"));
    QVERIFY(tumo.isLoaded());
    QVERIFY(!tumo.helpWindow);
}

void TstTumoShell::popupOpensOnlyOnTheLeftButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("opens");
    QTest::addRow("left") << Qt::LeftButton << true;
    QTest::addRow("right") << Qt::RightButton << false;
    QTest::addRow("middle") << Qt::MiddleButton << false;
}

void TstTumoShell::popupOpensOnlyOnTheLeftButton() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, opens);
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tumo, patienceMs));

    QTest::mousePress(tumo.Image1, button, {}, QPoint(10, 12));
    QCOMPARE(tumo.mnufile->isVisible(), opens);
    if (opens) {
        QCOMPARE(tumo.mnufile->pos(), tumo.Image1->mapToGlobal(QPoint(10, 12)));
        const QStringList expected{"Show Mini Roller\tCtrl+M",
                                   "Show Odds\tCtrl+D",
                                   "",
                                   "Set Up Function Keys\tCtrl+F",
                                   "",
                                   "Set to Top",
                                   "Set to Normal",
                                   "",
                                   "Help\tCtrl+H",
                                   "About...",
                                   "",
                                   "Exit\tCtrl+X"};
        QStringList captions;
        for (const QAction* action : tumo.mnufile->actions()) {
            captions << action->text();
            // Shortcuts are only shown: the key handler runs the commands.
            QVERIFY(action->shortcut().isEmpty());
        }
        QCOMPARE(captions, expected);
    }
    tumo.mnufile->hide();
}

void TstTumoShell::loWordReadsASignedLowWord_data() {
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("expected");
    QTest::addRow("zero") << quint32(0) << 0;
    QTest::addRow("one") << quint32(1) << 1;
    QTest::addRow("0x7FFF") << quint32(0x7FFF) << 32767;
    QTest::addRow("0x8000") << quint32(0x8000) << -32768;
    QTest::addRow("0x8001") << quint32(0x8001) << -32767;
    QTest::addRow("0xFFFE") << quint32(0xFFFE) << -2;
    QTest::addRow("0xFFFF") << quint32(0xFFFF) << -1;
    QTest::addRow("high word ignored") << quint32(0x12340001) << 1;
    QTest::addRow("high word, negative low") << quint32(0xFFFF8000) << -32768;
}

void TstTumoShell::loWordReadsASignedLowWord() {
    QFETCH(quint32, value);
    QFETCH(int, expected);
    QCOMPARE(int(loWord(value)), expected);
}

void TstTumoShell::focusMarkStandsOutOnTheGreen_data() {
    QTest::addColumn<QString>("control");
    QTest::addRow("Roll button") << "Roll!";
    QTest::addRow("Times") << "Times";
    QTest::addRow("Drop Lowest") << "Drop Lowest";
    QTest::addRow("Save Results") << "Save Results";
}

// A frame of 2 pixels around the focused control, in a colour that stands out from the green
// (3:1) on each of its four sides.
void TstTumoShell::focusMarkStandsOutOnTheGreen() {
    QFETCH(QString, control);
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QApplication::setActiveWindow(&tumo);
    QVERIFY(QTest::qWaitForWindowActive(&tumo, patienceMs));
    QWidget* focused = nullptr;
    for (QAbstractButton* button : tumo.findChildren<QAbstractButton*>())
        if (button->accessibleName() == control)
            focused = button;
    QVERIFY(focused);
    focused->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(focused->hasFocus(), patienceMs);

    const QImage picture = tumo.grab().toImage();
    const QRect around = focused->geometry();
    const QPoint middle = around.center();
    for (int depth : {2, 3}) {
        for (QPoint at :
             {QPoint(around.left() - depth, middle.y()), QPoint(around.right() + depth, middle.y()),
              QPoint(middle.x(), around.top() - depth),
              QPoint(middle.x(), around.bottom() + depth)}) {
            const QColor mark = picture.pixelColor(at);
            QVERIFY2(
                contrastRatio(mark, Colours::green) >= 3,
                qPrintable(
                    QStringLiteral("%1 at (%2, %3)").arg(mark.name()).arg(at.x()).arg(at.y())));
        }
    }
}

void TstTumoShell::activationColoursFollowTheApplicationState() {
    Tumo tumo;
    QCOMPARE(titleBackground(tumo), Colours::darkGreen);
    QCOMPARE(titleText(tumo), Colours::lightYellow);
    QVERIFY(tumo.Form_Load());

    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QCOMPARE(titleBackground(tumo), QColor(Qt::black));
    QCOMPARE(titleText(tumo), Colours::grey);

    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(titleBackground(tumo), Colours::darkGreen);
    QCOMPARE(titleText(tumo), Colours::lightYellow);

    emit qApp->applicationStateChanged(Qt::ApplicationHidden);
    QCOMPARE(titleBackground(tumo), QColor(Qt::black));

    // Values other than 0 and 1 change nothing.
    TumoFunc::windowProc(tumo.lblTitle, 2);
    TumoFunc::windowProc(tumo.lblTitle, -1);
    QCOMPARE(titleBackground(tumo), QColor(Qt::black));
    QCOMPARE(titleText(tumo), Colours::grey);

    // Unhooked, the window no longer follows.
    tumo.Form_Unload();
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(titleBackground(tumo), QColor(Qt::black));
}

void TstTumoShell::minimiseWithoutATrayKeepsTheWindowOnTheTaskBar() {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("This desktop has a tray; the fallback is for desktops without one.");
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    tumo.imgMin_Click();
    QVERIFY(tumo.isVisible());
    QVERIFY(tumo.isMinimized());
    QVERIFY(tumo.isLoaded());
}

void TstTumoShell::trayClicks_data() {
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("trayReportsDoubleClicks");
    QTest::addColumn<bool>("restores");
    // Trays that report double clicks (XEmbed, Windows): only the double click restores.
    QTest::addRow("double click") << QSystemTrayIcon::DoubleClick << true << true;
    QTest::addRow("single click") << QSystemTrayIcon::Trigger << true << false;
    QTest::addRow("right click") << QSystemTrayIcon::Context << true << false;
    QTest::addRow("middle click") << QSystemTrayIcon::MiddleClick << true << false;
    // StatusNotifier hosts report a left click as an activation, and nothing else.
    QTest::addRow("activation") << QSystemTrayIcon::Trigger << false << true;
    QTest::addRow("host: double click") << QSystemTrayIcon::DoubleClick << false << true;
    QTest::addRow("host: context") << QSystemTrayIcon::Context << false << false;
    QTest::addRow("host: secondary") << QSystemTrayIcon::MiddleClick << false << false;
}

void TstTumoShell::trayClicks() {
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, trayReportsDoubleClicks);
    QFETCH(bool, restores);
    QCOMPARE(TumoFunc::trayClickRestores(reason, trayReportsDoubleClicks), restores);
}

void TstTumoShell::trayDoubleClickRestoresTheWindow() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    tumo.txtInput->setText(QStringLiteral("4d6"));
    tumo.mnusub5->trigger();
    tumo.hide();
    TumoFunc::handleTrayMouse(&tumo, QSystemTrayIcon::Context);
    QVERIFY(!tumo.isVisible());

    TumoFunc::handleTrayMouse(&tumo, QSystemTrayIcon::DoubleClick);
    QVERIFY(tumo.isVisible());
    QVERIFY(!isTopMost(&tumo));
    // The placement entries are left as they were.
    QVERIFY(!tumo.mnusub5->isEnabled());
    QVERIFY(tumo.mnusub6->isEnabled());
    QCOMPARE(tumo.txtInput->text(), QStringLiteral("4d6"));
}

void TstTumoShell::trayMenuRestoresAndExits() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    tumo.mnusub5->trigger();
    tumo.hide();
    QVERIFY(writeBytes(QStringLiteral("tempt.txt"), "x\r\n"));
    QMenu* menu = TumoFunc::trayData->contextMenu();
    QVERIFY(menu);
    const QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0)->text(), QStringLiteral("Restore"));
    QCOMPARE(entries.at(1)->text(), QStringLiteral("Exit"));

    entries.at(0)->trigger();
    QVERIFY(tumo.isVisible());
    QVERIFY(!isTopMost(&tumo));
    QVERIFY(!tumo.mnusub5->isEnabled());

    // Exit runs the whole shut-down, also on a window hidden to the tray.
    tumo.hide();
    entries.at(1)->trigger();
    QVERIFY(!tumo.isLoaded());
    QVERIFY(!TumoFunc::trayData);
    for (const char* name : {"temp.txt", "tempt.txt"})
        QVERIFY2(!QFile::exists(QString::fromLatin1(name)), name);
}

// The setup window closes with the main window; the start-up sequence that normally follows it
// must not bring back the tray icon and the record file.
void TstTumoShell::trayExitWhileTheSetupIsOpenEndsForGood() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    const int seen = closeModalsDuring(
        [&] { tumo.mnusub4_click(); },
        [](QWidget*) { TumoFunc::trayData->contextMenu()->actions().at(1)->trigger(); });
    QCOMPARE(seen, 1);
    QVERIFY(!tumo.isLoaded());
    QVERIFY(!TumoFunc::trayData);
    QVERIFY(!isHooked(TumoFunc::prevWndProc));
    QVERIFY(!QFile::exists(QStringLiteral("temp.txt")));
}

// A click on the main window behind its About box gives the box the keyboard back.
void TstTumoShell::activationGoesToTheOpenModalWindow() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QVERIFY(QTest::qWaitForWindowActive(&tumo, patienceMs));
    bool keyboardInTheBox = false;
    const int seen = closeModalsDuring(
        [&] { tumo.mnusub3_click(); },
        [&](QWidget* about) {
            QVERIFY(QTest::qWaitForWindowActive(about, patienceMs));
            // The main window is activated first; only then may the box take it back.
            bool mainActivated = false;
            const auto watch = connect(
                qApp, &QGuiApplication::focusWindowChanged, this,
                [&](const QWindow* window) { mainActivated |= window == tumo.windowHandle(); });
            tumo.activateWindow();
            QTRY_VERIFY_WITH_TIMEOUT(mainActivated, patienceMs);
            disconnect(watch);
            QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == about, patienceMs);
            const QWidget* focus = QApplication::focusWidget();
            keyboardInTheBox = focus && focus->window() == about;
        });
    QCOMPARE(seen, 1);
    QVERIFY(keyboardInTheBox);
}

void TstTumoShell::helpComesBackWhenMinimised() {
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "Help.\r\n"));
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    tumo.mnusub7_click();
    tumo.helpWindow->showMinimized();
    QVERIFY(tumo.helpWindow->isMinimized());
    QTest::keyClick(tumo.txtInput, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(tumo.helpWindow->isVisible());
    QVERIFY(!tumo.helpWindow->isMinimized());
}

void TstTumoShell::helpWindowOutlivesTheMainWindow() {
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "Help.\r\n"));
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QSignalSpy ended(&tumo, &Tumo::noWindowLeft);
    tumo.mnusub7_click();
    QPointer<frmHelp> help = tumo.helpWindow;
    QVERIFY(help && help->isVisible());

    tumo.mnusub1_click();
    QVERIFY(!tumo.isLoaded());
    QVERIFY(!TumoFunc::trayData);
    QVERIFY(help && help->isVisible());
    QCOMPARE(ended.count(), 0);
    // A later start of the program now brings the help window forward, not the unloaded one.
    help->showMinimized();
    tumo.bringForwardMainOrHelpWindow();
    QVERIFY(!help->isMinimized());
    QVERIFY(!tumo.isVisible());

    help->cmdClose->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!help);
    QCOMPARE(ended.count(), 1);
}

void TstTumoShell::hiddenMainWindowKeepsTheProgramRunning() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QSignalSpy ended(&tumo, &Tumo::noWindowLeft);
    tumo.hide();
    QCoreApplication::processEvents();
    QCOMPARE(ended.count(), 0);
    QVERIFY(tumo.isLoaded());
    QVERIFY(TumoFunc::trayData);
    // A later start of the program brings it back.
    tumo.bringForwardMainOrHelpWindow();
    QVERIFY(tumo.isVisible());
    tumo.hide();
    // A help window opened and closed meanwhile does not end it either.
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "Help.\r\n"));
    tumo.mnusub7_click();
    tumo.helpWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(ended.count(), 0);
}

void TstTumoShell::failedMiniRollerStartIsReported() {
    Tumo tumo;
    tumo.setMiniRollerProgram(workDir_->path(), QStringLiteral("no-such-mini-roller"));
    QVERIFY(tumo.Form_Load());
    tumo.show();
    ModalWatch watch;
    tumo.mnusub2->trigger();
    QCOMPARE(watch.seen(), 1);
    QCOMPARE(watch.messages.size(), 1);
    const QString& message = watch.messages.front();
    QVERIFY2(message.contains(QStringLiteral("no-such-mini-roller")), qPrintable(message));
    QVERIFY(tumo.isLoaded());
    QVERIFY(tumo.isVisible());
}

void TstTumoShell::startedMiniRollerShowsNoMessage() {
    // Any program that exists stands in for the mini roller here.
    const QString stand = QStandardPaths::findExecutable(QStringLiteral("true"));
    if (stand.isEmpty())
        QSKIP("No \"true\" program on the search path.");
    Tumo tumo;
    const QFileInfo info(stand);
    tumo.setMiniRollerProgram(info.absolutePath(), info.fileName());
    QVERIFY(tumo.Form_Load());
    QCOMPARE(closeModalsDuring([&] { tumo.mnusub2_click(); }), 0);
}

QTEST_MAIN(TstTumoShell)
#include "tst_tumo_shell.moc"

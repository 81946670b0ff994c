#include "tumo.h"

#include "accessible_names.h"
#include "artwork.h"
#include "bring_forward.h"
#include "courier_font.h"
#include "focus_mark.h"
#include "frm_help.h"
#include "frm_odds.h"
#include "keyboard.h"
#include "mini_roller_start.h"
#include "mouse_label.h"
#include "program_identity.h"
#include "random_source.h"
#include "roll_log.h"
#include "shared_odds.h"
#include "tumo_func.h"
#include "work_files.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

Tumo::Tumo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), sharedOdds(new SharedOdds(this)),
      random_(&processGenerator()), miniRollerFolder_(QCoreApplication::applicationDirPath()),
      miniRollerFileName_(miniRollerFileName()) {
    setWindowTitle(ProgramIdentity::rollboxTitle);
    setWindowIcon(dieIcon());
    setFont(courierFont(9.75));
    setFixedSize(513, 433);
    setColours(this, Colours::green, Colours::lightYellow);

    createChrome();
    createRollControls();
    createFunctionKeyLabels();
    createMenu();
    connectChrome();
    connectRollControls();
    connectOdds();
    // The style's focus outline is faint on the green; the window draws its own in light yellow.
    new FocusMark({cmdRoll, chkTimes, chkReroll, chkDropLow, chkDropHigh, chkDShow, chkSave},
                  Colours::lightYellow, this);

    auto* keyPreview =
        new KeyPreview([this](int keyCode, int shift) { Form_KeyDown(keyCode, shift); }, this);
    keyPreview->installOn(this);
    // A click on this window behind its setup, log-file or About window gives that window the
    // keyboard back.
    handActivationToModal(this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tumo::Timer1_Timer);
    Timer1->start();

    nameControlsForAccessibility(this);
    // The formula box is first in the tab order and holds the focus when the window first
    // shows, whichever control was created first; the chart box would swallow typing.
    txtInput->setFocus();
}

Tumo::~Tumo() {
    if (loaded_)
        Form_Unload();
    if (helpWindow) {
        helpWindow->disconnect(this);
        delete helpWindow;
    }
}

void Tumo::setRandomSource(RandomSource* random) {
    random_ = random;
}

void Tumo::setMiniRollerProgram(const QString& folder, const QString& fileName) {
    miniRollerFolder_ = folder;
    miniRollerFileName_ = fileName;
}

bool Tumo::Form_Load() {
    TumoFunc::hookWindow(this, lblTitle);
    if (!loadPresets())
        return false;
    processGenerator().seed(secondsSinceMidnight());
    if (auto failure = ensureFileExists(recordFileName))
        reportWorkFileFailure(failure->file, failure->reason);
    logPath = defaultLogPath();
    mnusub6->setEnabled(false);
    TumoFunc::addTrayIcon(this, windowIcon(), windowTitle(), [this] { mnusub1_click(); });
    loaded_ = true;
    return true;
}

void Tumo::Form_Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    if (oddsWindow)
        oddsWindow->close();
    TumoFunc::removeTrayIcon();
    TumoFunc::unhookWindow(this);
    deleteWorkFiles();
    if (!helpWindow)
        emit noWindowLeft();
}

// A presets file that cannot be read ends the program, whatever windows are open.
void Tumo::endAfterFatalError() {
    if (helpWindow)
        helpWindow->close();
    if (loaded_)
        Form_Unload();
    else
        TumoFunc::unhookWindow(this);
    hide();
    QCoreApplication::exit(1);
}

void Tumo::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Tumo::helpWindowClosed() {
    if (!loaded_)
        emit noWindowLeft();
}

void Tumo::Timer1_Timer() {
    processGenerator().seed(secondsSinceMidnight());
}

#include "tumo.h"

#include "artwork.h"
#include "courier_font.h"
#include "frm_help.h"
#include "key_preview.h"
#include "mini_roller_start.h"
#include "random_source.h"
#include "roll_log.h"
#include "tumo_func.h"
#include "work_files.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

Tumo::Tumo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), random_(&processGenerator()),
      miniRollerFolder_(QCoreApplication::applicationDirPath()),
      miniRollerFileName_(miniRollerFileName()) {
    setWindowTitle(tr("Quorvane's Dice Roller"));
    setWindowIcon(dieIcon());
    setFont(courierFont(9.75));
    setFixedSize(513, 433);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Colours::green);
    colours.setColor(QPalette::WindowText, Colours::lightYellow);
    setPalette(colours);
    setAutoFillBackground(true);

    createChrome();
    createRollControls();
    createMenu();
    connectChrome();
    connectRollControls();

    auto* keyPreview =
        new KeyPreview([this](int keyCode, int shift) { Form_KeyDown(keyCode, shift); }, this);
    keyPreview->installOn(this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tumo::Timer1_Timer);
    Timer1->start();
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

void Tumo::Form_Load() {
    TumoFunc::hookWindow(this);
    // The presets are read here and the function-key tooltips set.
    processGenerator().seed(secondsSinceMidnight());
    if (auto failure = ensureFileExists(recordFileName))
        reportWorkFileFailure(failure->file, failure->reason);
    logPath = defaultLogPath();
    mnusub6->setEnabled(false);
    TumoFunc::addTrayIcon(this, windowIcon(), tr("Quorvane's Dice Roller"));
    loaded_ = true;
}

void Tumo::Form_Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    TumoFunc::removeTrayIcon();
    TumoFunc::unhookWindow(this);
    deleteWorkFiles();
    if (!helpWindow)
        emit noWindowLeft();
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

// The popup menu of the main window and its commands.
#include "tumo.h"

#include "bring_forward.h"
#include "frm_about.h"
#include "frm_help.h"
#include "frm_odds.h"
#include "frm_setup.h"
#include "key_table.h"
#include "mini_roller_start.h"
#include "mouse_label.h"
#include "tumo_func.h"
#include "window_ops.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>

namespace {

// The shortcut is only shown beside the caption; the key handler runs the command, so that one
// key press never runs it twice.
QAction* entry(QMenu* menu, const QString& caption) {
    return menu->addAction(caption);
}

QAction* entry(QMenu* menu, const QString& caption, const CtrlKey& key) {
    return menu->addAction(caption + '\t' + QString::fromStdString(key.shortcutText()));
}

} // namespace

void Tumo::createMenu() {
    mnufile = new QMenu(tr("PopUp Menu"), this);
    mnusub2 = entry(mnufile, tr("Show Mini Roller"), miniRollerKey);
    mnusub8 = entry(mnufile, tr("Show Odds"), oddsKey);
    mnufile->addSeparator();
    mnusub4 = entry(mnufile, tr("Set Up Function Keys"), setUpFunctionKeysKey);
    mnufile->addSeparator();
    mnusub5 = entry(mnufile, tr("Set to Top"));
    mnusub6 = entry(mnufile, tr("Set to Normal"));
    mnufile->addSeparator();
    mnusub7 = entry(mnufile, tr("Help"), helpKey);
    mnusub3 = entry(mnufile, tr("About..."));
    mnufile->addSeparator();
    mnusub1 = entry(mnufile, tr("Exit"), exitKey);

    connect(mnusub1, &QAction::triggered, this, &Tumo::mnusub1_click);
    connect(mnusub2, &QAction::triggered, this, &Tumo::mnusub2_click);
    connect(mnusub3, &QAction::triggered, this, &Tumo::mnusub3_click);
    connect(mnusub4, &QAction::triggered, this, &Tumo::mnusub4_click);
    connect(mnusub5, &QAction::triggered, this, &Tumo::mnusub5_click);
    connect(mnusub6, &QAction::triggered, this, &Tumo::mnusub6_click);
    connect(mnusub7, &QAction::triggered, this, &Tumo::mnusub7_click);
    connect(mnusub8, &QAction::triggered, this, &Tumo::mnusub8_click);
}

void Tumo::Image1_mousedown(Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton)
        mnufile->popup(Image1->mapToGlobal(position));
}

void Tumo::mnusub1_click() {
    close();
}

void Tumo::mnusub2_click() {
    auto failure = startMiniRoller(miniRollerFolder_, miniRollerFileName_);
    if (!failure)
        return;
    QMessageBox message(QMessageBox::Warning, windowTitle(),
                        tr("The mini roller \"%1\" could not be started: %2.")
                            .arg(failure->program, failure->reason),
                        QMessageBox::Ok, this);
    message.setWindowModality(Qt::WindowModal);
    message.exec();
}

void Tumo::mnusub3_click() {
    frmAbout about(this);
    about.exec();
}

void Tumo::mnusub4_click() {
    if (!showSetupWindow()) {
        endAfterFatalError();
        return;
    }
    // Unloaded meanwhile (Exit from the tray, a signal to end): the window does not start again.
    if (!loaded_)
        return;
    TumoFunc::unhookWindow(this);
    if (!Form_Load())
        endAfterFatalError();
}

// Shows the function-key setup window modally until the user has saved or closed it. False
// when it could not read the presets file: that has been reported.
bool Tumo::showSetupWindow() {
    frmSetup setup(this);
    if (setup.loadError()) {
        reportFatalPresetError(setup.loadError()->message());
        return false;
    }
    // Modal to this window only, so that the tray icon keeps answering.
    setup.setWindowModality(Qt::WindowModal);
    setup.exec();
    return true;
}

void Tumo::mnusub5_click() {
    setTopMost(this, true);
    keepOpenedWindowsAbove();
    mnusub5->setEnabled(false);
    mnusub6->setEnabled(true);
}

void Tumo::mnusub6_click() {
    setTopMost(this, false);
    keepOpenedWindowsAbove();
    mnusub6->setEnabled(false);
    mnusub5->setEnabled(true);
}

// The help and odds windows would otherwise open, or stay, under a top-most main window. The
// modal windows are kept above it by their window manager as its transient windows already.
void Tumo::keepOpenedWindowsAbove() {
    const QList<QWidget*> opened{helpWindow.data(), oddsWindow.data()};
    for (QWidget* window : opened)
        if (window)
            keepAboveOwner(window, this);
}

void Tumo::mnusub7_click() {
    if (!helpWindow) {
        helpWindow = new frmHelp;
        connect(helpWindow, &QObject::destroyed, this, &Tumo::helpWindowClosed);
        keepAboveOwner(helpWindow, this);
    }
    // Also brings back a help window that was minimised.
    bringForward(helpWindow);
}

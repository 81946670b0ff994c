#pragma once

#include "preset.h"
#include "roll_made.h"
#include "roll_record.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class LastRollChart;
class MouseLabel;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class RandomSource;
class ResultPane;
class SharedOdds;
class frmHelp;
class frmOdds;

// The main window. Its handlers gather the controls into plain values, hand them to the
// roll engine and show what it returns:
//   cmdRoll_Click -> readRollRequest -> rollDice -> showRollRecord -> appendRollLog
//                 -> followRoll
// The record of the last roll lives in one reusable buffer from which the work files, the
// two panes and the log are all written; it keeps each repetition's total too, which
// followRoll hands with the request to the odds views (the rolled signal).
//
// The window is frameless and draws its own chrome: the die picture that opens the popup
// menu, the title that drags the window and changes colour with activation (TumoFunc), and
// the minimise and close glyphs. The program lives as long as the window is loaded
// (Form_Load to Form_Unload) or a help window is open; noWindowLeft tells when neither is.
class Tumo : public QWidget {
    Q_OBJECT
public:
    explicit Tumo(QWidget* parent = nullptr);
    ~Tumo() override;

    // Tests hand in a scripted source; by default the process generator rolls.
    void setRandomSource(RandomSource* random);
    // Where Show Mini Roller looks for the mini roller first; by default the mini roller
    // beside this program.
    void setMiniRollerProgram(const QString& folder, const QString& fileName);

    bool isLoaded() const { return loaded_; }

    QString logPath;
    // The user's presets behind Shift+F1 to Shift+F12, as last read from the presets file.
    PresetTable presets;

    // Title strip and static labels.
    MouseLabel* Image1;
    MouseLabel* lblTitle;
    MouseLabel* imgMin;
    MouseLabel* imgClose;
    QLabel* Label4;
    QLabel* Label5;
    MouseLabel* Label6;
    // The odds that the odds window and the chart of the last roll share.
    SharedOdds* sharedOdds;
    // The odds of the last roll, in the box at the lower right while no web address is shown
    // there; null otherwise.
    LastRollChart* imgOdds = nullptr;

    // Roll inputs.
    QLabel* Label1;
    QLineEdit* txtInput;
    QLabel* lblAdd;
    QLineEdit* txtAdd;
    QPushButton* cmdRoll;
    QCheckBox* chkTimes;
    QLineEdit* txtTimes;
    QCheckBox* chkReroll;
    QCheckBox* chkDropLow;
    QCheckBox* chkDropHigh;
    QCheckBox* chkDShow;
    QCheckBox* chkSave;
    // Result panes.
    QLabel* Label2;
    ResultPane* txtTotal;
    QLabel* Label3;
    ResultPane* txtDice;

    // The function-key labels, indices 1 to 12.
    MouseLabel* lblFunc(int n) const;

    QTimer* Timer1;

    // The popup menu, shown only at the die picture.
    QMenu* mnufile;
    QAction* mnusub2; // Show Mini Roller
    QAction* mnusub8; // Show Odds
    QAction* mnusub4; // Set Up Function Keys
    QAction* mnusub5; // Set to Top
    QAction* mnusub6; // Set to Normal
    QAction* mnusub7; // Help
    QAction* mnusub3; // About...
    QAction* mnusub1; // Exit

    // The help window while it is open.
    QPointer<frmHelp> helpWindow;
    // The odds window while it is open.
    QPointer<frmOdds> oddsWindow;

public slots:
    // Start-up steps of the window; run at start and again after the function-key setup.
    // False when the presets could not be read: that has been reported, and the program must
    // end.
    bool Form_Load();
    // Shut-down steps; run once per load, whichever way the window goes.
    void Form_Unload();
    // Every key press of the window's widgets, before the focused widget sees it.
    void Form_KeyDown(int keyCode, int shift);

    void cmdRoll_Click();
    void runQuickFormula(int n);
    void applyPreset(int n);
    void lblFunc_DblClick(int n);
    void chkTimes_Click();
    void chkSave_Click();

    void lblTitle_MouseDown(Qt::MouseButton button);
    void imgMin_Click();
    void imgClose_Click();
    void Label6_Click();
    void Image1_mousedown(Qt::MouseButton button, QPoint position);
    // A later start of the program asks for it: the main window comes forward, hidden in the
    // tray or minimised as it may be; after the main window has unloaded, the help window.
    void bringForwardMainOrHelpWindow();

    void mnusub1_click();
    void mnusub2_click();
    void mnusub3_click();
    void mnusub4_click();
    void mnusub5_click();
    void mnusub6_click();
    void mnusub7_click();
    void mnusub8_click();

signals:
    // The roll inputs or option boxes have changed: what the Roll button would roll now.
    void rollInputsChanged(const RollInputs& inputs, const RollOptions& options);
    // A roll has been made and shown.
    void rolled(const RollMade& roll);
    // The window has unloaded and no help window is open: the program may end.
    void noWindowLeft();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createChrome();
    void connectChrome();
    void createRollControls();
    void connectRollControls();
    void createMenu();
    bool showSetupWindow();
    void keepOpenedWindowsAbove();
    void createFunctionKeyLabels();
    bool loadPresets();
    void reportFatalPresetError(const QString& message);
    void endAfterFatalError();
    void helpWindowClosed();
    void connectOdds();
    void followRoll(const RollOptions& options, const RollRequest& request);

    RollInputs gatherRollInputs() const;
    RollOptions gatherRollOptions() const;
    void showRefusal(std::string_view message);
    void closingStep();
    void showRollRecord();
    void appendRollLog();
    void reportWorkFileFailure(const QString& file, const QString& reason);

    void Timer1_Timer();

    RandomSource* random_;
    RollRecord record_;
    bool workFileFailureReported_ = false;
    bool loaded_ = false;
    std::optional<RollMade> lastRoll_;
    QString miniRollerFolder_;
    QString miniRollerFileName_;
    std::array<MouseLabel*, presetCount> lblFunc_{};
};

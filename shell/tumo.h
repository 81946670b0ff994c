#pragma once

#include "roll_record.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RandomSource;
class ResultPane;
struct RollInputs;
struct RollOptions;

// The main window. Its handlers gather the controls into plain values, hand them to the
// roll engine and show what it returns:
//   cmdRoll_Click -> readRollRequest -> rollDice -> showRollRecord -> appendRollLog
// The record of the last roll lives in one reusable buffer from which the work files, the
// two panes and the log are all written.
class Tumo : public QWidget {
    Q_OBJECT
public:
    explicit Tumo(QWidget* parent = nullptr);
    ~Tumo() override;

    // Start-up steps of the window; run once at start and again after the setup window.
    void Form_Load();

    // Tests hand in a scripted source; by default the process generator rolls.
    void setRandomSource(RandomSource* random);

    QString logPath;

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

    QTimer* Timer1;

public slots:
    void cmdRoll_Click();
    void chkTimes_Click();
    void chkSave_Click();

private:
    void createRollControls();
    void connectRollControls();

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
    PaneTexts panes_;
    bool workFileFailureReported_ = false;
};

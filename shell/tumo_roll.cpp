// The roll handlers of the main window.
#include "tumo.h"

#include "frm_help.h"
#include "frm_save.h"
#include "preset_file.h"
#include "result_pane.h"
#include "roll_dice.h"
#include "roll_log.h"
#include "roll_output.h"
#include "roll_request.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>

namespace {

std::string latin1(const QLineEdit* box) {
    return box->text().toLatin1().toStdString();
}

} // namespace

RollInputs Tumo::gatherRollInputs() const {
    return {latin1(txtInput), latin1(txtAdd), latin1(txtTimes)};
}

RollOptions Tumo::gatherRollOptions() const {
    return {chkReroll->isChecked(), chkDropLow->isChecked(), chkDropHigh->isChecked(),
            chkDShow->isChecked()};
}

void Tumo::cmdRoll_Click() {
    const RollInputs inputs = gatherRollInputs();
    const RollRequestResult result = readRollRequest(inputs);
    switch (result.ending) {
    case RollEnding::Silent:
        return;
    case RollEnding::Refused:
        showRefusal(result.message);
        return;
    case RollEnding::AtLimit:
        closingStep();
        return;
    case RollEnding::Formed:
        break;
    }
    const RollOptions options = gatherRollOptions();
    rollDice(result.request, options, *random_, record_);
    showRollRecord();
    if (chkSave->isChecked())
        appendRollLog();
    closingStep();
    followRoll(options, result.request);
}

void Tumo::showRefusal(std::string_view message) {
    txtTotal->setText(message);
    txtDice->setText({});
    txtInput->setFocus();
}

void Tumo::closingStep() {
    txtInput->setFocus();
    txtInput->selectAll();
}

void Tumo::showRollRecord() {
    if (auto failure = fillPanesAndWorkFiles(record_.text(), *txtTotal, *txtDice))
        reportWorkFileFailure(failure->file, failure->reason);
    else
        workFileFailureReported_ = false;
}

void Tumo::appendRollLog() {
    if (auto failure = ::appendRollLog(logPath, record_.text())) {
        // Clear the box first, so that the next roll does not fail the same way.
        chkSave->setChecked(false);
        QMessageBox::warning(this, windowTitle(),
                             tr("The roll could not be added to the log file \"%1\": %2.\n"
                                "\"Save Results\" has been turned off.")
                                 .arg(failure->file, failure->reason));
    }
}

// Reported once while the failure lasts, not after every roll.
void Tumo::reportWorkFileFailure(const QString& file, const QString& reason) {
    if (workFileFailureReported_)
        return;
    workFileFailureReported_ = true;
    QMessageBox::warning(this, windowTitle(),
                         tr("The work file \"%1\" could not be written: %2.\n"
                            "Rolls are still shown and logged.")
                             .arg(file, reason));
}

void Tumo::chkTimes_Click() {
    if (chkTimes->isChecked()) {
        txtTimes->setEnabled(true);
        txtTimes->setFocus();
    } else {
        txtTimes->setText(QString());
        txtTimes->setEnabled(false);
    }
}

void Tumo::chkSave_Click() {
    if (!chkSave->isChecked())
        return;
    frmSave dialog(logPath, this,
                   {recordFileName, totalsFileName, diceFileName, presetFileName, helpFileName});
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() == QDialog::Accepted)
        logPath = dialog.chosenPath();
    else
        chkSave->setChecked(false);
}

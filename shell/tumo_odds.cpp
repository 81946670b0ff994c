// The odds of the main window's rolls: the odds window follows the inputs and the rolls, and
// the small chart in the box at the lower right shows the last roll.
#include "tumo.h"

#include "bring_forward.h"
#include "frm_odds.h"
#include "keyboard.h"
#include "last_roll_chart.h"
#include "result_pane.h"
#include "roll_odds.h"
#include "window_ops.h"

#include <QCheckBox>
#include <QLineEdit>

void Tumo::connectOdds() {
    auto inputsChanged = [this] {
        emit rollInputsChanged(gatherRollInputs(), gatherRollOptions());
    };
    for (QLineEdit* box : {txtInput, txtAdd, txtTimes}) {
        connect(box, &QLineEdit::textChanged, this, inputsChanged);
        keepCommandKeyFromBox(box, Qt::Key_D);
    }
    for (QCheckBox* box : {chkReroll, chkDropLow, chkDropHigh})
        connect(box, &QCheckBox::toggled, this, inputsChanged);
    if (imgOdds) {
        connect(this, &Tumo::rolled, imgOdds, &LastRollChart::showRoll);
        connect(imgOdds, &OddsChart::activated, this, &Tumo::mnusub8_click);
        setTabOrder(txtDice, imgOdds);
    }
}

void Tumo::followRoll(const RollInputs& inputs, const RollOptions& options,
                      const RollRequest& request) {
    // Every "Total:" line of the record is in the totals pane, which stays small where the
    // record is large (a thousand dice in each repetition); a one-die roll has its result in
    // its die line.
    const std::string& lines = request.count == 1 ? record_.text() : txtTotal->text();
    lastRoll_ = RollMade{inputs, options, request, recordTotals(lines)};
    emit rolled(*lastRoll_);
}

void Tumo::mnusub8_click() {
    if (!oddsWindow) {
        oddsWindow = new frmOdds([this] { return logPath; }, this);
        connect(this, &Tumo::rollInputsChanged, oddsWindow, &frmOdds::showOddsOf);
        connect(this, &Tumo::rolled, oddsWindow, &frmOdds::showRoll);
        oddsWindow->showOddsOf(gatherRollInputs(), gatherRollOptions());
        if (lastRoll_)
            oddsWindow->showRoll(*lastRoll_);
        keepAboveOwner(oddsWindow, this);
    }
    // Also brings back an odds window that was minimised.
    bringForward(oddsWindow);
}

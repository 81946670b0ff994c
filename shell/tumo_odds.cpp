// The odds of the main window's rolls: the odds window follows the inputs and the rolls, and
// the small chart in the box at the lower right shows the last roll. Both take their odds from
// one SharedOdds, so a question they both ask is worked out once.
#include "tumo.h"

#include "bring_forward.h"
#include "frm_odds.h"
#include "keyboard.h"
#include "last_roll_chart.h"
#include "result_pane.h"
#include "window_ops.h"

#include <QCheckBox>
#include <QLineEdit>

void Tumo::connectOdds() {
    // A function key sets several boxes, each telling its change; the shared odds start work
    // on the last question only.
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

// The roll hands over what it read and what it rolled: the request, and the total of each
// repetition as the record kept it.
void Tumo::followRoll(const RollOptions& options, const RollRequest& request) {
    lastRoll_ = RollMade{options, request, record_.totals()};
    emit rolled(*lastRoll_);
}

void Tumo::mnusub8_click() {
    if (!oddsWindow) {
        oddsWindow = new frmOdds([this] { return logPath; }, this, sharedOdds);
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

#pragma once

#include "odds_chart.h"
#include "roll_made.h"

#include <optional>

class SharedOdds;

// The small chart in the main window's box at the lower right: the odds of the last roll with
// its totals marked, asked of the odds the main window's views share (worked out off the
// user-interface thread). Another roll of the same request only moves the marks. A click, or Enter
// or Space with the focus, activates it: the main window opens the odds window then.
class LastRollChart : public OddsChart {
    Q_OBJECT
public:
    LastRollChart(SharedOdds* odds, QWidget* parent = nullptr);

    void showRoll(const RollMade& roll);
    // The odds of the last roll are still being worked out.
    bool isWorking() const;

private:
    void showOdds(const RollOdds& odds);
    void describe();

    SharedOdds* odds_;
    // The request and options whose odds are shown or being worked out.
    std::optional<RollMade> asked_;
    std::vector<double> totals_;
    QString summary_;
};

#pragma once

#include "odds_chart.h"

class LatestTask;
struct RollMade;

// The small chart in the main window's box at the lower right: the odds of the last roll with
// its totals marked, worked out off the user-interface thread. A click, or Enter or Space with
// the focus, activates it: the main window opens the odds window then.
class LastRollChart : public OddsChart {
    Q_OBJECT
public:
    explicit LastRollChart(QWidget* parent = nullptr);

    void showRoll(const RollMade& roll);
    // The odds of the last roll are still being worked out.
    bool isWorking() const;

private:
    void describe(const QString& whatItShows);

    LatestTask* task_;
};

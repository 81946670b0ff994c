#include "last_roll_chart.h"

#include "artwork.h"
#include "courier_font.h"
#include "latest_task.h"
#include "odds_words.h"
#include "roll_made.h"
#include "roll_odds.h"

#include <QCoreApplication>

LastRollChart::LastRollChart(QWidget* parent)
    : OddsChart(Style::Small, parent), task_(new LatestTask(this)) {
    // On the main window's green: light-yellow bars and text, marks in a warm red.
    setChartColours(
        {Colours::lightYellow, QColor(255, 96, 48), Colours::paleYellow, Colours::lightYellow});
    setFont(courierFont(8.25));
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Odds of the last roll"));
    setMessage(tr("Roll, and the odds of the roll show here."));
    describe(tr("No roll yet."));
    connect(task_, &LatestTask::failed, this, [this](const QString& what) { setMessage(what); });
}

bool LastRollChart::isWorking() const {
    return task_->isBusy();
}

void LastRollChart::showRoll(const RollMade& roll) {
    const QString rolled = requestText(roll.request, roll.options);
    const QString totals = totalsText(roll.totals);
    setCaption(totals.isEmpty() ? rolled : rolled + QStringLiteral(": ") + totals);
    task_->start([inputs = roll.inputs, options = roll.options](
                     std::stop_token stop) { return rollOdds(inputs, options, stop); },
                 [this, marked = roll.totals](RollOdds odds) {
                     if (odds.ending == OddsEnding::Distribution) {
                         setBars(oddsBars(odds, marked));
                         describe(oddsSummary(odds));
                     } else {
                         setMessage(QString::fromStdString(odds.message));
                         describe(QString::fromStdString(odds.message));
                     }
                 });
}

// The tooltip, which screen readers also read as the description.
void LastRollChart::describe(const QString& whatItShows) {
    QString text = caption();
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    setToolTip(text + whatItShows + QLatin1Char('\n') +
               tr("Click or press Enter for the odds window (Ctrl+D)."));
}

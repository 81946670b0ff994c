#include "last_roll_chart.h"

#include "artwork.h"
#include "courier_font.h"
#include "odds_words.h"
#include "roll_made.h"
#include "shared_odds.h"

#include <QCoreApplication>

LastRollChart::LastRollChart(SharedOdds* odds, QWidget* parent)
    : OddsChart(Style::Small, parent), odds_(odds), summary_(tr("No roll yet.")) {
    // On the main window's green: light-yellow bars and text, marks in a warm red.
    setChartColours(
        {Colours::lightYellow, QColor(255, 96, 48), Colours::paleYellow, Colours::lightYellow});
    setFont(courierFont(8.25));
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Odds of the last roll"));
    setMessage(tr("Roll, and the odds of the roll show here."));
    describe();
}

bool LastRollChart::isWorking() const {
    return odds_->isWorking(this);
}

void LastRollChart::showRoll(const RollMade& roll) {
    totals_ = roll.totals;
    const QString rolled = requestText(roll.request, roll.options);
    const QString totals = totalsText(roll.totals);
    setCaption(totals.isEmpty() ? rolled : rolled + QStringLiteral(": ") + totals);
    if (asked_ && sameOdds(asked_->request, asked_->options, roll.request, roll.options)) {
        // The odds shown, or on their way, are this roll's too.
        if (!isWorking()) {
            setMarked(totals_);
            describe();
        }
        return;
    }
    asked_ = roll;
    // The request the roll read, not its inputs read again.
    odds_->ask(
        this, {{RollEnding::Formed, roll.request, {}}, roll.options},
        [this](const SharedOdds::Answer& table) { showOdds(table->odds); },
        [this](const QString& what) {
            asked_.reset();
            setMessage(what);
        });
}

void LastRollChart::showOdds(const RollOdds& odds) {
    if (odds.ending == OddsEnding::Distribution) {
        setBars(oddsBars(odds, totals_));
        summary_ = oddsSummary(odds);
    } else {
        setMessage(QString::fromStdString(odds.message));
        summary_ = message();
    }
    describe();
}

// The tooltip, which screen readers also read as the description.
void LastRollChart::describe() {
    QString text = caption();
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    setToolTip(text + summary_ + QLatin1Char('\n') +
               tr("Click or press Enter for the odds window (Ctrl+D)."));
}

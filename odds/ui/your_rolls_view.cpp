#include "your_rolls_view.h"

#include "fairness.h"
#include "latest_task.h"
#include "odds_chart.h"
#include "odds_table.h"
#include "odds_words.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int progressSteps = 1000;
constexpr int progressInterval = 100; // ms

QString loggingHint() {
    return YourRollsView::tr("Rolls are logged while \"Save Results\" is ticked in the main "
                             "window.");
}

} // namespace

struct YourRollsView::Reading {
    QString path;
    std::shared_ptr<const OddsTable> table;
    LogReadResult read;
    FairnessVerdict verdict;
};

YourRollsView::YourRollsView(std::function<QString()> logPath, QWidget* parent)
    : QWidget(parent), logPath_(std::move(logPath)), task_(new LatestTask(this)),
      progressTimer_(new QTimer(this)) {
    lblLog = new QLabel(this);
    lblLog->setWordWrap(true);

    prgRead = new QProgressBar(this);
    prgRead->setRange(0, progressSteps);
    prgRead->setAccessibleName(tr("Reading the roll log"));
    prgRead->hide();

    imgRolls = new OddsChart(OddsChart::Style::Full, this);
    imgRolls->setAccessibleName(tr("Your rolls over the counts of fair dice"));
    imgRolls->setMinimumHeight(160);

    lblCursor = new QLabel(this);

    lblVerdict = new QLabel(this);
    lblVerdict->setWordWrap(true);
    lblVerdict->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdRead = new QPushButton(tr("&Read the Log Again"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblLog);
    layout->addWidget(prgRead);
    layout->addWidget(imgRolls, 1);
    layout->addWidget(lblCursor);
    layout->addWidget(lblVerdict);
    layout->addWidget(cmdRead, 0, Qt::AlignLeft);

    progressTimer_->setInterval(progressInterval);
    connect(progressTimer_, &QTimer::timeout, this, &YourRollsView::showProgress);
    connect(cmdRead, &QPushButton::clicked, this, &YourRollsView::readLog);
    connect(imgRolls, &OddsChart::currentBarChanged, this, &YourRollsView::showCursor);
    connect(task_, &LatestTask::failed, this, [this](const QString& what) {
        endProgress();
        imgRolls->setMessage(QString());
        lblVerdict->setText(tr("The roll log could not be read: %1").arg(what));
    });
}

void YourRollsView::setOdds(std::shared_ptr<const OddsTable> table) {
    table_ = std::move(table);
    logMayHaveChanged();
}

void YourRollsView::logMayHaveChanged() {
    stale_ = true;
    if (isVisible())
        readLog();
}

void YourRollsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        readLog();
}

bool YourRollsView::isWorking() const {
    return task_->isBusy();
}

void YourRollsView::readLog() {
    stale_ = false;
    const QString path = logPath_();
    lblLog->setText(tr("Roll log: %1").arg(QDir::toNativeSeparators(path)));
    if (!table_ || table_->odds.ending != OddsEnding::Distribution) {
        task_->stop();
        endProgress();
        imgRolls->setMessage(QString());
        lblVerdict->setText(table_ ? QString::fromStdString(table_->odds.message)
                                   : tr("Working out the odds..."));
        return;
    }
    lblVerdict->setText(tr("Reading the roll log..."));
    progress_ = std::make_shared<std::atomic<double>>(0.0);
    prgRead->setValue(0);
    prgRead->show();
    progressTimer_->start();
    task_->start(
        [path, table = table_, progress = progress_](std::stop_token stop) {
            Reading reading{path, table, {}, {}};
            reading.read = readLoggedRolls(
                path, table->odds.request, table->options,
                [&progress](double fraction) { progress->store(fraction); }, stop);
            if (reading.read.ok)
                reading.verdict = judgeFairness(table->odds, reading.read.rolls, table->options);
            return reading;
        },
        [this](const Reading& reading) { showReading(reading); });
}

void YourRollsView::showProgress() {
    if (progress_)
        prgRead->setValue(static_cast<int>(progress_->load() * progressSteps));
}

void YourRollsView::endProgress() {
    progressTimer_->stop();
    prgRead->hide();
}

void YourRollsView::showReading(const Reading& reading) {
    endProgress();
    const QString path = QDir::toNativeSeparators(reading.path);
    if (!reading.read.ok) {
        imgRolls->setMessage(tr("No rolls to show."));
        // The failure names the log and says why already.
        QString text = reading.read.failure;
        if (!QFileInfo::exists(reading.path))
            text += QLatin1Char('\n') + loggingHint();
        lblVerdict->setText(text);
        return;
    }
    const LoggedRolls& rolls = reading.read.rolls;
    const OddsTable& table = *reading.table;
    const QString question = requestText(table.odds.request, table.options);
    if (rolls.totals.empty()) {
        imgRolls->setMessage(tr("No rolls to show."));
        lblVerdict->setText(tr("The roll log \"%1\" holds no roll of %2 yet.").arg(path, question) +
                            QLatin1Char('\n') + loggingHint());
        return;
    }
    const FairnessVerdict& verdict = reading.verdict;
    imgRolls->setBars(
        {table.odds.lowest, verdict.observed, verdict.expected, {}, ChartBars::Unit::Count});
    QString text = QString::fromStdString(verdict.text);
    text += QLatin1Char('\n') + tr("Bars: the rolls of %1 in the log; behind them, what fair "
                                   "dice would give on average.")
                                    .arg(question);
    if (rolls.skippedCutShort > 0)
        text += QLatin1Char('\n') + (rolls.skippedCutShort == 1
                                         ? tr("One record cut short in the log was not counted.")
                                         : tr("%1 records cut short in the log were not counted.")
                                               .arg(rolls.skippedCutShort));
    lblVerdict->setText(text);
}

void YourRollsView::showCursor(int bar) {
    const ChartBars& bars = imgRolls->bars();
    if (bar < 0 || bars.behind.size() != bars.heights.size()) {
        lblCursor->clear();
        imgRolls->setAccessibleDescription(QString());
        return;
    }
    const auto at = static_cast<std::size_t>(bar);
    const double rolled = bars.heights[at];
    const QString total = decimalText(bars.lowest + bar);
    const QString fair = decimalText(bars.behind[at]);
    const QString text =
        rolled == 1 ? tr("Total %1: rolled once; fair dice, %2 times on average.").arg(total, fair)
                    : tr("Total %1: rolled %2 times; fair dice, %3 on average.")
                          .arg(total, decimalText(rolled), fair);
    lblCursor->setText(text);
    imgRolls->setAccessibleDescription(text);
}

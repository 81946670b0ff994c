#pragma once

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class LatestTask;
class OddsChart;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
struct OddsTable;

// "Your rolls": the user's own rolls of the question, read back from the roll log, drawn over
// the counts fair dice would give, with the verdict of a goodness-of-fit test. The log is read
// off the user-interface thread with a progress bar; a newer question or a newer read replaces
// an unfinished one. The log is read when the view is shown and the question or the log may
// have changed since the last read.
class YourRollsView : public QWidget {
    Q_OBJECT
public:
    // logPath gives the current path of the roll log each time it is read.
    YourRollsView(std::function<QString()> logPath, QWidget* parent = nullptr);

    // The odds of the question whose rolls to look for; null while there is none.
    void setOdds(std::shared_ptr<const OddsTable> table);
    // The log may have grown: read it again when shown.
    void logMayHaveChanged();
    // Reads the log now.
    void readLog();
    bool isWorking() const;

    QLabel* lblLog;
    QProgressBar* prgRead;
    OddsChart* imgRolls;
    QLabel* lblCursor;
    QLabel* lblVerdict;
    QPushButton* cmdRead;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Reading;
    void showReading(const Reading& reading);
    void showProgress();
    void endProgress();
    void showCursor(int bar);

    std::function<QString()> logPath_;
    std::shared_ptr<const OddsTable> table_;
    LatestTask* task_;
    QTimer* progressTimer_;
    std::shared_ptr<std::atomic<double>> progress_;
    bool stale_ = true;
};

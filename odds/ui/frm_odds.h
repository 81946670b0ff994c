#pragma once

#include "roll_made.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class LatestTask;
class OddsChart;
class OddsTableModel;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class SharedOdds;
class YourRollsView;
struct OddsTable;

// The odds window. It follows the main window: for the roll the Roll button would make now it
// shows the chance of every total as a bar chart and as a table, the mean and the standard
// deviation, and marks the totals of the last roll when that roll was of the same request. A
// cursor over the bars, moved by the pointer or the keys, reads out the chance of exactly, at
// least and at most its total; the table's current row moves with it. Ctrl+C copies the whole
// table. The second view, "Your rolls", checks the user's logged rolls against the odds.
//
// The odds are worked out off the user-interface thread; a newer question stops and replaces
// an unfinished one, unless the chart of the last roll waits for it too. The window deletes itself
// when closed.
class frmOdds : public QDialog {
    Q_OBJECT
public:
    // logPath gives the current path of the roll log. The odds are asked of odds, shared with
    // the main window's other views; without it the window has odds of its own.
    explicit frmOdds(std::function<QString()> logPath, QWidget* mainWindow = nullptr,
                     SharedOdds* odds = nullptr);

    QTabWidget* tabViews;
    QLabel* lblQuestion;
    QLabel* lblSummary;
    OddsChart* imgChart;
    QLabel* lblCursor;
    QLabel* lblLastRoll;
    QTableView* grdOdds;
    YourRollsView* pageRolls;
    QPushButton* cmdCopy;
    QPushButton* cmdClose;

    // The odds shown; null until the first answer.
    const std::shared_ptr<const OddsTable>& table() const { return table_; }
    // An answer is still being worked out (odds, the rolls in the log, or a copy).
    bool isWorking() const;

public slots:
    void showOddsOf(const RollInputs& inputs, const RollOptions& options);
    void showRoll(const RollMade& roll);
    // The whole table to the clipboard (the verdict in the "Your rolls" view). A large table is
    // written off the user-interface thread and reaches the clipboard a moment later.
    void copyTable();
    void cmdClose_Click();

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* createOddsPage();
    void keepTextReadable();
    void placeBeside(QWidget* mainWindow);
    void showTable(std::shared_ptr<const OddsTable> table);
    void markLastRoll();
    void enableCopy();
    void showCursor(int bar);

    OddsTableModel* model_;
    SharedOdds* odds_;
    LatestTask* copier_;
    QTimer* workingTimer_;
    std::shared_ptr<const OddsTable> table_;
    std::shared_ptr<const OddsTable> copying_; // the table whose copy is on its way
    std::optional<RollMade> lastRoll_;
};

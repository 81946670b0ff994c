// The odds window and the small chart of the last roll, driven through the main window.
#include "fairness.h"
#include "frm_odds.h"
#include "last_roll_chart.h"
#include "log_totals.h"
#include "odds_chart.h"
#include "odds_table.h"
#include "odds_table_model.h"
#include "result_pane.h"
#include "tumo.h"
#include "your_rolls_view.h"

#include "patience.h"
#include "scripted_random.h"
#include "work_dir.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cmath>

class TstOddsWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensOnCtrlDAndFollowsARoll();
    void ctrlCCopiesTheWholeTable();
    void showsTheEnginesMessageInsteadOfAChart_data();
    void showsTheEnginesMessageInsteadOfAChart();
    void lowerRightChartShowsTheLastRoll();
    void aRollGivesTheTotalOfEveryRepetition_data();
    void aRollGivesTheTotalOfEveryRepetition();
    void yourRollsJudgesTheLoggedRolls_data();
    void yourRollsJudgesTheLoggedRolls();

private:
    frmOdds* openOdds();
    void roll(const QString& formula, std::initializer_list<int> faces);

    std::unique_ptr<TemporaryWorkDir> dir_;
    ScriptedRandom random_;
    std::unique_ptr<Tumo> tumo_;
};

void TstOddsWindow::init() {
    dir_ = std::make_unique<TemporaryWorkDir>();
    random_ = ScriptedRandom();
    tumo_ = std::make_unique<Tumo>();
    tumo_->setRandomSource(&random_);
    QVERIFY(tumo_->Form_Load());
    tumo_->show();
    QApplication::setActiveWindow(tumo_.get());
    QVERIFY(QTest::qWaitForWindowActive(tumo_.get(), patienceMs));
}

void TstOddsWindow::cleanup() {
    tumo_.reset();
    dir_.reset();
}

// Ctrl+D in the formula box, then the first answer.
frmOdds* TstOddsWindow::openOdds() {
    tumo_->txtInput->setFocus();
    tumo_->txtInput->selectAll();
    QTest::keyClick(tumo_->txtInput, Qt::Key_D, Qt::ControlModifier);
    frmOdds* odds = tumo_->oddsWindow;
    if (!odds || !odds->isVisible())
        return nullptr;
    if (!QTest::qWaitFor([odds] { return odds->table() && !odds->isWorking(); }, patienceMs))
        return nullptr;
    return odds;
}

void TstOddsWindow::roll(const QString& formula, std::initializer_list<int> faces) {
    tumo_->txtInput->setText(formula);
    random_.faces(6, faces);
    tumo_->cmdRoll_Click();
}

void TstOddsWindow::opensOnCtrlDAndFollowsARoll() {
    tumo_->txtInput->setText("4d6");
    tumo_->chkDropLow->setChecked(true);
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    // Where the platform binds Ctrl+D to Delete (X11), the selected formula stays.
    QCOMPARE(tumo_->txtInput->text(), QString("4d6"));
    QCOMPARE(odds->lblQuestion->text(), QString("4d6, Drop Lowest"));
    const OddsTable& table = *odds->table();
    QCOMPARE(table.rows(), std::size_t(16));
    QCOMPARE(table.total(15), 18.0);
    // The faces follow the generator's grid of 2^24 steps, a hair from 1/6 each.
    QVERIFY(std::abs(table.exactly(15) - 21.0 / 1296) < 1e-6);

    // The keyboard cursor reads out the chance of at least, as the engine gives it.
    QTest::keyClick(odds->imgChart, Qt::Key_End);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(odds->imgChart, Qt::Key_Left);
    QCOMPARE(odds->imgChart->currentBar(), 12);
    QCOMPARE(odds->grdOdds->currentIndex().row(), 12);
    QCOMPARE(odds->lblCursor->text(), oddsRowText(table, 12));
    QVERIFY(odds->lblCursor->text().startsWith("Total 15: exactly "));
    QVERIFY(odds->lblCursor->text().contains(
        QString(", at least %1 %")
            .arg(QString::fromStdString(percentText(table.odds.atLeast(15), 6, Zeros::Dropped)))));

    // A roll of the same request marks its total: 6, 5, 4 with the 1 dropped.
    roll("4d6", {6, 1, 5, 4});
    QCOMPARE(odds->imgChart->bars().marked, std::vector<double>{15});
    QCOMPARE(odds->lblLastRoll->text(), QString("Last roll, marked: 15"));

    // New inputs, new odds, and the marks of another request go.
    tumo_->txtInput->setText("3d6");
    QTRY_COMPARE_WITH_TIMEOUT(odds->lblQuestion->text(), QString("3d6, Drop Lowest"), patienceMs);
    QVERIFY(odds->imgChart->bars().marked.empty());
}

void TstOddsWindow::ctrlCCopiesTheWholeTable() {
    tumo_->txtInput->setText("3d6");
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    QApplication::clipboard()->clear();
    QTest::keyClick(odds->grdOdds, Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::clipboard()->text().isEmpty(), patienceMs);
    const QString text = QApplication::clipboard()->text();

    QVERIFY(text.endsWith("\r\n"));
    QCOMPARE(text.count('\n'), text.count("\r\n"));
    QStringList lines = text.split("\r\n");
    lines.removeLast();
    QCOMPARE(lines.takeFirst(), QString("Total\tExactly %\tAt least %\tAt most %"));
    QCOMPARE(lines.size(), 16);
    QVERIFY(lines.at(7).startsWith("10\t12.50000"));
    double sum = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines.at(i).split('\t');
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells.at(0).toInt(), 3 + i);
        for (int c = 1; c < 4; ++c) {
            QString digits = cells.at(c);
            digits.remove('.');
            while (digits.startsWith('0'))
                digits.remove(0, 1);
            QVERIFY2(digits.size() >= 6, qPrintable(lines.at(i)));
        }
        const double exactly = cells.at(1).toDouble();
        QVERIFY(std::abs(cells.at(2).toDouble() + cells.at(3).toDouble() - exactly - 100) < 1e-5);
        QVERIFY(std::abs(exactly - 100 * odds->table()->exactly(i)) < 1e-5);
        sum += exactly;
    }
    QVERIFY(std::abs(sum - 100) < 1e-5);
}

void TstOddsWindow::showsTheEnginesMessageInsteadOfAChart_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("bothDrops");
    QTest::addRow("both drops on two dice") << "2d6" << true;
    QTest::addRow("refused formula") << "3x6" << false;
    QTest::addRow("beyond a limit") << "3d1001" << false;
}

void TstOddsWindow::showsTheEnginesMessageInsteadOfAChart() {
    QFETCH(QString, formula);
    QFETCH(bool, bothDrops);
    tumo_->txtInput->setText(formula);
    tumo_->chkDropLow->setChecked(bothDrops);
    tumo_->chkDropHigh->setChecked(bothDrops);
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    const RollOdds expected =
        rollOdds({formula.toStdString(), {}, "6"}, {false, bothDrops, bothDrops, false});
    QVERIFY(expected.ending != OddsEnding::Distribution);
    QVERIFY(!odds->imgChart->message().isEmpty());
    QCOMPARE(odds->imgChart->message(), QString::fromStdString(expected.message));
    QVERIFY(odds->imgChart->bars().heights.empty());
    QCOMPARE(odds->grdOdds->model()->rowCount(), 0);
}

void TstOddsWindow::lowerRightChartShowsTheLastRoll() {
    LastRollChart* chart = tumo_->imgOdds;
    QVERIFY(chart);
    QVERIFY(chart->bars().heights.empty());
    roll("3d6", {1, 2, 3});
    QTRY_VERIFY_WITH_TIMEOUT(!chart->bars().heights.empty(), patienceMs);
    QCOMPARE(chart->bars().heights.size(), std::size_t(16));
    QCOMPARE(chart->bars().marked, std::vector<double>{6});
    QVERIFY(chart->toolTip().startsWith("3d6: 6\n"));
    // Another roll of the same request moves the marks at once.
    roll("3d6", {6, 6, 5});
    QCOMPARE(chart->bars().marked, std::vector<double>{17});
    QVERIFY(!chart->isWorking());

    // Enter with the focus opens the odds window; so does a click.
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_Return);
    QVERIFY(tumo_->oddsWindow && tumo_->oddsWindow->isVisible());
    tumo_->oddsWindow->close();
    QTRY_VERIFY_WITH_TIMEOUT(!tumo_->oddsWindow, patienceMs);
    QTest::mouseClick(chart, Qt::LeftButton);
    QVERIFY(tumo_->oddsWindow && tumo_->oddsWindow->isVisible());
    tumo_->oddsWindow->close();
    QTRY_VERIFY_WITH_TIMEOUT(!tumo_->oddsWindow, patienceMs);
    // A screen reader presses it as a button.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(chart);
    QCOMPARE(face->role(), QAccessible::Button);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(tumo_->oddsWindow && tumo_->oddsWindow->isVisible());
}

void TstOddsWindow::aRollGivesTheTotalOfEveryRepetition_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("dice");
    QTest::addRow("one die") << "1d6" << 1;
    QTest::addRow("three dice") << "3d6" << 3;
    QTest::addRow("no dice") << "d6" << 0;
}

void TstOddsWindow::aRollGivesTheTotalOfEveryRepetition() {
    QFETCH(QString, formula);
    QFETCH(int, dice);
    const int times = 3;
    std::vector<double> totals;
    connect(tumo_.get(), &Tumo::rolled, this,
            [&totals](const RollMade& roll) { totals = roll.totals; });
    tumo_->chkTimes->setChecked(true);
    tumo_->txtTimes->setText(QString::number(times));
    for (int i = 0; i < dice * times; ++i)
        random_.faces(6, {1 + i % 6});
    tumo_->txtInput->setText(formula);
    tumo_->cmdRoll_Click();
    QCOMPARE(totals.size(), std::size_t(times));
    QCOMPARE(totals, recordTotals(fileBytes("temp.txt").toStdString()));
}

void TstOddsWindow::yourRollsJudgesTheLoggedRolls_data() {
    QTest::addColumn<QString>("logName");
    QTest::addColumn<bool>("readable");
    QTest::addRow("logged rolls") << "rolllog.txt" << true;
    QTest::addRow("missing log") << "no such folder/rolllog.txt" << false;
}

void TstOddsWindow::yourRollsJudgesTheLoggedRolls() {
    QFETCH(QString, logName);
    QFETCH(bool, readable);
    tumo_->logPath = dir_->filePath("rolllog.txt");
    {
        const QSignalBlocker noDialog(tumo_->chkSave);
        tumo_->chkSave->setChecked(true);
    }
    for (int i = 0; i < 30; ++i)
        roll("3d6", {1 + i % 6, 1 + i / 6 % 6, 3});
    tumo_->logPath = dir_->filePath(logName);
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    odds->tabViews->setCurrentWidget(odds->pageRolls);
    QTRY_VERIFY_WITH_TIMEOUT(!odds->isWorking(), patienceMs);

    const OddsTable& table = *odds->table();
    const LogReadResult read = readLoggedRolls(tumo_->logPath, table.odds.request, table.options);
    const QString verdict = odds->pageRolls->lblVerdict->text();
    QCOMPARE(read.ok, readable);
    if (!read.ok) {
        // The failure says once what could not be read, and why.
        QVERIFY2(verdict.startsWith(read.failure), qPrintable(verdict));
        QVERIFY(odds->pageRolls->imgRolls->bars().heights.empty());
        return;
    }
    QCOMPARE(read.rolls.totals.size(), std::size_t(30));
    const FairnessVerdict expected = judgeFairness(table.odds, read.rolls);
    QVERIFY(verdict.startsWith(QString::fromStdString(expected.text)));
    QCOMPARE(odds->pageRolls->imgRolls->bars().heights, expected.observed);
    QCOMPARE(odds->pageRolls->imgRolls->bars().behind, expected.expected);
}

QTEST_MAIN(TstOddsWindow)
#include "tst_odds_window.moc"

// The odds window and the small chart of the last roll, driven through the main window.
#include "fairness.h"
#include "frm_odds.h"
#include "last_roll_chart.h"
#include "log_totals.h"
#include "odds_chart.h"
#include "odds_table.h"
#include "odds_table_model.h"
#include "result_pane.h"
#include "shared_odds.h"
#include "tumo.h"
#include "your_rolls_view.h"

#include "contrast.h"
#include "patience.h"
#include "scripted_random.h"
#include "work_dir.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
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
    void ctrlCCopiesTheWholeTable_data();
    void ctrlCCopiesTheWholeTable();
    void aLargeCopyFinishesWhilePressedAgain();
    void showsTheEnginesMessageInsteadOfAChart_data();
    void showsTheEnginesMessageInsteadOfAChart();
    void lowerRightChartShowsTheLastRoll();
    void aRollGivesTheTotalOfEveryRepetition_data();
    void aRollGivesTheTotalOfEveryRepetition();
    void aPresetKeyWorksOutTheOddsOnce();
    void yourRollsJudgesTheLoggedRolls_data();
    void yourRollsJudgesTheLoggedRolls();
    void textsAreReadableOnADarkTheme_data();
    void textsAreReadableOnADarkTheme();

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

void TstOddsWindow::ctrlCCopiesTheWholeTable_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("add");
    QTest::addColumn<qint64>("lowest");
    QTest::addColumn<int>("rows");
    QTest::addRow("3d6") << "3d6"
                         << "" << qint64(3) << 16;
    // Totals past 10^15 are whole numbers all the same, each its own.
    QTest::addRow("totals past 10^15") << "3d6"
                                       << "+1000000000000000" << qint64(1000000000000003) << 16;
    // Tails far below the error bound: said as such, never as noise or as 0.
    QTest::addRow("tails below the bound") << "20d1000"
                                           << "" << qint64(20) << 19981;
}

void TstOddsWindow::ctrlCCopiesTheWholeTable() {
    QFETCH(QString, formula);
    QFETCH(QString, add);
    QFETCH(qint64, lowest);
    QFETCH(int, rows);
    tumo_->txtInput->setText(formula);
    tumo_->txtAdd->setText(add);
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
    QCOMPARE(lines.size(), rows);
    const OddsTable& table = *odds->table();
    const double bound = table.odds.errorBound();
    double sum = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines.at(i).split('\t');
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells.at(0), QString::number(lowest + i));
        const auto row = static_cast<std::size_t>(i);
        const double chances[] = {table.exactly(row), table.atLeast(row), table.atMost(row)};
        for (int c = 1; c < 4; ++c) {
            const QString& cell = cells.at(c);
            const double chance = chances[c - 1];
            if (cell.startsWith("< ")) { // below the bound: the true chance is under the limit
                QVERIFY2(chance < bound, qPrintable(lines.at(i)));
                QCOMPARE(cell, QString("< 2e-10"));
                continue;
            }
            QVERIFY2(chance >= bound && cell != "0", qPrintable(lines.at(i)));
            // At least 6 significant digits where they are known, none finer than the bound,
            // and the chance rounded to them.
            const QString mantissa = cell.section('e', 0, 0);
            const int exponent = cell.contains('e') ? cell.section('e', 1).toInt() : 0;
            const int point = mantissa.indexOf('.');
            const int decimals = point < 0 ? 0 : int(mantissa.size()) - point - 1;
            const double unit = std::pow(10.0, exponent - decimals);
            QVERIFY2(unit >= 100 * bound * 0.999, qPrintable(lines.at(i)));
            QString digits = mantissa;
            digits.remove('.');
            while (digits.startsWith('0'))
                digits.remove(0, 1);
            if (chance >= 1e6 * bound)
                QVERIFY2(digits.size() >= 6, qPrintable(lines.at(i)));
            QVERIFY2(std::abs(cell.toDouble() - 100 * chance) <= unit / 2 * 1.0001,
                     qPrintable(lines.at(i)));
        }
        const double exactly = cells.at(1).startsWith("<") ? 0 : cells.at(1).toDouble();
        sum += exactly;
    }
    QVERIFY(std::abs(sum - 100) < 1e-5);
    if (rows == 16 && lowest == 3)
        QVERIFY(lines.at(7).startsWith("10\t12.50000"));
}

// Copy Table on a large table: the window keeps answering, and pressing Ctrl+C again while the
// copy is on its way lets it finish instead of starting it over.
void TstOddsWindow::aLargeCopyFinishesWhilePressedAgain() {
    tumo_->txtInput->setText("1000d1000");
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    QCOMPARE(odds->table()->rows(), std::size_t(999001));
    QApplication::clipboard()->clear();
    // The copy of a million rows takes a good part of a second; pressed every 20 ms meanwhile.
    int presses = 0;
    while (QApplication::clipboard()->text().isEmpty() && presses < patienceMs / 20) {
        QTest::keyClick(odds->grdOdds, Qt::Key_C, Qt::ControlModifier);
        ++presses;
        QTest::qWait(20);
    }
    QVERIFY2(!QApplication::clipboard()->text().isEmpty(), "the copy never finished");
    QVERIFY(QApplication::clipboard()->text().endsWith("\r\n"));
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
    QTest::addColumn<QList<double>>("expected");
    QTest::addRow("one die") << "1d6" << 1 << QList<double>{1, 2, 3};
    QTest::addRow("three dice") << "3d6" << 3 << QList<double>{6, 15, 6};
    QTest::addRow("no dice") << "d6" << 0 << QList<double>{0, 0, 0};
}

void TstOddsWindow::aRollGivesTheTotalOfEveryRepetition() {
    QFETCH(QString, formula);
    QFETCH(int, dice);
    QFETCH(QList<double>, expected);
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
    const std::vector<double> rolled(expected.begin(), expected.end());
    QCOMPARE(totals, rolled);
    // The chart of the last roll marks the totals rolled.
    LastRollChart* chart = tumo_->imgOdds;
    QVERIFY(chart);
    QTRY_VERIFY_WITH_TIMEOUT(!chart->isWorking(), patienceMs);
    QCOMPARE(chart->bars().marked, rolled);
}

// A preset key rolls its quick formula, then sets the formula, the add amount and the option
// boxes and rolls again: with the odds window open, the odds are worked out once, for the
// window and the chart of the last roll together.
void TstOddsWindow::aPresetKeyWorksOutTheOddsOnce() {
    tumo_->presets.at(3) = Preset{"4d6", 1, 0, 1, "+2"};
    tumo_->txtInput->setText("2d8");
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    QTRY_VERIFY_WITH_TIMEOUT(!tumo_->imgOdds->isWorking(), patienceMs);
    const int before = tumo_->sharedOdds->workStarted();
    // The key rolls its quick formula, 1d3, and then the preset.
    random_.faces(3, {2}).faces(6, {2, 3, 4, 5});
    QTest::keyClick(tumo_->txtInput, Qt::Key_F3, Qt::ShiftModifier);
    QTRY_COMPARE_WITH_TIMEOUT(odds->lblQuestion->text(),
                              QString("(4d6)+2, Drop Lowest, Reroll 1's"), patienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(!odds->isWorking() && !tumo_->imgOdds->isWorking(), patienceMs);
    QCOMPARE(tumo_->sharedOdds->workStarted(), before + 1);
    QCOMPARE(odds->table()->odds.lowest, tumo_->imgOdds->bars().lowest);
    QVERIFY(!odds->imgChart->bars().marked.empty());
}

void TstOddsWindow::yourRollsJudgesTheLoggedRolls_data() {
    QTest::addColumn<QString>("logName");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("dropLowest");
    QTest::addRow("logged rolls") << "rolllog.txt" << true << false;
    QTest::addRow("logged rolls, drop lowest") << "rolllog.txt" << true << true;
    QTest::addRow("missing log") << "no such folder/rolllog.txt" << false << false;
}

void TstOddsWindow::yourRollsJudgesTheLoggedRolls() {
    QFETCH(QString, logName);
    QFETCH(bool, readable);
    QFETCH(bool, dropLowest);
    tumo_->chkDropLow->setChecked(dropLowest);
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
    const FairnessVerdict expected = judgeFairness(table.odds, read.rolls, table.options);
    QVERIFY(verdict.startsWith(QString::fromStdString(expected.text)));
    // The first line names the options; Ctrl+C copies it all with CR LF line ends.
    QCOMPARE(verdict.section('\n', 0, 0).startsWith("30 rolls of 3d6, Drop Lowest:"), dropLowest);
    QApplication::clipboard()->clear();
    QTest::keyClick(odds->pageRolls, Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::clipboard()->text().isEmpty(), patienceMs);
    QCOMPARE(QApplication::clipboard()->text(), QString(verdict).replace("\n", "\r\n"));
    QCOMPARE(odds->pageRolls->imgRolls->bars().heights, expected.observed);
    QCOMPARE(odds->pageRolls->imgRolls->bars().behind, expected.expected);
}

namespace {

// What is written in an area of a window's picture: the commonest colour there is what lies
// behind, the pixel that stands out most from it the text. An area without text measures 1.
struct Writing {
    QColor text;
    QColor behind;
    double contrast() const { return contrastRatio(text, behind); }
};

Writing writingIn(const QImage& picture, const QRect& area) {
    const QRect inside = area.intersected(picture.rect());
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb behind = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(behind, most) = std::pair(it.key(), it.value());
    Writing writing{QColor(behind), QColor(behind)};
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (contrastRatio(QColor(it.key()), writing.behind) > writing.contrast())
            writing.text = QColor(it.key());
    return writing;
}

// The dark palette commonly given to Fusion.
QPalette darkFusionPalette() {
    QPalette dark;
    const QColor window(53, 53, 53);
    const QColor base(42, 42, 42);
    for (auto [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, window},
             {QPalette::WindowText, Qt::white},
             {QPalette::Base, base},
             {QPalette::AlternateBase, QColor(66, 66, 66)},
             {QPalette::Text, Qt::white},
             {QPalette::Button, window},
             {QPalette::ButtonText, Qt::white},
             {QPalette::Highlight, QColor(42, 130, 218)},
             {QPalette::HighlightedText, Qt::black},
             {QPalette::ToolTipBase, base},
             {QPalette::ToolTipText, Qt::white},
             {QPalette::Light, QColor(80, 80, 80)},
             {QPalette::Midlight, QColor(66, 66, 66)},
             {QPalette::Mid, QColor(40, 40, 40)},
             {QPalette::Dark, QColor(30, 30, 30)},
             {QPalette::Shadow, Qt::black}})
        dark.setColor(role, colour);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
    return dark;
}

QRect areaIn(const QWidget* window, const QWidget* widget, const QRect& rect) {
    return rect.translated(widget->mapTo(window, QPoint(0, 0)));
}

} // namespace

void TstOddsWindow::textsAreReadableOnADarkTheme_data() {
    QTest::addColumn<QString>("style");
    QTest::addRow("Fusion, dark palette") << "Fusion";
    // Debian's adwaita-qt6.
    QTest::addRow("Adwaita-Dark") << "Adwaita-Dark";
}

// Every text of the odds window, measured on its picture against what is behind it.
void TstOddsWindow::textsAreReadableOnADarkTheme() {
    QFETCH(QString, style);
    if (!QStyleFactory::keys().contains(style, Qt::CaseInsensitive))
        QSKIP("The style is not installed.");
    const QString oldStyle = QApplication::style()->name();
    const QPalette oldPalette = QApplication::palette();
    const auto restore = qScopeGuard([&] {
        QApplication::setStyle(oldStyle);
        QApplication::setPalette(oldPalette);
    });
    QApplication::setStyle(style);
    QApplication::setPalette(style == QStringLiteral("Fusion")
                                 ? darkFusionPalette()
                                 : QApplication::style()->standardPalette());
    QVERIFY(QApplication::palette().color(QPalette::Window).lightnessF() < 0.4);

    roll("3d6", {6, 5, 4});
    tumo_->txtInput->setText("3d6");
    frmOdds* odds = openOdds();
    QVERIFY(odds);
    QVERIFY(QTest::qWaitForWindowExposed(odds, patienceMs));
    odds->imgChart->setCurrentBar(7);

    QList<std::pair<QString, QRect>> texts;
    auto addLabels = [&](QWidget* page) {
        for (QLabel* label : page->findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                texts.append({label->text().left(30), areaIn(odds, label, label->rect())});
    };
    auto addButton = [&](QPushButton* button) {
        texts.append({button->text(), areaIn(odds, button, button->rect().adjusted(5, 5, -5, -5))});
    };
    auto addChart = [&](OddsChart* chart) {
        // The totals along the axis, or a message, in the chart's lowest line.
        const int line = chart->fontMetrics().height();
        const QRect bottom(0, chart->height() - 4 - line, chart->width(), line);
        texts.append({chart->accessibleName(),
                      areaIn(odds, chart,
                             chart->bars().heights.empty() ? chart->rect().adjusted(4, 4, -4, -4)
                                                           : bottom)});
    };
    // The texts below 4.5, each with its contrast.
    QStringList unreadable;
    auto measure = [&] {
        const QImage picture = odds->grab().toImage();
        for (const auto& [name, area] : std::as_const(texts)) {
            const Writing writing = writingIn(picture, area);
            const double contrast = writing.contrast();
            qInfo("%s: %.2f (%s on %s)", qPrintable(name), contrast,
                  qPrintable(writing.text.name()), qPrintable(writing.behind.name()));
            if (contrast < 4.5)
                unreadable.append(QStringLiteral("\"%1\" %2").arg(name).arg(contrast, 0, 'f', 2));
        }
        texts.clear();
    };

    addLabels(odds->tabViews->widget(0));
    addChart(odds->imgChart);
    QHeaderView* header = odds->grdOdds->horizontalHeader();
    texts.append(
        {QStringLiteral("table header"), areaIn(odds, header,
                                                QRect(header->sectionViewportPosition(0), 0,
                                                      header->sectionSize(0), header->height())
                                                    .adjusted(3, 3, -3, -3))});
    // The first two rows in view, one of them of the alternate colour, and the current one.
    QTableView* grid = odds->grdOdds;
    const int firstShown = grid->rowAt(0);
    for (int row : {firstShown, firstShown + 1, grid->currentIndex().row()})
        texts.append(
            {QStringLiteral("table row %1").arg(row),
             areaIn(odds, grid->viewport(),
                    grid->visualRect(grid->model()->index(row, 1)).adjusted(2, 2, -2, -2))});
    QTabBar* tabs = odds->tabViews->tabBar();
    for (int tab = 0; tab < tabs->count(); ++tab)
        texts.append(
            {tabs->tabText(tab), areaIn(odds, tabs, tabs->tabRect(tab).adjusted(4, 4, -4, -4))});
    addButton(odds->cmdCopy);
    addButton(odds->cmdClose);
    measure();

    odds->tabViews->setCurrentWidget(odds->pageRolls);
    QTRY_VERIFY_WITH_TIMEOUT(!odds->isWorking(), patienceMs);
    addLabels(odds->pageRolls);
    addChart(odds->pageRolls->imgRolls);
    addButton(odds->pageRolls->cmdRead);
    measure();
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QStringLiteral(", "))));
}

QTEST_MAIN(TstOddsWindow)
#include "tst_odds_window.moc"

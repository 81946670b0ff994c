#include "frm_odds.h"

#include "artwork.h"
#include "contrast.h"
#include "courier_font.h"
#include "latest_task.h"
#include "odds_chart.h"
#include "odds_table.h"
#include "odds_table_model.h"
#include "odds_words.h"
#include "program_identity.h"
#include "shared_odds.h"
#include "your_rolls_view.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Answers that come quicker than this never show that they are being worked out, so that
// typing does not make the window flicker.
constexpr int workingNoticeDelay = 200; // ms
constexpr int besideGap = 8;
// Room for the window manager's frame: the borders and the title bar.
constexpr int frameAllowance = 8;
constexpr int frameTitleAllowance = 40;

QLabel* wrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmOdds::frmOdds(std::function<QString()> logPath, QWidget* mainWindow, SharedOdds* odds)
    : QDialog(mainWindow, Qt::Window), model_(new OddsTableModel(this)),
      odds_(odds ? odds : new SharedOdds(this)), copier_(new LatestTask(this)),
      workingTimer_(new QTimer(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Odds - %1").arg(ProgramIdentity::rollboxTitle));
    setWindowIcon(dieIcon());
    // Its colours are all the theme's: a window of tabs, tables and buttons is the desktop's
    // kind, and a fixed text colour would be lost on a dark theme's background.
    setFont(courierFont(9.75));
    resize(600, 600);
    setMinimumSize(440, 460);

    tabViews = new QTabWidget(this);
    tabViews->setAccessibleName(tr("Views"));
    tabViews->tabBar()->setAccessibleName(tr("Views"));
    tabViews->addTab(createOddsPage(), tr("&Odds"));
    pageRolls = new YourRollsView(std::move(logPath), this);
    tabViews->addTab(pageRolls, tr("&Your rolls"));

    cmdCopy = new QPushButton(tr("Co&py Table"), this);
    cmdCopy->setToolTip(tr("Copy the whole table (Ctrl+C)."));
    cmdClose = new QPushButton(tr("&Close"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabViews, 1);
    layout->addLayout(buttons);

    workingTimer_->setSingleShot(true);
    workingTimer_->setInterval(workingNoticeDelay);
    connect(workingTimer_, &QTimer::timeout, this,
            [this] { lblSummary->setText(tr("Working out the odds...")); });
    connect(cmdCopy, &QPushButton::clicked, this, &frmOdds::copyTable);
    connect(cmdClose, &QPushButton::clicked, this, &frmOdds::cmdClose_Click);
    // Ctrl+C anywhere in the window copies the whole table, not one cell of it.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &frmOdds::copyTable);
    connect(tabViews, &QTabWidget::currentChanged, this, &frmOdds::enableCopy);

    enableCopy();
    markLastRoll();
    placeBeside(mainWindow);
    imgChart->setFocus();
}

QWidget* frmOdds::createOddsPage() {
    auto* page = new QWidget(this);
    lblQuestion = new QLabel(page);
    lblQuestion->setFont(courierFont(12));
    lblSummary = wrappedLabel(page);

    imgChart = new OddsChart(OddsChart::Style::Full, page);
    imgChart->setAccessibleName(tr("Chart of the chance of each total"));
    imgChart->setMinimumHeight(180);

    lblCursor = wrappedLabel(page);
    lblLastRoll = wrappedLabel(page);

    grdOdds = new QTableView(page);
    grdOdds->setModel(model_);
    grdOdds->setAccessibleName(tr("Chance of each total"));
    grdOdds->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdOdds->setSelectionMode(QAbstractItemView::SingleSelection);
    grdOdds->setTabKeyNavigation(false);
    grdOdds->setAlternatingRowColors(true);
    grdOdds->verticalHeader()->hide();
    // Every row as high as the next, so that a million rows cost no more than a few.
    grdOdds->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdOdds->verticalHeader()->setDefaultSectionSize(grdOdds->fontMetrics().height() + 4);
    grdOdds->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblQuestion);
    layout->addWidget(lblSummary);
    layout->addWidget(imgChart, 3);
    layout->addWidget(lblCursor);
    layout->addWidget(lblLastRoll);
    layout->addWidget(grdOdds, 2);

    keepTextReadable();

    connect(imgChart, &OddsChart::currentBarChanged, this, &frmOdds::showCursor);
    connect(grdOdds->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    imgChart->setCurrentBar(current.row());
            });
    return page;
}

// Beside the main window on the screen it is on: to its right where that side has room, else
// to its left, else below or above it; where no side has room, on the side with the most, kept
// on the screen. The frame the window manager adds is known only once the window shows, so room
// is left for a usual one.
void frmOdds::placeBeside(QWidget* mainWindow) {
    if (!mainWindow)
        return;
    const QRect main = mainWindow->frameGeometry();
    const QScreen* screen = mainWindow->screen();
    if (!screen) {
        move(main.topRight() + QPoint(besideGap, 0));
        return;
    }
    const QRect room = screen->availableGeometry();
    const QMargins frame(frameAllowance, frameTitleAllowance, frameAllowance, frameAllowance);
    // The window's outer size, no larger than the screen.
    const QSize outer = QSize(width(), height()).grownBy(frame).boundedTo(room.size());
    resize(outer.shrunkBy(frame).expandedTo(minimumSize()));

    const int rightRoom = room.right() - main.right() - besideGap;
    const int leftRoom = main.left() - room.left() - besideGap;
    const int belowRoom = room.bottom() - main.bottom() - besideGap;
    const int aboveRoom = main.top() - room.top() - besideGap;
    QPoint corner;
    if (rightRoom >= outer.width() || (leftRoom < outer.width() && belowRoom < outer.height() &&
                                       aboveRoom < outer.height() && rightRoom >= leftRoom))
        corner = {main.right() + 1 + besideGap, main.top()};
    else if (leftRoom >= outer.width() ||
             (belowRoom < outer.height() && aboveRoom < outer.height()))
        corner = {main.left() - besideGap - outer.width(), main.top()};
    else if (belowRoom >= outer.height())
        corner = {main.left(), main.bottom() + 1 + besideGap};
    else
        corner = {main.left(), main.top() - besideGap - outer.height()};
    corner.setX(std::clamp(corner.x(), room.left(), room.right() + 1 - outer.width()));
    corner.setY(std::clamp(corner.y(), room.top(), room.bottom() + 1 - outer.height()));
    move(corner);
}

// Two things some themes do that leave text too faint on a dark background (Adwaita's dark
// theme: 4.2:1): they dim all text while the window is in the background, or a table while it
// has no focus, and they write a table's column captions at half strength. Text keeps the
// theme's full strength here, and the captions take its text at the strongest: white on a dark
// theme, black on a light one.
void frmOdds::keepTextReadable() {
    const QPalette theme = QApplication::palette(this);
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        colours.setColor(QPalette::Inactive, role, theme.color(QPalette::Active, role));
    setPalette(colours);

    QHeaderView* header = grdOdds->horizontalHeader();
    const QColor background = theme.color(QPalette::Window);
    const QColor strongest =
        contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background)
            ? QColor(Qt::white)
            : QColor(Qt::black);
    QPalette captions = header->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            captions.setColor(group, role, strongest);
    header->setPalette(captions);
}

void frmOdds::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        keepTextReadable();
}

bool frmOdds::isWorking() const {
    return odds_->isWorking(this) || copier_->isBusy() || pageRolls->isWorking();
}

void frmOdds::showOddsOf(const RollInputs& inputs, const RollOptions& options) {
    if (!workingTimer_->isActive() && !odds_->isWorking(this))
        workingTimer_->start();
    odds_->ask(
        this, {readRollRequest(inputs), options},
        [this](const SharedOdds::Answer& table) { showTable(table); },
        [this](const QString& what) {
            workingTimer_->stop();
            lblSummary->setText(tr("The odds could not be worked out: %1").arg(what));
        });
}

void frmOdds::showTable(std::shared_ptr<const OddsTable> table) {
    workingTimer_->stop();
    table_ = std::move(table);
    const RollOdds& odds = table_->odds;
    const bool formed = odds.ending == OddsEnding::Distribution ||
                        odds.ending == OddsEnding::BothDropsRefused ||
                        odds.ending == OddsEnding::TooLarge;
    lblQuestion->setText(formed ? requestText(odds.request, table_->options)
                                : tr("Nothing to roll"));
    const bool summarised =
        odds.ending == OddsEnding::Distribution || odds.ending == OddsEnding::TooLarge;
    lblSummary->setText(summarised ? oddsSummary(odds) : QString());
    model_->setTable(odds.ending == OddsEnding::Distribution ? table_ : nullptr);
    if (odds.ending == OddsEnding::Distribution)
        imgChart->setBars(oddsBars(odds, {}));
    else
        imgChart->setMessage(QString::fromStdString(odds.message));
    enableCopy();
    markLastRoll();
    pageRolls->setOdds(table_);
}

// The button copies the table of the odds view, once there is one.
void frmOdds::enableCopy() {
    cmdCopy->setEnabled(table_ && table_->rows() > 0 && tabViews->currentWidget() != pageRolls);
}

void frmOdds::showRoll(const RollMade& roll) {
    lastRoll_ = roll;
    markLastRoll();
    pageRolls->logMayHaveChanged();
}

void frmOdds::markLastRoll() {
    const bool charted = table_ && table_->odds.ending == OddsEnding::Distribution;
    if (!lastRoll_) {
        lblLastRoll->setText(tr("No roll yet: the totals of your next roll will be marked."));
        imgChart->setMarked({});
        return;
    }
    const QString rolled = requestText(lastRoll_->request, lastRoll_->options);
    if (charted &&
        sameOdds(lastRoll_->request, lastRoll_->options, table_->odds.request, table_->options)) {
        lblLastRoll->setText(tr("Last roll, marked: %1").arg(totalsText(lastRoll_->totals)));
        imgChart->setMarked(lastRoll_->totals);
        return;
    }
    lblLastRoll->setText(tr("The last roll was of %1.").arg(rolled));
    imgChart->setMarked({});
}

void frmOdds::showCursor(int bar) {
    if (bar < 0 || !table_ || static_cast<std::size_t>(bar) >= table_->rows()) {
        lblCursor->clear();
        imgChart->setAccessibleDescription(QString());
        return;
    }
    const QString text = oddsRowText(*table_, static_cast<std::size_t>(bar));
    lblCursor->setText(text);
    imgChart->setAccessibleDescription(text);
    const QModelIndex row = model_->index(bar, 0);
    if (grdOdds->currentIndex().row() != bar)
        grdOdds->setCurrentIndex(row);
    grdOdds->scrollTo(row);
}

void frmOdds::copyTable() {
    if (tabViews->currentWidget() == pageRolls) {
        // Every text the program writes ends its lines with CR LF.
        QString text = pageRolls->lblVerdict->text();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        QGuiApplication::clipboard()->setText(text);
        return;
    }
    if (!table_ || table_->rows() == 0)
        return;
    // A copy of this table on its way is left to finish: starting it again would only delay it.
    if (copier_->isBusy() && copying_ == table_)
        return;
    copying_ = table_;
    // The text is written and widened to the clipboard's characters off the user-interface
    // thread; handing it over (shared, not copied) is all that is left to this one.
    copier_->start(
        [table = table_](std::stop_token stop) {
            const std::string text = oddsTableText(*table, stop);
            return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        },
        [this](const QString& text) {
            copying_.reset();
            QGuiApplication::clipboard()->setText(text);
        });
}

void frmOdds::cmdClose_Click() {
    close();
}

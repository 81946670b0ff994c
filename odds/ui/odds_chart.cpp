#include "odds_chart.h"

#include "contrast.h"
#include "odds_table.h"
#include "odds_words.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int markHeight = 6;
constexpr int gap = 3;
// Bars below this share of the tallest would not show a pixel: the chart leaves out the runs of
// them at either end (a thousand dice have a million totals, nearly all of them that rare).
constexpr double unseenShare = 1e-3;

// 1, 2 or 5 times a power of ten, at least minimum.
double niceStep(double minimum) {
    if (minimum <= 1)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= minimum)
            return factor * power;
    return 10 * power;
}

QString totalText(double total) {
    return QString::number(total, 'f', 0);
}

} // namespace

OddsChart::OddsChart(Style style, QWidget* parent) : QWidget(parent), style_(style) {
    installAccessibility();
    if (style_ == Style::Full) {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        setForegroundRole(QPalette::Text);
    }
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(style_ == Style::Full);
}

void OddsChart::setChartColours(const ChartColours& colours) {
    colours_ = colours;
    fixedColours_ = true;
    update();
}

QColor OddsChart::backgroundColour() const {
    return palette().color(backgroundRole());
}

// Green bars and red marks as on the main window, darkened on a light theme's background and
// lightened on a dark one until they stand out from it.
OddsChart::ChartColours OddsChart::chartColours() const {
    if (fixedColours_)
        return colours_;
    constexpr double shapeContrast = 3.0;
    const QColor background = backgroundColour();
    const QColor bars = shadeAgainst(QColor(0, 160, 0), background, shapeContrast);
    return {bars, shadeAgainst(QColor(224, 64, 0), background, shapeContrast),
            mixed(bars, background, 0.35), palette().color(foregroundRole())};
}

void OddsChart::setBars(ChartBars bars) {
    const bool hadBar = current_ >= 0;
    const bool keepTotal = hadBar && cursorMoved_;
    const double currentTotal = bars_.lowest + current_;
    bars_ = std::move(bars);
    message_.clear();
    takeMarks();
    // The cursor stays on its total where the new bars have it, else goes to the likeliest.
    current_ = -1;
    if (style_ == Style::Full && !bars_.heights.empty()) {
        const double index = currentTotal - bars_.lowest;
        if (keepTotal && index >= 0 && index < barCount())
            current_ = static_cast<int>(index);
        else
            current_ =
                static_cast<int>(std::max_element(bars_.heights.begin(), bars_.heights.end()) -
                                 bars_.heights.begin());
    }
    update();
    if (hadBar || current_ >= 0)
        emit currentBarChanged(current_);
}

void OddsChart::setMarked(std::vector<double> marked) {
    bars_.marked = std::move(marked);
    takeMarks();
    update();
}

// Sorts the marks and finds the bars worth showing: those tall enough to be seen, the marked
// ones, and all between.
void OddsChart::takeMarks() {
    marks_ = bars_.marked;
    std::sort(marks_.begin(), marks_.end());
    marks_.erase(std::unique(marks_.begin(), marks_.end()), marks_.end());

    const int n = barCount();
    const double top = tallest();
    const double seen = top * unseenShare;
    const bool withBehind = bars_.behind.size() == bars_.heights.size();
    auto visible = [&](int i) {
        const auto at = static_cast<std::size_t>(i);
        const double height = bars_.heights[at];
        // A count of one roll is always seen; a chance only when it shows.
        const bool shows = bars_.unit == ChartBars::Unit::Count ? height > 0 : height >= seen;
        return shows || (withBehind && bars_.behind[at] >= seen);
    };
    int first = 0;
    while (first < n - 1 && !visible(first))
        ++first;
    int last = n - 1;
    while (last > first && !visible(last))
        --last;
    for (double total : marks_) {
        const double index = total - bars_.lowest;
        if (index >= 0 && index < n) {
            first = std::min(first, static_cast<int>(index));
            last = std::max(last, static_cast<int>(index));
        }
    }
    first_ = std::max(0, first);
    shown_ = std::max(0, last - first_ + 1);
}

void OddsChart::setMessage(const QString& message) {
    bars_ = {};
    marks_.clear();
    first_ = shown_ = 0;
    message_ = message;
    const bool hadBar = current_ >= 0;
    current_ = -1;
    update();
    if (hadBar)
        emit currentBarChanged(-1);
}

void OddsChart::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void OddsChart::setCurrentBar(int index) {
    if (bars_.heights.empty())
        return;
    index = std::clamp(index, 0, barCount() - 1);
    if (index == current_)
        return;
    current_ = index;
    cursorMoved_ = true;
    update();
    emit currentBarChanged(current_);
}

void OddsChart::activate() {
    emit activated();
}

QRect OddsChart::plotArea() const {
    const QFontMetrics metrics = fontMetrics();
    QRect area = rect().adjusted(gap, gap, -gap, -gap);
    if (!caption_.isEmpty())
        area.setTop(area.top() + metrics.height());
    if (style_ == Style::Small)
        return area.adjusted(0, 0, 0, -markHeight);
    const double top = tallest();
    const int labelWidth = std::max(metrics.horizontalAdvance(valueText(top)),
                                    metrics.horizontalAdvance(valueText(top / 2))) +
                           2 * gap;
    const int halfLabel = metrics.horizontalAdvance(totalText(bars_.lowest + first_ + shown_)) / 2;
    return area.adjusted(labelWidth, metrics.height() / 2, -halfLabel,
                         -(markHeight + gap + metrics.height()));
}

double OddsChart::barLeft(const QRect& plot, double index) const {
    return plot.left() + (index - first_) * plot.width() / std::max(1, shown_);
}

int OddsChart::barAt(const QRect& plot, int x) const {
    const double share = double(x - plot.left()) / std::max(1, plot.width());
    return std::clamp(first_ + static_cast<int>(std::floor(share * shown_)), first_,
                      first_ + shown_ - 1);
}

double OddsChart::tallest() const {
    double top = 0;
    for (const std::vector<double>* values : {&bars_.heights, &bars_.behind})
        if (!values->empty())
            top = std::max(top, *std::max_element(values->begin(), values->end()));
    return top;
}

// Is a total from fromTotal up to, not including, toTotal marked?
bool OddsChart::isMarked(double fromTotal, double toTotal) const {
    const auto it = std::lower_bound(marks_.begin(), marks_.end(), fromTotal);
    return it != marks_.end() && *it < toTotal;
}

QString OddsChart::valueText(double value) const {
    if (bars_.unit == ChartBars::Unit::Count)
        return decimalText(value);
    return QString::fromStdString(percentText(value, 3, Zeros::Dropped)) + QStringLiteral(" %");
}

void OddsChart::paintEvent(QPaintEvent*) {
    colours_ = chartColours();
    QPainter painter(this);
    const QRect inside = rect().adjusted(gap, gap, -gap, -gap);
    painter.setPen(colours_.text);
    if (!caption_.isEmpty())
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         fontMetrics().elidedText(caption_, Qt::ElideRight, inside.width()));
    if (bars_.heights.empty()) {
        QRect messageArea = inside;
        if (!caption_.isEmpty())
            messageArea.setTop(messageArea.top() + fontMetrics().height());
        painter.drawText(messageArea, Qt::AlignCenter | Qt::TextWordWrap, message_);
    } else {
        const QRect plot = plotArea();
        const double top = tallest();
        drawBars(painter, plot, top);
        drawMarks(painter, plot);
        if (style_ == Style::Full) {
            drawAxes(painter, plot, top);
            drawCursor(painter, plot);
        }
    }
    if (hasFocus()) {
        QPen dotted(colours_.text, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void OddsChart::drawBars(QPainter& painter, const QRect& plot, double top) const {
    if (top <= 0)
        return;
    const bool withBehind = bars_.behind.size() == bars_.heights.size();
    auto bar = [&](int left, int width, double value, const QColor& colour) {
        const int h = static_cast<int>(std::lround(value / top * plot.height()));
        if (h > 0 && width > 0)
            painter.fillRect(left, plot.bottom() + 1 - h, width, h, colour);
    };
    if (shown_ <= plot.width()) {
        for (int i = first_; i < first_ + shown_; ++i) {
            const int x0 = static_cast<int>(std::lround(barLeft(plot, i)));
            const int x1 = static_cast<int>(std::lround(barLeft(plot, i + 1)));
            const int width = x1 - x0 - (x1 - x0 >= 4 ? 1 : 0);
            const auto at = static_cast<std::size_t>(i);
            const double total = bars_.lowest + i;
            const QColor& colour = isMarked(total, total + 1) ? colours_.marks : colours_.bars;
            if (withBehind) {
                bar(x0, width, bars_.behind[at], colours_.behind);
                const int inset = width / 4;
                bar(x0 + inset, width - 2 * inset, bars_.heights[at], colour);
            } else {
                bar(x0, width, bars_.heights[at], colour);
            }
        }
        return;
    }
    // More totals than pixels: each column shows the tallest of its totals.
    const auto count = static_cast<long long>(shown_);
    for (int column = 0; column < plot.width(); ++column) {
        const auto from = static_cast<std::size_t>(first_ + column * count / plot.width());
        const auto to = std::max(
            from + 1, static_cast<std::size_t>(first_ + (column + 1) * count / plot.width()));
        double height = 0;
        double behind = 0;
        for (std::size_t i = from; i < to; ++i) {
            height = std::max(height, bars_.heights[i]);
            if (withBehind)
                behind = std::max(behind, bars_.behind[i]);
        }
        const bool marked = isMarked(bars_.lowest + static_cast<double>(from),
                                     bars_.lowest + static_cast<double>(to));
        if (withBehind)
            bar(plot.left() + column, 1, behind, colours_.behind);
        bar(plot.left() + column, 1, height, marked ? colours_.marks : colours_.bars);
    }
}

void OddsChart::drawMarks(QPainter& painter, const QRect& plot) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours_.marks);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double halfWidth = markHeight * 0.6;
    for (double total : marks_) {
        const double index = total - bars_.lowest;
        if (index < first_ || index >= first_ + shown_)
            continue;
        const double x = barLeft(plot, index + 0.5);
        const double y = plot.bottom() + 1;
        QPainterPath triangle;
        triangle.moveTo(x, y);
        triangle.lineTo(x - halfWidth, y + markHeight);
        triangle.lineTo(x + halfWidth, y + markHeight);
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
}

void OddsChart::drawAxes(QPainter& painter, const QRect& plot, double top) const {
    const QFontMetrics metrics = fontMetrics();
    painter.setPen(colours_.text);
    painter.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);

    // The tallest value and half of it, with faint lines across.
    QColor faint = colours_.text;
    faint.setAlpha(60);
    for (double share : {1.0, 0.5}) {
        const int y = plot.bottom() + 1 - static_cast<int>(std::lround(share * plot.height()));
        painter.setPen(faint);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(colours_.text);
        const QRect label(0, y - metrics.height() / 2, plot.left() - gap, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, valueText(top * share));
    }

    // Totals at a round step, far enough apart for their labels.
    const double lowest = bars_.lowest + first_;
    const double highest = lowest + shown_ - 1;
    const int widest = std::max(metrics.horizontalAdvance(totalText(lowest)),
                                metrics.horizontalAdvance(totalText(highest)));
    const double perPixel = double(shown_) / std::max(1, plot.width());
    const double step = niceStep((widest + 3 * metrics.averageCharWidth()) * perPixel);
    const int labelTop = plot.bottom() + 1 + markHeight + gap / 2;
    for (double total = std::ceil(lowest / step) * step; total <= highest; total += step) {
        const int x = static_cast<int>(std::lround(barLeft(plot, total - bars_.lowest + 0.5)));
        const QString text = totalText(total);
        const int width = metrics.horizontalAdvance(text);
        painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 3);
        painter.drawText(QRect(x - width, labelTop, 2 * width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, text);
    }
}

// A shade over the bar under the cursor; an arrow at the edge when it lies beyond the bars
// shown.
void OddsChart::drawCursor(QPainter& painter, const QRect& plot) const {
    if (current_ < 0)
        return;
    QColor shade = colours_.text;
    shade.setAlpha(40);
    if (current_ < first_ || current_ >= first_ + shown_) {
        const bool left = current_ < first_;
        const int x = left ? plot.left() : plot.right();
        const int y = plot.top() + plot.height() / 2;
        const int d = left ? markHeight : -markHeight;
        QPainterPath arrow;
        arrow.moveTo(x, y);
        arrow.lineTo(x + d, y - markHeight);
        arrow.lineTo(x + d, y + markHeight);
        arrow.closeSubpath();
        painter.fillPath(arrow, colours_.text);
        return;
    }
    const int x0 = static_cast<int>(std::floor(barLeft(plot, current_)));
    const int x1 = std::max(x0 + 1, static_cast<int>(std::ceil(barLeft(plot, current_ + 1))));
    painter.fillRect(QRect(QPoint(x0, plot.top()), QPoint(x1 - 1, plot.bottom())), shade);
    painter.setPen(QPen(colours_.text, 1, Qt::DashLine));
    const int middle = (x0 + x1 - 1) / 2;
    painter.drawLine(middle, plot.top(), middle, plot.bottom());
}

ChartBars oddsBars(const RollOdds& odds, std::vector<double> marked) {
    return {odds.lowest, odds.probabilities, {}, std::move(marked), ChartBars::Unit::Probability};
}

// The result pane's text, layout, scrolling and painting; its keyboard and mouse handling is
// in result_pane_input.cpp, its accessibility in pane_accessible.cpp.
#include "result_pane.h"

#include "courier_font.h"
#include "pane_accessible.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <climits>
#include <cmath>

namespace {

// Bytes as the pane draws them: control characters (a lone CR, a tab) show as blanks.
QString shownText(std::string_view bytes) {
    QString s = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            c = u' ';
    }
    return s;
}

int clampToInt(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, INT_MAX));
}

} // namespace

ResultPane::ResultPane(QWidget* parent) : QAbstractScrollArea(parent) {
    installPaneAccessibility();
    setFont(courierFont(9.75));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    measureFont();
    layout_.setText(text_);
    relayout();
}

ResultPane::~ResultPane() = default;

void ResultPane::setText(std::string_view latin1Text) {
    const PaneTextChange change(this);
    text_.assign(latin1Text);
    textChanged();
}

std::string ResultPane::takeText() {
    const PaneTextChange change(this);
    std::string taken;
    taken.swap(text_);
    textChanged();
    return taken;
}

void ResultPane::adoptText(std::string&& latin1Text) {
    const PaneTextChange change(this);
    text_ = std::move(latin1Text);
    textChanged();
}

QString ResultPane::toPlainText() const {
    QString shown = QString::fromLatin1(text_.data(), static_cast<qsizetype>(text_.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

void ResultPane::textChanged() {
    layout_.setText(text_);
    anchor_ = caret_ = 0;
    goalColumn_ = SIZE_MAX;
    relayout();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

// The font is fixed-pitch: one character's advance is the width of every column.
void ResultPane::measureFont() {
    const QFontMetricsF metrics(font());
    charWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('x')));
    rowHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.height())));
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
}

// Wraps to the columns that fit the viewport and sets the scroll range in rows, keeping the
// line at the top in view.
void ResultPane::relayout() {
    const std::size_t topLine =
        layout_.rowCount() > firstVisibleRow() ? layout_.row(firstVisibleRow()).line : 0;
    const qreal width = viewport()->width() - 2 * margin_;
    layout_.setColumns(static_cast<std::size_t>(std::max<qreal>(1, width / charWidth_)));

    const std::size_t rows = layout_.rowCount(), shown = visibleRowCount();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, clampToInt(rows > shown ? rows - shown : 0));
    bar->setPageStep(clampToInt(shown));
    bar->setSingleStep(1);
    if (topLine < layout_.lineCount())
        bar->setValue(clampToInt(layout_.firstRowOfLine(topLine)));
}

std::size_t ResultPane::firstVisibleRow() const {
    return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
}

std::size_t ResultPane::visibleRowCount() const {
    return static_cast<std::size_t>(std::max(1, (viewport()->height() - 2 * margin_) / rowHeight_));
}

QStringList ResultPane::visibleRows() const {
    QStringList rows;
    const std::size_t first = firstVisibleRow();
    const std::size_t last = std::min(layout_.rowCount(), first + visibleRowCount());
    for (std::size_t r = first; r < last; ++r) {
        const PaneLayout::Row row = layout_.row(r);
        rows << shownText(std::string_view(text_).substr(row.start, row.end - row.start));
    }
    return rows;
}

QRect ResultPane::characterRect(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const std::size_t r = layout_.rowOf(offset);
    const std::size_t column = offset - layout_.row(r).start;
    const qint64 y =
        margin_ + (static_cast<qint64>(r) - static_cast<qint64>(firstVisibleRow())) * rowHeight_;
    const int x = margin_ + static_cast<int>(std::lround(static_cast<qreal>(column) * charWidth_));
    return QRect(x, static_cast<int>(std::clamp<qint64>(y, INT_MIN / 2, INT_MAX / 2)),
                 static_cast<int>(std::ceil(charWidth_)), rowHeight_);
}

std::size_t ResultPane::offsetAt(QPoint point) const {
    const std::size_t rows = layout_.rowCount();
    const qint64 fromTop = static_cast<qint64>(firstVisibleRow()) +
                           (point.y() - margin_) / rowHeight_ - (point.y() < margin_ ? 1 : 0);
    const std::size_t r = static_cast<std::size_t>(std::clamp<qint64>(fromTop, 0, rows - 1));
    const PaneLayout::Row row = layout_.row(r);
    // Past the end of a wrapped row the caret stays on that row, before its last blank.
    const bool lastOfLine = row.end == layout_.lineEnd(row.line);
    const std::size_t longest = row.end - row.start - (lastOfLine || row.end == row.start ? 0 : 1);
    const qreal column = std::round((point.x() - margin_) / charWidth_);
    return row.start + static_cast<std::size_t>(std::clamp<qreal>(column, 0, longest));
}

void ResultPane::ensureVisible(std::size_t offset) {
    const std::size_t r = layout_.rowOf(offset), first = firstVisibleRow(),
                      shown = visibleRowCount();
    if (r < first)
        verticalScrollBar()->setValue(clampToInt(r));
    else if (r >= first + shown)
        verticalScrollBar()->setValue(clampToInt(r - shown + 1));
}

void ResultPane::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& pal = palette();
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor textColor = pal.color(group, QPalette::Text);
    const QColor highlight = pal.color(group, QPalette::Highlight);
    const QColor highlightedText = pal.color(group, QPalette::HighlightedText);
    const std::size_t selStart = selectionStart(), selEnd = selectionEnd();
    const std::string_view text(text_);

    auto xOf = [&](std::size_t column) {
        return margin_ + static_cast<qreal>(column) * charWidth_;
    };
    const std::size_t first = firstVisibleRow(), rows = layout_.rowCount();
    const int top = event->rect().top(), bottom = event->rect().bottom();
    for (std::size_t r = first; r < rows; ++r) {
        const int y = margin_ + static_cast<int>(r - first) * rowHeight_;
        if (y > bottom)
            break;
        if (y + rowHeight_ < top)
            continue;
        const PaneLayout::Row row = layout_.row(r);
        const std::size_t a = std::clamp(selStart, row.start, row.end);
        const std::size_t b = std::clamp(selEnd, row.start, row.end);
        const qreal baseline = y + ascent_;
        painter.setPen(textColor);
        if (a > row.start)
            painter.drawText(QPointF(xOf(0), baseline),
                             shownText(text.substr(row.start, a - row.start)));
        if (b < row.end)
            painter.drawText(QPointF(xOf(b - row.start), baseline),
                             shownText(text.substr(b, row.end - b)));
        // A selection that runs on past the line's end shows one blank cell for the line break.
        const bool breakSelected =
            row.end == layout_.lineEnd(row.line) && selStart <= row.end && selEnd > row.end;
        const std::size_t cells = b - a + (breakSelected ? 1 : 0);
        if (cells) {
            painter.fillRect(QRectF(xOf(a - row.start), y, cells * charWidth_, rowHeight_),
                             highlight);
            painter.setPen(highlightedText);
            painter.drawText(QPointF(xOf(a - row.start), baseline),
                             shownText(text.substr(a, b - a)));
        }
    }
    if (hasFocus()) {
        const QRect caret = characterRect(caret_);
        painter.fillRect(QRect(caret.left(), caret.top(), 1, caret.height()), textColor);
    }
}

void ResultPane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void ResultPane::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureFont();
        relayout();
    }
    viewport()->update();
}

void ResultPane::scrollContentsBy(int, int) {
    viewport()->update();
}

void ResultPane::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ResultPane::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

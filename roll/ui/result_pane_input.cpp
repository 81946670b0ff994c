// The result pane's caret, selection, clipboard and context menu, driven by keys and mouse as
// in a read-only text box.
#include "result_pane.h"

#include "pane_accessible.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

namespace {

enum class Motion {
    PreviousChar,
    NextChar,
    PreviousWord,
    NextWord,
    PreviousRow,
    NextRow,
    RowStart,
    RowEnd,
    PreviousPage,
    NextPage,
    TextStart,
    TextEnd,
};

struct KeyMotion {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Motion motion;
};

// The platform's own keys for each motion; the select form extends the selection.
constexpr KeyMotion keyMotions[] = {
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Motion::PreviousChar},
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Motion::NextChar},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Motion::PreviousWord},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Motion::NextWord},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Motion::PreviousRow},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Motion::NextRow},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Motion::RowStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Motion::RowEnd},
    {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Motion::RowStart},
    {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Motion::RowEnd},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Motion::PreviousPage},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Motion::NextPage},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Motion::TextStart},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Motion::TextEnd},
};

bool isWordChar(char c) {
    return QChar::fromLatin1(c).isLetterOrNumber() || c == '_';
}

} // namespace

void ResultPane::setSelection(std::size_t anchor, std::size_t caret) {
    anchor_ = layout_.caretOffset(anchor);
    caret_ = layout_.caretOffset(caret);
    goalColumn_ = SIZE_MAX;
    viewport()->update();
    notifySelectionChanged();
}

QString ResultPane::selectedText() const {
    const std::size_t start = selectionStart();
    return QString::fromLatin1(text_.data() + start,
                               static_cast<qsizetype>(selectionEnd() - start));
}

void ResultPane::selectAll() {
    setSelection(0, text_.size());
}

void ResultPane::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

QMenu* ResultPane::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QAction* copyAction = menu->addAction(tr("&Copy"), this, [this] { copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    menu->addSeparator();
    QAction* selectAllAction = menu->addAction(tr("Select All"), this, &ResultPane::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(!text_.empty());
    return menu;
}

void ResultPane::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPoint where = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        where = viewport()->mapToGlobal(characterRect(caret_).bottomLeft());
    menu->popup(where);
}

void ResultPane::moveCaret(std::size_t offset, bool extend) {
    caret_ = layout_.caretOffset(offset);
    if (!extend)
        anchor_ = caret_;
    ensureVisible(caret_);
    viewport()->update();
    notifySelectionChanged();
}

void ResultPane::notifySelectionChanged() {
    notifyPaneSelection(this);
}

// The caret's offset after moving rows up (negative) or down, in the column it came from.
std::size_t ResultPane::rowMoveTarget(std::ptrdiff_t rows) {
    const std::size_t from = layout_.rowOf(caret_);
    const PaneLayout::Row here = layout_.row(from);
    if (goalColumn_ == SIZE_MAX)
        goalColumn_ = caret_ - here.start;
    const auto last = static_cast<std::ptrdiff_t>(layout_.rowCount()) - 1;
    const auto to = std::clamp(static_cast<std::ptrdiff_t>(from) + rows, std::ptrdiff_t{0}, last);
    const PaneLayout::Row there = layout_.row(static_cast<std::size_t>(to));
    const bool lastOfLine = there.end == layout_.lineEnd(there.line);
    const std::size_t width =
        there.end - there.start - (lastOfLine || there.end == there.start ? 0 : 1);
    return there.start + std::min(goalColumn_, width);
}

bool ResultPane::moveByKey(QKeyEvent* event) {
    for (const KeyMotion& k : keyMotions) {
        const bool extend = event->matches(k.select);
        if (!extend && !event->matches(k.move))
            continue;
        const std::size_t size = text_.size();
        const bool vertical = k.motion == Motion::PreviousRow || k.motion == Motion::NextRow ||
                              k.motion == Motion::PreviousPage || k.motion == Motion::NextPage;
        const std::ptrdiff_t page = static_cast<std::ptrdiff_t>(visibleRowCount());
        std::size_t to = caret_;
        switch (k.motion) {
        case Motion::PreviousChar:
            if (!extend && hasSelection())
                to = selectionStart();
            else if (caret_ > 0)
                to = caret_ - 1;
            break;
        case Motion::NextChar:
            if (!extend && hasSelection())
                to = selectionEnd();
            else if (caret_ < size)
                to = caret_ +
                     (text_[caret_] == '\r' && caret_ + 1 < size && text_[caret_ + 1] == '\n' ? 2
                                                                                              : 1);
            break;
        case Motion::PreviousWord:
            while (to > 0 && !isWordChar(text_[to - 1]))
                --to;
            while (to > 0 && isWordChar(text_[to - 1]))
                --to;
            break;
        case Motion::NextWord:
            while (to < size && isWordChar(text_[to]))
                ++to;
            while (to < size && !isWordChar(text_[to]))
                ++to;
            break;
        case Motion::PreviousRow:
            to = rowMoveTarget(-1);
            break;
        case Motion::NextRow:
            to = rowMoveTarget(1);
            break;
        case Motion::RowStart:
            to = layout_.row(layout_.rowOf(caret_)).start;
            break;
        case Motion::RowEnd: {
            const PaneLayout::Row row = layout_.row(layout_.rowOf(caret_));
            const bool lastOfLine = row.end == layout_.lineEnd(row.line);
            to = lastOfLine || row.end == row.start ? row.end : row.end - 1;
            break;
        }
        case Motion::PreviousPage:
        case Motion::NextPage: {
            const std::ptrdiff_t rows = k.motion == Motion::NextPage ? page : -page;
            to = rowMoveTarget(rows);
            QScrollBar* bar = verticalScrollBar();
            bar->setValue(bar->value() + static_cast<int>(rows));
            break;
        }
        case Motion::TextStart:
            to = 0;
            break;
        case Motion::TextEnd:
            to = size;
            break;
        }
        const std::size_t goal = goalColumn_;
        moveCaret(to, extend);
        goalColumn_ = vertical ? goal : SIZE_MAX;
        return true;
    }
    return false;
}

bool ResultPane::isPaneKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy))
        return true;
    for (const KeyMotion& k : keyMotions) {
        if (event->matches(k.move) || event->matches(k.select))
            return true;
    }
    return false;
}

bool ResultPane::event(QEvent* event) {
    // The pane's own keys win over shortcuts of the window while it has the focus, as in a
    // text box.
    if (event->type() == QEvent::ShortcutOverride && isPaneKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void ResultPane::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (!moveByKey(event)) {
        // Tab, Enter, function keys and the like go on to the window.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ResultPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    selectingWithMouse_ = true;
    goalColumn_ = SIZE_MAX;
    moveCaret(offsetAt(event->position().toPoint()),
              event->modifiers().testFlag(Qt::ShiftModifier));
}

void ResultPane::mouseMoveEvent(QMouseEvent* event) {
    if (!selectingWithMouse_ || !(event->buttons() & Qt::LeftButton))
        return;
    // Dragging above or below the pane scrolls it a row at a time.
    QPoint point = event->position().toPoint();
    QScrollBar* bar = verticalScrollBar();
    if (point.y() < 0)
        bar->setValue(bar->value() - 1);
    else if (point.y() >= viewport()->height())
        bar->setValue(bar->value() + 1);
    point.setY(std::clamp(point.y(), 0, viewport()->height() - 1));
    moveCaret(offsetAt(point), true);
}

void ResultPane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selectingWithMouse_)
        return;
    selectingWithMouse_ = false;
    // Where the system has a selection clipboard, a mouse selection goes there too.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ResultPane::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    selectWordAt(offsetAt(event->position().toPoint()));
}

void ResultPane::selectWordAt(std::size_t offset) {
    std::size_t start = offset, end = offset;
    while (start > 0 && isWordChar(text_[start - 1]))
        --start;
    while (end < text_.size() && isWordChar(text_[end]))
        ++end;
    if (start == end)
        return;
    selectingWithMouse_ = false;
    setSelection(start, end);
}

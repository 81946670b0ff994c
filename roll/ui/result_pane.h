#pragma once

#include "pane_layout.h"

#include <QAbstractScrollArea>

#include <algorithm>
#include <string>
#include <string_view>

class QMenu;

// A result pane: a read-only, multi-line text box with a vertical scroll bar and word wrap.
// It keeps the text exactly as given, once, as single-byte (Latin-1) text with its CR LF line
// ends, so text() returns the same bytes. Only the rows in view are laid out and painted, so
// a roll of a million lines shows as fast as one of three.
//
// Like a read-only text box it takes the focus by Tab and click, scrolls by wheel and keys,
// has a caret for keyboard selection, selects with the mouse and the keyboard, copies with
// Ctrl+C and offers Copy and Select All in its context menu. Positions are byte offsets into
// text().
class ResultPane : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ResultPane(QWidget* parent = nullptr);
    ~ResultPane() override;

    // A new text scrolls back to the top and clears the selection.
    void setText(std::string_view latin1Text);
    const std::string& text() const { return text_; }
    // The text as shown, each CR LF a single line break.
    QString toPlainText() const;
    // Take the pane's buffer to fill it and hand it back, so a large text is never copied.
    std::string takeText();
    void adoptText(std::string&& latin1Text);

    std::size_t caretPosition() const { return caret_; }
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }
    // Selects from anchor to caret (either way round); equal offsets only move the caret.
    void setSelection(std::size_t anchor, std::size_t caret);
    QString selectedText() const;
    void selectAll();
    // Puts the selection on the clipboard as plain text, line ends as they are.
    void copy() const;

    // The menu the context-menu event shows: Copy and Select All.
    QMenu* createContextMenu(QWidget* parent);

    const PaneLayout& layout() const { return layout_; }
    std::size_t firstVisibleRow() const;
    std::size_t visibleRowCount() const; // rows that fit in full, at least one
    QStringList visibleRows() const;     // the text of each row in view

    // Geometry in viewport coordinates, for the mouse and for accessibility tools.
    QRect characterRect(std::size_t offset) const;
    std::size_t offsetAt(QPoint viewportPoint) const;
    void ensureVisible(std::size_t offset);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void textChanged();
    void measureFont();
    void relayout();
    void moveCaret(std::size_t offset, bool extend);
    bool moveByKey(QKeyEvent* event);
    static bool isPaneKey(const QKeyEvent* event);
    std::size_t rowMoveTarget(std::ptrdiff_t rows);
    void selectWordAt(std::size_t offset);
    void notifySelectionChanged();

    std::string text_;
    PaneLayout layout_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    std::size_t goalColumn_ = SIZE_MAX; // kept while moving up and down
    bool selectingWithMouse_ = false;

    int margin_ = 4;
    qreal charWidth_ = 8;
    int rowHeight_ = 16;
    int ascent_ = 12;
};

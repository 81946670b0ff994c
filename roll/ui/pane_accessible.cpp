#include "pane_accessible.h"

#include "result_pane.h"

#include <QAccessibleWidget>

#include <climits>

namespace {

QString wholeText(const ResultPane* pane) {
    const std::string& text = pane->text();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Character offsets of accessibility are the pane's byte offsets: one Latin-1 byte is one
// character.
int toInt(std::size_t offset) {
    return static_cast<int>(std::min<std::size_t>(offset, INT_MAX));
}

std::size_t toOffset(int offset) {
    return static_cast<std::size_t>(std::max(offset, 0));
}

class PaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PaneAccessible(ResultPane* pane)
        : QAccessibleWidget(pane, QAccessible::EditableText) {}

    ResultPane* pane() const { return static_cast<ResultPane*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return wholeText(pane());
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && pane()->hasSelection()) {
            *start = toInt(pane()->selectionStart());
            *end = toInt(pane()->selectionEnd());
        }
    }
    int selectionCount() const override { return pane()->hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            pane()->setSelection(pane()->caretPosition(), pane()->caretPosition());
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            pane()->setSelection(toOffset(start), toOffset(end));
    }
    int cursorPosition() const override { return toInt(pane()->caretPosition()); }
    void setCursorPosition(int position) override {
        pane()->setSelection(toOffset(position), toOffset(position));
    }
    QString text(int start, int end) const override {
        const std::string& bytes = pane()->text();
        const std::size_t from = std::min(toOffset(start), bytes.size());
        const std::size_t to = std::clamp(toOffset(end), from, bytes.size());
        return QString::fromLatin1(bytes.data() + from, static_cast<qsizetype>(to - from));
    }
    int characterCount() const override { return toInt(pane()->text().size()); }
    QRect characterRect(int offset) const override {
        const QRect r = pane()->characterRect(toOffset(offset));
        return QRect(pane()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return toInt(pane()->offsetAt(pane()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int) override { pane()->ensureVisible(toOffset(start)); }
    QString attributes(int offset, int* start, int* end) const override {
        // One run without attributes covers the whole text.
        *start = 0;
        *end = characterCount();
        (void)offset;
        return {};
    }
};

QAccessibleInterface* paneFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ResultPane") && object && object->isWidgetType())
        return new PaneAccessible(static_cast<ResultPane*>(object));
    return nullptr;
}

} // namespace

void installPaneAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(paneFactory);
        return true;
    }();
    (void)installed;
}

void notifyPaneSelection(ResultPane* pane) {
    if (!QAccessible::isActive())
        return;
    const int caret = toInt(pane->caretPosition());
    QAccessibleTextSelectionEvent selection(pane, toInt(pane->selectionStart()),
                                            toInt(pane->selectionEnd()));
    selection.setCursorPosition(caret);
    QAccessible::updateAccessibility(&selection);
    QAccessibleTextCursorEvent cursor(pane, caret);
    QAccessible::updateAccessibility(&cursor);
}

PaneTextChange::PaneTextChange(ResultPane* pane)
    : pane_(pane), listening_(QAccessible::isActive()) {
    if (listening_)
        oldText_ = wholeText(pane);
}

PaneTextChange::~PaneTextChange() {
    if (!listening_)
        return;
    QAccessibleTextUpdateEvent update(pane_, 0, oldText_, wholeText(pane_));
    QAccessible::updateAccessibility(&update);
}

#include "accessible_names.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

// Captions beside or above a text box lie at most this far from it, in pixels.
constexpr int captionGap = 16;

// "&Roll!" reads "Roll!", "Fish && Chips" reads "Fish & Chips".
QString withoutAccessKey(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain.append(caption.at(i));
    }
    return plain;
}

QString spokenText(const QString& text, Qt::TextFormat format) {
    const bool rich =
        format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    const QString plain = rich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    return plain.simplified();
}

// Text boxes of Qt's own, and views of text of the program's own: a scroll area that takes
// the focus.
bool isTextBox(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) ||
           (qobject_cast<const QAbstractScrollArea*>(w) && w->focusPolicy() != Qt::NoFocus);
}

// The scroll bars of a text box or the line edit of a spin box are parts of that control.
bool isPartOfAControl(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p))
            return true;
    return false;
}

QString captionOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return spokenText(label->text(), label->textFormat());
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return withoutAccessKey(static_cast<const QAbstractButton*>(w)->text()).simplified();
    return {};
}

QString buddyCaption(const QWidget* box) {
    const QWidget* window = box->window();
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == box)
            return withoutAccessKey(spokenText(label->text(), label->textFormat()));
    return {};
}

QRect geometryIn(const QWidget* w, const QWidget* window) {
    return {w->mapTo(window, QPoint(0, 0)), w->size()};
}

// The label or check box a sighted user reads as the box's caption: right beside it on the
// left, on the same line, or just above it, starting where the box starts.
QString neighbourCaption(const QWidget* box) {
    const QWidget* window = box->window();
    if (window->layout())
        return {};
    const QRect boxRect = geometryIn(box, window);
    QString above;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w == box || w->window() != window || !w->isVisibleTo(window))
            continue;
        const QString caption = captionOf(w);
        if (caption.isEmpty())
            continue;
        const QRect r = geometryIn(w, window);
        const int middle = r.center().y();
        if (r.right() < boxRect.left() && boxRect.left() - r.right() <= captionGap &&
            middle >= boxRect.top() && middle <= boxRect.bottom())
            return caption;
        if (r.bottom() < boxRect.top() && boxRect.top() - r.bottom() <= captionGap &&
            qAbs(r.left() - boxRect.left()) <= captionGap)
            above = caption;
    }
    return above;
}

} // namespace

QString derivedAccessibleName(const QWidget* control) {
    QString name;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        name = withoutAccessKey(button->text()).simplified();
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        name = spokenText(label->text(), label->textFormat());
        if (label->buddy())
            name = withoutAccessKey(name);
    } else if (isTextBox(control)) {
        name = buddyCaption(control);
        if (name.isEmpty())
            name = neighbourCaption(control);
    } else {
        return {};
    }
    if (name.isEmpty())
        name = control->toolTip().simplified();
    return name;
}

void nameControlsForAccessibility(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->accessibleName().isEmpty() || isPartOfAControl(w))
            continue;
        const QString name = derivedAccessibleName(w);
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}

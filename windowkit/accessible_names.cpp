#include "accessible_names.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

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

QString buddyCaption(const QWidget* box) {
    const QWidget* window = box->window();
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == box)
            return withoutAccessKey(spokenText(label->text(), label->textFormat()));
    return {};
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

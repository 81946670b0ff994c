#include "plain_tool_tip.h"

#include <QTextDocument>
#include <QWidget>

void setPlainToolTip(QWidget* control, const QString& text) {
    // Qt shows a tool tip as rich text when it looks like markup; such a text is escaped and
    // kept in one preformatted line instead. Any other text is shown as it is.
    if (Qt::mightBeRichText(text))
        control->setToolTip(
            QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped()));
    else
        control->setToolTip(text);
    control->setAccessibleDescription(text);
}

#include "result_pane.h"

#include "courier_font.h"

ResultPane::ResultPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFont(courierFont(9.75));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void ResultPane::setText(std::string_view latin1Text) {
    text_.assign(latin1Text);
    QString shown =
        QString::fromLatin1(latin1Text.data(), static_cast<qsizetype>(latin1Text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

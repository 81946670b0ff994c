#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

// A result pane: a read-only, multi-line text box with a vertical scroll bar. It keeps the
// exact bytes it was given (CR LF line ends included), so text() returns them unchanged.
class ResultPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ResultPane(QWidget* parent = nullptr);

    void setText(std::string_view latin1Text);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

#include "focus_mark.h"

#include <QApplication>
#include <QPainter>

namespace {

// Between the control's edge and the mark, so that the mark does not touch a button's bevel.
constexpr int spacing = 1;

} // namespace

FocusMark::FocusMark(const QList<QWidget*>& controls, const QColor& colour, QWidget* window)
    : QWidget(window), colour_(colour) {
    for (QWidget* control : controls)
        controls_.append(control);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusMark::follow(QWidget* focused) {
    for (const QPointer<QWidget>& control : controls_) {
        if (control && control == focused && control->isVisible()) {
            const int margin = spacing + width;
            setGeometry(QRect(control->mapTo(parentWidget(), QPoint(0, 0)), control->size())
                            .adjusted(-margin, -margin, margin, margin));
            raise();
            show();
            return;
        }
    }
    hide();
}

void FocusMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all.left(), all.top(), all.width(), width, colour_);
    painter.fillRect(all.left(), all.bottom() - width + 1, all.width(), width, colour_);
    painter.fillRect(all.left(), all.top(), width, all.height(), colour_);
    painter.fillRect(all.right() - width + 1, all.top(), width, all.height(), colour_);
}

#include "key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

int keyCodeOf(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    // Qt names letters and digits by their upper-case character codes, as the key codes do;
    // the keypad's digits have codes of their own.
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && event->modifiers().testFlag(Qt::KeypadModifier))
        return 96 + (key - Qt::Key_0);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    return 0;
}

int modifierMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        mask |= 1;
    if (modifiers.testFlag(Qt::ControlModifier))
        mask |= 2;
    if (modifiers.testFlag(Qt::AltModifier))
        mask |= 4;
    return mask;
}

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
    // The application sees each press before any widget does, including the focused one.
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != window_)
        return false;
    // A press the focused control ignores travels on to its parents; only its first stop
    // counts, so that one press reaches the handler once.
    QWidget* firstStop = window_->focusWidget() ? window_->focusWidget() : window_;
    if (receiver != firstStop)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The handler may close the window; a copy outlives whatever that destroys.
    const Handler handler = handler_;
    handler(keyCodeOf(key), modifierMask(key->modifiers()));
    return false;
}

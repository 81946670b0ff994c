#include "key_preview.h"

#include "latin_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

int keyCodeOf(const QKeyEvent* event) {
    int key = event->key();
    // A character beyond ASCII comes from a layout whose letters are not Latin; the key code is
    // that of the physical key, so Ctrl+X stays Ctrl+X under a Cyrillic or Greek layout.
    if (key >= 0x80 && key < Qt::Key_Escape)
        key = latinLetterOfKey(event);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return 112 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 65 + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return 48 + (key - Qt::Key_0);
    return 0;
}

int modifierMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

KeyPreview::KeyPreview(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void KeyPreview::installOn(QWidget* window) {
    window_ = window;
    // The application sees each event before its receiver, whichever widget of the window
    // that is, including widgets created after this call.
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        lastPress_ = nullptr;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !window_ || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != window_)
        return false;
    if (event == lastPress_ && lastReceiver_ && receiver != lastReceiver_ &&
        receiver->isAncestorOf(lastReceiver_))
        return false;
    const QPointer<QWidget> guardedReceiver = receiver;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // The handler may close the window and with it this preview; a copy outlives that.
    const Handler handler = handler_;
    const QPointer<KeyPreview> self = this;
    handler(keyCodeOf(key), modifierMask(key->modifiers()));
    if (!self)
        return false;
    // Set after the handler: a message box it opened has key presses of its own.
    lastPress_ = event;
    lastReceiver_ = guardedReceiver;
    return false;
}

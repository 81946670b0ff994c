#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

// Form-level key preview: the window's key handler sees every key press of the window's
// widgets before the focused widget does, and never consumes it, so the key then reaches
// the widget as usual.
//
// Keys are passed on as key codes (F1-F12 are 112-123, letters A-Z 65-90, digits 48-57; any
// other key is 0) with a modifier mask (1 Shift, 2 Ctrl, 4 Alt; Meta and keypad ignored).
// Key codes are those of the keys, not of characters: a letter key under a non-Latin layout
// has the code of its Latin letter. keyCodeOf is the one place that turns an event into a code.

int keyCodeOf(const QKeyEvent* event);
int modifierMask(Qt::KeyboardModifiers modifiers);

class KeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int keyCode, int shift)>;

    explicit KeyPreview(Handler handler, QObject* parent = nullptr);

    // Starts previewing the key presses of window and every widget inside it, also of those
    // added later.
    void installOn(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
    QPointer<QWidget> window_;
    // A key press that the focused widget ignores travels on to its parents as the same
    // event; these remember the press last handed on, so that it is handed on only once.
    const QEvent* lastPress_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

#pragma once

#include <QObject>
#include <Qt>

#include <functional>

class QKeyEvent;
class QWidget;

// Form-level key preview: a window's handler sees every key press of the window before the
// focused control does, and the control still gets the key afterwards.
//
// Keys are described the way the handlers compare them: F1-F24 are 112-135, the letters
// A-Z 65-90 (whatever Shift or Caps Lock make of the character), the digits 48-57 and the
// keypad's digits 96-105; other keys give 0. The modifier mask holds 1 for Shift, 2 for Ctrl
// and 4 for Alt; Meta and the keypad flag are left out.
int keyCodeOf(const QKeyEvent* event);
int modifierMask(Qt::KeyboardModifiers modifiers);

class KeyPreview : public QObject {
public:
    using Handler = std::function<void(int keyCode, int shift)>;

    // Watches the key presses of window (a top-level widget) for as long as it lives and hands
    // each one to handler once, never consuming it. A press is seen where the window delivers
    // it first: at its focus widget, or at the window itself when nothing in it has the focus.
    // Keys that a modal window keeps from the window never arrive.
    KeyPreview(QWidget* window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Handler handler_;
};

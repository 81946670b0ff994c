#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <initializer_list>

class QKeyEvent;
class QWidget;

// How the windows of both programs handle the keyboard: the form-level key preview that hands
// every key press to the window's handler as a key code and a modifier mask (key_table.h), the
// Enter key that rolls, the Ctrl keys kept from a text box, and the context-menu key.

// Form-level key preview: the window's key handler sees every key press of the window's
// widgets before the focused widget does, and never consumes it, so the key then reaches
// the widget as usual.
//
// Keys are passed on as key codes (F1-F12, letters A-Z, digits 0-9; any other key is 0) with a
// modifier mask (Shift, Ctrl, Alt; Meta and keypad ignored), as key_table.h numbers them. Key
// codes are those of the keys, not of characters: a letter key under a non-Latin layout has the
// code of its Latin letter. keyCodeOf is the one place that turns an event into a code.

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

// Enter, or the keypad's Enter, pressed on one of the given controls runs the action (a roll
// from the Roll button or an option box, say) instead of being passed on. Other keys, and Enter
// with Ctrl, Shift or Alt, reach the controls as usual.
class EnterKey : public QObject {
    Q_OBJECT
public:
    EnterKey(std::initializer_list<QWidget*> controls, std::function<void()> action,
             QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> action_;
};

// Ctrl with the key is a command of the window, run by its key preview, which has seen the key
// press before the box does. The box's own binding for the same keys is kept from running: on
// X11 Ctrl+D deletes the selection of a line edit, which would take the formula with it.
void keepCommandKeyFromBox(QWidget* box, Qt::Key key);

// The context-menu key of the keyboard opens a window's popup menu, which otherwise only a
// mouse press on its picture opens, so that every command of the menu can be reached from the
// keyboard. The key counts in whichever control of the window has the focus; a text box's own
// edit menu stays on the right mouse button.
class MenuKey : public QObject {
    Q_OBJECT
public:
    MenuKey(QWidget* window, std::function<void()> openMenu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    std::function<void()> openMenu_;
};

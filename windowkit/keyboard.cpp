#include "keyboard.h"

#include "key_table.h"
#include "us_layout_letter.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

int keyCodeOf(const QKeyEvent* event) {
    int key = event->key();
    // A character beyond ASCII comes from a layout whose letters are not Latin; the key code is
    // that of the physical key, so Ctrl+X stays Ctrl+X under a Cyrillic or Greek layout.
    if (key >= 0x80 && key < Qt::Key_Escape)
        key = latinLetterOfKey(event);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return keyCodeF1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return keyCodeA + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keyCode0 + (key - Qt::Key_0);
    return 0;
}

int modifierMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= shiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= ctrlMask;
    if (modifiers & Qt::AltModifier)
        mask |= altMask;
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

EnterKey::EnterKey(std::initializer_list<QWidget*> controls, std::function<void()> action,
                   QObject* parent)
    : QObject(parent), action_(std::move(action)) {
    for (QWidget* control : controls)
        control->installEventFilter(this);
}

bool EnterKey::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    action_();
    return true;
}

namespace {

class CommandKeyFilter : public QObject {
public:
    CommandKeyFilter(Qt::Key key, QObject* parent) : QObject(parent), key_(key) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* press = static_cast<const QKeyEvent*>(event);
        return press->key() == key_ &&
               (press->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    }

private:
    Qt::Key key_;
};

} // namespace

void keepCommandKeyFromBox(QWidget* box, Qt::Key key) {
    box->installEventFilter(new CommandKeyFilter(key, box));
}

MenuKey::MenuKey(QWidget* window, std::function<void()> openMenu)
    : QObject(window), window_(window), openMenu_(std::move(openMenu)) {
    // The application sees the event before the focused control, whichever it is.
    qApp->installEventFilter(this);
}

bool MenuKey::eventFilter(QObject* watched, QEvent* event) {
    // The window system turns the context-menu key into a context-menu event from the
    // keyboard; a right click stays with the control under the mouse.
    if (event->type() != QEvent::ContextMenu || !window_ || !watched->isWidgetType())
        return false;
    if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    openMenu_();
    return true;
}

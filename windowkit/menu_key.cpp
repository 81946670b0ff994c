#include "menu_key.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QWidget>

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

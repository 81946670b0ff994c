#include "menu_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

MenuKey::MenuKey(QWidget* window, std::function<void()> openMenu)
    : QObject(window), window_(window), openMenu_(std::move(openMenu)) {
    // The application sees a key press before the focused control, whichever it is.
    qApp->installEventFilter(this);
}

bool MenuKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !window_ || !watched->isWidgetType())
        return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Menu ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    openMenu_();
    return true;
}

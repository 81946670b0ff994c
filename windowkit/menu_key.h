#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

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

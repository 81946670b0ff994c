#include "bring_forward.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// The visible modal window that keeps input from window, if there is one.
QWidget* modalBlocking(const QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window || !modal->isVisible())
        return nullptr;
    if (modal->windowModality() == Qt::ApplicationModal)
        return modal;
    // A window-modal window blocks the windows it belongs to.
    for (const QWidget* owner = modal->parentWidget(); owner; owner = owner->parentWidget()) {
        if (owner == window)
            return modal;
    }
    return nullptr;
}

void activate(QWidget* window) {
    window->raise();
    window->activateWindow();
}

class ModalHandBack : public QObject {
public:
    explicit ModalHandBack(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::WindowActivate)
            return false;
        if (QWidget* modal = modalBlocking(window_)) {
            // After the activation has been dealt with, so that it does not undo this one.
            QTimer::singleShot(0, modal, [modal = QPointer<QWidget>(modal)] {
                if (modal && modal->isVisible())
                    activate(modal);
            });
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void bringForward(QWidget* window) {
    // A window placed by the program is put back where it was; one the window manager placed
    // would be placed anew, wherever new windows go.
    if (QWindow* handle = window->windowHandle())
        handle->setGeometry(handle->geometry());
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    activate(window);
    if (!window->focusWidget())
        window->setFocus();
    if (QWidget* modal = modalBlocking(window))
        activate(modal);
}

void handActivationToModal(QWidget* window) {
    new ModalHandBack(window);
}

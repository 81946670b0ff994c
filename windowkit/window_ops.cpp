#include "window_ops.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Moves a window with the mouse by hand where the window system cannot do it itself (no
// window manager): follows every mouse move until the button is released.
class ManualMove : public QObject {
public:
    ManualMove(QWidget* window, QPoint pressGlobal)
        : QObject(window), window_(window), grabOffset_(pressGlobal - window->pos()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            auto* move = static_cast<QMouseEvent*>(event);
            if (window_)
                window_->move(move->globalPosition().toPoint() - grabOffset_);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease)
            deleteLater();
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPoint grabOffset_;
};

} // namespace

void dragWindow(QWidget* window) {
    QWidget* topLevel = window->window();
    QWindow* handle = topLevel->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    new ManualMove(topLevel, QCursor::pos());
}

void setTopMost(QWidget* window, bool topMost) {
    QWidget* topLevel = window->window();
    Qt::WindowFlags flags = topLevel->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    if (QWindow* handle = topLevel->windowHandle()) {
        // Changing the flags through the widget would hide the window; the native window
        // takes them while it stays shown and in place.
        topLevel->overrideWindowFlags(flags);
        handle->setFlags(flags);
        if (topLevel->isVisible())
            handle->raise();
    } else {
        topLevel->setWindowFlags(flags);
    }
}

bool isTopMost(const QWidget* window) {
    return window->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void keepAboveOwner(QWidget* window, QWidget* owner) {
    const bool above = isTopMost(owner);
    // A window manager learns of the owner as the window is mapped, and on X11 only for a
    // window of the dialog type; a shown window keeps what it was mapped with, and its top-most
    // flag alone keeps it above.
    if (!window->isVisible()) {
        const Qt::WindowFlags flags = window->windowFlags();
        window->setWindowFlags((flags & ~Qt::WindowType_Mask) | (above ? Qt::Dialog : Qt::Window));
        if (!window->parentWidget()) {
            window->winId();
            if (QWindow* handle = window->windowHandle())
                handle->setTransientParent(above ? owner->window()->windowHandle() : nullptr);
        }
    }
    if (isTopMost(window) != above)
        setTopMost(window, above);
}

void hookWindow(WindowHook& hook, QWidget* window, WindowProc windowProc) {
    hook.prevWndProc =
        QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, window,
                         [windowProc = std::move(windowProc)](Qt::ApplicationState state) {
                             windowProc(loWord(state == Qt::ApplicationActive ? 1u : 0u));
                         });
}

void unhookWindow(WindowHook& hook) {
    if (!hook.prevWndProc)
        return;
    QObject::disconnect(hook.prevWndProc);
    hook.prevWndProc = {};
}

bool isHooked(const WindowHook& hook) {
    return static_cast<bool>(hook.prevWndProc);
}

qint16 loWord(quint32 value) {
    return static_cast<qint16>(static_cast<quint16>(value & 0xFFFFu));
}

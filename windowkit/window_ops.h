#pragma once

#include <QMetaObject>
#include <QtGlobal>

#include <functional>

class QWidget;

// Window operations that both programs use on their frameless windows.

// Lets the user move the window with the mouse from a label, as if its title bar had been
// pressed. Call it from a left-button press; the move ends when the button is released.
void dragWindow(QWidget* window);

// Keeps the window above all others, or returns it to normal placement, leaving it shown and
// where it is.
void setTopMost(QWidget* window, bool topMost);
bool isTopMost(const QWidget* window);

// A window that the owner opened stays above it while the owner is top-most: it is top-most as
// well, and one not shown yet becomes the owner's transient dialog, which window managers keep
// above the owner (a window of no parent of its own is made the owner's transient). In normal
// placement a window not shown yet is an independent window again, and a shown one normal.
// Call it before the window is shown and whenever the owner's placement changes.
void keepAboveOwner(QWidget* window, QWidget* owner);

// The activation hook. A window procedure is told of the program gaining (a = 1) or losing
// (a = 0) activation to another application; switching between the program's own windows
// tells it nothing. The hook holds the connection in prevWndProc, empty while unhooked, so
// that it is never installed twice.
struct WindowHook {
    QMetaObject::Connection prevWndProc;
};
using WindowProc = std::function<void(int activation)>;

void hookWindow(WindowHook& hook, QWidget* window, WindowProc windowProc);
void unhookWindow(WindowHook& hook);
bool isHooked(const WindowHook& hook);

// The low 16 bits of a value, read as a signed number (0x8000 to 0xFFFF give -32768 to -1).
qint16 loWord(quint32 value);

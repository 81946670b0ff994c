#pragma once

#include "window_ops.h"

#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QIcon;
class QLabel;
class QWidget;

// The main window's window behaviour: the activation hook that recolours the title strip,
// the tray icon through which a hidden window comes back, and opening the web page.
namespace TumoFunc {

// The activation hook of the main window; empty while none is installed.
inline WindowHook prevWndProc;
// The tray icon while it exists; it belongs to the main window it was added for.
inline QPointer<QSystemTrayIcon> trayData;

// Installs the hook on the window, which recolours its title strip; a window already hooked
// keeps its one hook.
void hookWindow(QWidget* window, QLabel* title);
// Takes the hook off; nothing happens when none is installed.
void unhookWindow(QWidget* window);
// Activation a = 0 (another program was activated) shows the title black with grey text;
// a = 1 (this program was activated) gives back dark green with light yellow; any other
// value changes nothing.
void windowProc(QLabel* title, int activation);

// Adds the tray icon with the tip (at most 63 characters) and its context menu, "Restore" and
// "Exit". While the icon exists a second add is refused and the icon stays as it was.
// exit runs when the menu's "Exit" is chosen.
void addTrayIcon(QWidget* window, const QIcon& icon, const QString& tip,
                 const std::function<void()>& exit);
void removeTrayIcon();
// True when the desktop really shows the tray icon, so that a hidden window can come back.
bool trayIconShown();
// Whether a click on the icon restores the window: a left double click does; on trays that
// report only an activation (a single left click), that activation does. Others do nothing.
bool trayClickRestores(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks);
void handleTrayMouse(QWidget* window, QSystemTrayIcon::ActivationReason reason);

// Hands the address to the desktop's browser; a failure is not reported.
void shellOpen(const QString& address);

} // namespace TumoFunc

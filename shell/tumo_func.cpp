#include "tumo_func.h"

#include "artwork.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

namespace TumoFunc {

namespace {

// Brings the window to the front of the normal windows, leaving it not top-most whatever
// "Set to Top" had made it; the menu entries keep their states.
void restore(QWidget* window) {
    // An explicit position makes the window manager put it back where it was hidden.
    window->move(window->pos());
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    setTopMost(window, false);
    window->raise();
    window->activateWindow();
    // The control that had the focus gets it back.
    if (!window->focusWidget())
        window->setFocus();
    // A modal window of the program stays the one that takes input.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

void hookWindow(QWidget* window, QLabel* title) {
    if (isHooked(prevWndProc))
        return;
    ::hookWindow(prevWndProc, window, [title](int activation) { windowProc(title, activation); });
}

void unhookWindow(QWidget*) {
    ::unhookWindow(prevWndProc);
}

void windowProc(QLabel* title, int activation) {
    if (activation == 0)
        setColours(title, Qt::black, Colours::grey);
    else if (activation == 1)
        setColours(title, Colours::darkGreen, Colours::lightYellow);
}

void addTrayIcon(QWidget* window, const QIcon& icon, const QString& tip) {
    if (trayData)
        return;
    trayData = new QSystemTrayIcon(icon, window);
    trayData->setToolTip(tip.left(63));
    QObject::connect(
        trayData, &QSystemTrayIcon::activated, window,
        [window](QSystemTrayIcon::ActivationReason reason) { handleTrayMouse(window, reason); });
    trayData->show();
}

void removeTrayIcon() {
    if (!trayData)
        return;
    trayData->hide();
    delete trayData;
}

bool trayIconShown() {
    return QSystemTrayIcon::isSystemTrayAvailable() && trayData && trayData->isVisible();
}

void handleTrayMouse(QWidget* window, QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick)
        restore(window);
}

void shellOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace TumoFunc

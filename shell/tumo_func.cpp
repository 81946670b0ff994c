#include "tumo_func.h"

#include "artwork.h"
#include "mouse_label.h"
#include "tumo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

namespace TumoFunc {

namespace {

// Brings the window to the front of the normal windows, leaving it not top-most whatever
// "Set to Top" had made it; the menu entries keep their states.
void restore(Tumo* window) {
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

void hookWindow(Tumo* window) {
    if (isHooked(prevWndProc))
        return;
    ::hookWindow(prevWndProc, window, [window](int activation) { windowProc(window, activation); });
}

void unhookWindow(Tumo*) {
    ::unhookWindow(prevWndProc);
}

void windowProc(Tumo* window, int activation) {
    if (activation == 0)
        setColours(window->lblTitle, Qt::black, Colours::grey);
    else if (activation == 1)
        setColours(window->lblTitle, Colours::darkGreen, Colours::lightYellow);
}

void addTrayIcon(Tumo* window, const QIcon& icon, const QString& tip) {
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

void handleTrayMouse(Tumo* window, QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick)
        restore(window);
}

void shellOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace TumoFunc

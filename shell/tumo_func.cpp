#include "tumo_func.h"

#include "artwork.h"
#include "bring_forward.h"
#include "mouse_label.h"
#include "tray_host.h"
#include "tumo.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QUrl>

namespace TumoFunc {

namespace {

// Asked when the icon is made, as Qt then chooses its tray.
bool trayDoubleClicks = true;

// Shows the window again where it was, in front and focused, and not top-most whatever "Set to
// Top" had made it; the placement entries keep their states.
void restore(Tumo* window) {
    setTopMost(window, false);
    bringForward(window);
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
    trayDoubleClicks = trayReportsDoubleClicks();
    trayData = new QSystemTrayIcon(icon, window);
    trayData->setToolTip(tip.left(63));
    // The keyboard's way back on trays that offer menus, and what desktop users look for.
    auto* menu = new QMenu(window);
    QObject::connect(menu->addAction(Tumo::tr("Restore")), &QAction::triggered, window,
                     [window] { restore(window); });
    QObject::connect(menu->addAction(Tumo::tr("Exit")), &QAction::triggered, window,
                     &Tumo::mnusub1_click);
    trayData->setContextMenu(menu);
    QObject::connect(
        trayData, &QSystemTrayIcon::activated, window,
        [window](QSystemTrayIcon::ActivationReason reason) { handleTrayMouse(window, reason); });
    trayData->show();
}

void removeTrayIcon() {
    if (!trayData)
        return;
    trayData->hide();
    delete trayData->contextMenu();
    delete trayData;
}

bool trayIconShown() {
    return QSystemTrayIcon::isSystemTrayAvailable() && trayData && trayData->isVisible();
}

bool trayClickRestores(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks) {
    return reason == QSystemTrayIcon::DoubleClick ||
           (reason == QSystemTrayIcon::Trigger && !trayReportsDoubleClicks);
}

void handleTrayMouse(Tumo* window, QSystemTrayIcon::ActivationReason reason) {
    if (trayClickRestores(reason, trayDoubleClicks))
        restore(window);
}

void shellOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace TumoFunc

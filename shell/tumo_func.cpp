#include "tumo_func.h"

#include "artwork.h"
#include "bring_forward.h"
#include "tray_host.h"

#include <QAction>
#include <QCoreApplication>
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
void restore(QWidget* window) {
    setTopMost(window, false);
    bringForward(window);
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

void addTrayIcon(QWidget* window, const QIcon& icon, const QString& tip,
                 const std::function<void()>& exit) {
    if (trayData)
        return;
    trayDoubleClicks = trayReportsDoubleClicks();
    trayData = new QSystemTrayIcon(icon, window);
    trayData->setToolTip(tip.left(63));
    // The keyboard's way back on trays that offer menus, and what desktop users look for.
    auto* menu = new QMenu(window);
    QObject::connect(menu->addAction(QCoreApplication::translate("TumoFunc", "Restore")),
                     &QAction::triggered, window, [window] { restore(window); });
    QObject::connect(menu->addAction(QCoreApplication::translate("TumoFunc", "Exit")),
                     &QAction::triggered, window, exit);
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

void handleTrayMouse(QWidget* window, QSystemTrayIcon::ActivationReason reason) {
    if (trayClickRestores(reason, trayDoubleClicks))
        restore(window);
}

void shellOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace TumoFunc

#include "tray_host.h"

#ifdef ROLLBOX_HAVE_DBUS

#include <QDBusConnection>
#include <QDBusInterface>

namespace {

bool statusNotifierHostRunning() {
    QDBusInterface watcher(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus());
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

} // namespace

bool trayReportsDoubleClicks() {
    static const bool doubleClicks = !statusNotifierHostRunning();
    return doubleClicks;
}

#else

bool trayReportsDoubleClicks() {
    return true;
}

#endif

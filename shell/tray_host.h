#pragma once

// Whether the desktop's tray reports a double click on the icon. StatusNotifier hosts (KDE
// Plasma, GNOME's AppIndicator extension, Xfce, LXQt), which Qt uses whenever one is running,
// report only an activation: a single left click. The answer is taken on the first call and
// kept, as Qt chooses its tray once; ask when the tray icon is made.
bool trayReportsDoubleClicks();

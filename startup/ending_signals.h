#pragma once

// Ends the program properly when the system asks it to: SIGTERM, SIGINT and SIGHUP (logout,
// kill, system shut-down) close every shown window as the user would, so that each runs its
// own shut-down, and the program then ends with exit code 0. A window that is hidden (the main
// window in the tray) is not closed: its shut-down is the program's to run when the event loop
// ends (QCoreApplication::aboutToQuit). A signal ignored when the program started (nohup)
// stays ignored. Call once, after the application object exists.
void endOnSignals();

#pragma once

// Ends the program properly when the system asks it to: SIGTERM, SIGINT and SIGHUP (logout,
// kill, system shut-down) close every window as the user would, so that each runs its own
// shut-down, and the program then ends with exit code 0. A signal ignored when the program
// started (nohup) stays ignored. Call once, after the application object exists.
void endOnSignals();

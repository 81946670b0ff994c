#pragma once

#include "bench_support.h"

#include <QString>

namespace bench {

// Start-up of the main window against a bare window with one label. Each start is a fresh
// process of this benchmark (started with startupChildOption), timed from its main() to the
// window's first paint; the same windows made again inside one process are timed too.
inline constexpr const char* startupChildOption = "--startup-child";

// The child's side: kind is "bare" or "tumo"; prints the milliseconds since start.
int runStartupChild(int& argc, char* argv[], const char* kind, Clock::time_point start);

void measureStartup(const QString& workDir, int runs);

} // namespace bench

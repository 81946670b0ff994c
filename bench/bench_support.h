#pragma once

// Small helpers of the benchmark: a stopwatch, medians, and the process's memory as Linux
// reports it in /proc/self/status.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs body once and returns its duration in milliseconds.
template <typename Body> double timeMs(Body&& body) {
    const auto start = Clock::now();
    body();
    return millisecondsSince(start);
}

inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A field of /proc/self/status in kibibytes ("VmRSS", "VmHWM"), or -1 where there is none.
inline long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

// Resets the peak resident size (VmHWM) to the current one; false where the system refuses.
inline bool resetPeakMemory() {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

inline double mebibytes(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

// Writes bytes to a file with the C library alone, replacing or appending: the floor that
// the program's own writes are measured against.
inline bool writeFile(const char* name, const std::string& bytes, bool append) {
    std::FILE* f = std::fopen(name, append ? "ab" : "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace bench

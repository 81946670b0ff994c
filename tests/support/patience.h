#pragma once

#include <chrono>

// How long a test waits for something bound to happen: a window to come up, work on another
// thread to end, a child program to answer. It only stops a hang: a correct run never comes
// near it, even under the sanitizers on a busy machine.
inline constexpr std::chrono::seconds patience{120};
inline constexpr int patienceMs = int(std::chrono::milliseconds(patience).count());

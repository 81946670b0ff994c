#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QLockFile;

// The test for another running instance of a program: a lock file per program and user, in a
// folder that only the user may write: the runtime folder ($XDG_RUNTIME_DIR) when it is the
// user's own, else the program's folder in the user's cache folder, made with mode 0700. Never a
// shared temporary folder, where any user could plant a lock that keeps the program from starting.
//
// The lock is held for the life of this object. A lock left behind by a crashed instance on
// this computer does not block the next start. One written on another computer (a home folder
// shared between computers, or a host name that changed), or one that cannot be read, cannot
// be checked from here: it is taken over once it is older than foreignLockStaleTime. Until
// then, and wherever the lock can be neither taken nor checked, failure() says why, naming the
// lock file, so that the program can say so instead of ending silently.
class SingleInstance {
public:
    static constexpr std::chrono::seconds foreignLockStaleTime{60};

    explicit SingleInstance(const QString& programName);
    ~SingleInstance();

    // True when another instance already held the lock when this one started.
    bool anotherIsRunning() const { return anotherIsRunning_; }

    // Why the lock could be neither taken nor checked; empty when it was taken, or when another
    // instance holds it.
    const QString& failure() const { return failure_; }

    // Where the lock of programName lies; empty when the user has no folder for it.
    static QString lockFilePath(const QString& programName);

private:
    void takeOrCheck(const QString& path);

    std::unique_ptr<QLockFile> lock_;
    bool anotherIsRunning_ = false;
    QString failure_;
};

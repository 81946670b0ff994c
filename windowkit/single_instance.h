#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The test for another running instance of a program: a lock file per program and user in the
// runtime (or temp) folder. The lock is held for the life of this object; a lock left behind
// by a crashed instance does not block the next start.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programName);
    ~SingleInstance();

    // True when another instance already held the lock when this one started.
    bool anotherIsRunning() const { return anotherIsRunning_; }

    static QString lockFilePath(const QString& programName);

private:
    std::unique_ptr<QLockFile> lock_;
    bool anotherIsRunning_ = false;
};

#include "single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

QString SingleInstance::lockFilePath(const QString& programName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(programName + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString& programName)
    : lock_(std::make_unique<QLockFile>(lockFilePath(programName))) {
    // A lock whose owner process is gone is taken over at once, whatever its age.
    lock_->setStaleLockTime(0);
    anotherIsRunning_ = !lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

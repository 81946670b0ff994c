#include "single_instance.h"

#include "private_folder.h"
#include "program_identity.h"
#include "regular_file.h"
#include "user_home.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <cstdlib>
#include <optional>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SingleInstance", text);
}

#ifndef Q_OS_WIN
QString runtimeFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without it Qt would answer a folder in the shared /tmp. A relative path is ignored, as
    // the base-directory rules ask: each copy would find it in its own working folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir::isAbsolutePath(runtime) ? runtime : QString();
#else
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
}

QString cacheFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (QDir::isRelativePath(cache)) {
        const QString home = userHomeFolder();
        if (home.isEmpty())
            return {};
        cache = QDir(home).filePath(QStringLiteral(".cache"));
    }
#else
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
#endif
    return QDir(cache).filePath(ProgramIdentity::folderName);
}
#endif

// Whether a lock's host name is this computer's, as QLockFile writes it: the host name, or on
// Windows the computer name (which Windows compares without regard to case).
bool isThisComputer(const QString& host) {
#ifdef Q_OS_WIN
    return host.compare(qEnvironmentVariable("COMPUTERNAME"), Qt::CaseInsensitive) == 0;
#else
    return host == QSysInfo::machineHostName();
#endif
}

QString lockFolder() {
#ifdef Q_OS_WIN
    // The program's folder in the user's local application-data folder, which stays on this
    // computer.
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return local.isEmpty() ? QString() : QDir(local).filePath(ProgramIdentity::folderName);
#else
    const QString runtime = runtimeFolder();
    if (!runtime.isEmpty() && !privateFolderProblem(runtime))
        return runtime;
    return cacheFolder();
#endif
}

} // namespace

QString SingleInstance::lockFilePath(const QString& programName) {
    const QString folder = lockFolder();
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(programName + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString& programName) {
    const QString path = lockFilePath(programName);
    if (path.isEmpty()) {
        failure_ = tr("There is no folder of your own to hold the lock file \"%1.lock\" that "
                      "keeps this program to one copy at a time: neither a runtime folder "
                      "nor a home folder is known.")
                       .arg(programName);
        return;
    }
    if (const auto problem = makePrivateFolder(QFileInfo(path).path())) {
        failure_ = tr("The lock file \"%1\" that keeps this program to one copy at a time "
                      "cannot be kept in its folder: %2.")
                       .arg(QDir::toNativeSeparators(path), *problem);
        return;
    }
    takeOrCheck(path);
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::takeOrCheck(const QString& path) {
    // QLockFile reads a lock that it cannot take, and the one it takes while removing a stale
    // lock, with a blocking open: a pipe there would hold the start-up for ever.
    for (const QString& file : {path, path + QStringLiteral(".rmlock")}) {
        const QFileInfo info(file);
        // A link that leads nowhere can be neither read nor taken over.
        const std::optional<QString> reason =
            info.isSymLink() && !info.exists()
                ? tr("it is a link to \"%1\", which does not exist").arg(info.symLinkTarget())
                : notRegularFileReason(file);
        if (reason) {
            failure_ = tr("The lock file \"%1\" that keeps this program to one copy at a time "
                          "cannot be used: %2. Remove it, then start again.")
                           .arg(QDir::toNativeSeparators(file), *reason);
            return;
        }
    }
    lock_ = std::make_unique<QLockFile>(path);
    // Qt takes over a lock whose owner on this computer is gone at once. A time would also
    // let it take the lock of an instance that is still running, so there is none here.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (lock_->error() != QLockFile::LockFailedError) {
        failure_ = tr("The lock file \"%1\" that keeps this program to one copy at a time "
                      "could not be written.")
                       .arg(shownPath);
        return;
    }
    qint64 pid = 0;
    QString host, program;
    const bool readable = lock_->getLockInfo(&pid, &host, &program);
    if (readable && (host.isEmpty() || isThisComputer(host))) {
        anotherIsRunning_ = true;
        return;
    }

    // Written elsewhere, or unreadable: no process here to check, so only its age tells.
    // A lock from the future is not old: on a clock that is ahead it may be anyone's.
    const qint64 ageMs = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
    if (ageMs > std::chrono::milliseconds(foreignLockStaleTime).count() &&
        lock_->removeStaleLockFile() && lock_->tryLock(0))
        return;
    const QString owner =
        readable ? tr("was written on the computer \"%1\" by process %2, which cannot be "
                      "checked from here")
                       .arg(host)
                       .arg(pid)
                 : tr("cannot be read");
    // Dated ahead of this clock, it is taken over only once it is old by this clock, which
    // may be never worth waiting for: the user is better told to remove it.
    const QString advice =
        ageMs < 0 ? tr("It is dated %1 s ahead of this computer's clock, so its age cannot "
                       "tell whether it is still in use. If no other copy runs, remove it, "
                       "then start again.")
                        .arg((-ageMs + 999) / 1000)
                  : tr("If no other copy runs, start again in a minute: an older lock is "
                       "taken over.");
    failure_ = tr("The lock file \"%1\" that keeps this program to one copy at a time %2. %3")
                   .arg(shownPath, owner, advice);
}

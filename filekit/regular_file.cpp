#include "regular_file.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString notAFile(const char* what) {
    return QStringLiteral("it is %1, not a file").arg(QLatin1String(what));
}

#ifdef Q_OS_UNIX

QString kindReason(mode_t mode) {
    if (S_ISFIFO(mode))
        return notAFile("a pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return notAFile("a device");
    if (S_ISDIR(mode))
        return notAFile("a folder");
    if (S_ISSOCK(mode))
        return notAFile("a socket");
    return QStringLiteral("it is not a regular file");
}

int openFlags(QIODevice::OpenMode mode) {
    const bool reads = mode.testFlag(QIODevice::ReadOnly);
    const bool writes = mode.testFlag(QIODevice::WriteOnly);
    // Without O_NONBLOCK, opening a pipe waits for its other end, for ever if none comes.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    if (writes) {
        if (!mode.testFlag(QIODevice::ExistingOnly))
            flags |= O_CREAT;
        if (mode.testFlag(QIODevice::NewOnly))
            flags |= O_EXCL;
        if (mode.testFlag(QIODevice::Append))
            flags |= O_APPEND;
        else if (mode.testFlag(QIODevice::Truncate) ||
                 (!reads && !mode.testFlag(QIODevice::NewOnly)))
            flags |= O_TRUNC;
    }
    return flags;
}

int openPath(const QByteArray& path, int flags) {
    int fd = -1;
    do {
        fd = ::open(path.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Removes the name path and makes a new file under it, exclusively, so that a link put back
// meanwhile is refused too. Returns the new file's handle, or -1 with error set.
int replaceName(const QByteArray& path, int flags, int& error) {
    if (::unlink(path.constData()) != 0) {
        error = errno;
        return -1;
    }
    const int fd = openPath(path, flags | O_CREAT | O_EXCL);
    error = errno;
    return fd;
}

// Why opening path failed: what it is, when that is not a regular file, else the system's
// reason.
QString openFailure(const QByteArray& path, int error) {
    struct stat status {};
    if (::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return kindReason(status.st_mode);
    return qt_error_string(error);
}

#endif

} // namespace

std::optional<QString> openRegularFile(QFile& file, QIODevice::OpenMode mode, LinkHandling links) {
    const bool replaceLink = links == LinkHandling::Replace && mode.testFlag(QIODevice::WriteOnly);
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(file.fileName());
    int flags = openFlags(mode);
    // Opening would empty whatever the name leads to, so a file is emptied only once it is
    // known not to be a link.
    const bool truncate = replaceLink && (flags & O_TRUNC) != 0;
    if (replaceLink)
        flags = (flags & ~O_TRUNC) | O_NOFOLLOW;
    int fd = openPath(path, flags);
    int error = errno;
    // O_NOFOLLOW refuses a symbolic link (ELOOP; EMLINK on some systems): it goes, and a new
    // file is made in its place.
    if (fd < 0 && replaceLink && (error == ELOOP || error == EMLINK)) {
        struct stat status {};
        if (::lstat(path.constData(), &status) == 0 && S_ISLNK(status.st_mode))
            fd = replaceName(path, flags, error);
    }
    if (fd < 0)
        return openFailure(path, error);

    struct stat status {};
    bool known = ::fstat(fd, &status) == 0;
    // A file with more names than this one (a hard link) is just as much another file of the
    // user's: the name goes, and the other names keep the file.
    if (known && replaceLink && S_ISREG(status.st_mode) && status.st_nlink > 1) {
        ::close(fd);
        fd = replaceName(path, flags, error);
        if (fd < 0)
            return openFailure(path, error);
        known = ::fstat(fd, &status) == 0;
    }
    if (!known || !S_ISREG(status.st_mode)) {
        const QString reason = known ? kindReason(status.st_mode) : qt_error_string(errno);
        ::close(fd);
        return reason;
    }
    if (truncate && ::ftruncate(fd, 0) != 0) {
        const QString reason = qt_error_string(errno);
        ::close(fd);
        return reason;
    }
    // A regular file never blocks; the flag goes so that the file behaves as any other.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const QIODevice::OpenMode handleMode =
        mode & ~(QIODevice::Truncate | QIODevice::NewOnly | QIODevice::ExistingOnly);
    if (!file.open(fd, handleMode, QFileDevice::AutoCloseHandle)) {
        const QString reason = file.errorString();
        ::close(fd);
        return reason;
    }
    return std::nullopt;
#else
    if (replaceLink && QFileInfo(file.fileName()).isSymLink())
        QFile::remove(file.fileName());
    else if (auto reason = notRegularFileReason(file.fileName()))
        return reason;
    if (!file.open(mode))
        return file.errorString();
    return std::nullopt;
#endif
}

std::optional<QString> notRegularFileReason(const QString& name) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(name).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return kindReason(status.st_mode);
#else
    const QFileInfo info(name);
    if (info.isDir())
        return notAFile("a folder");
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a regular file");
#endif
    return std::nullopt;
}

#include "private_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::optional<QString> privateFolderProblem(const QString& folder) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        return qt_error_string(errno);
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("it is not a folder");
    if (status.st_uid != ::geteuid())
        return QStringLiteral("it belongs to another user");
    if ((status.st_mode & 077) != 0)
        return QStringLiteral("other users may use it");
#else
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("it is not a folder");
#endif
    return std::nullopt;
}

std::optional<QString> makePrivateFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    QDir().mkpath(QFileInfo(folder).path());
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return qt_error_string(errno);
    struct stat status {};
    if (::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
        status.st_uid == ::geteuid() && (status.st_mode & 077) != 0)
        ::chmod(path.constData(), 0700);
#else
    QDir().mkpath(folder);
#endif
    return privateFolderProblem(folder);
}

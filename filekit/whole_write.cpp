#include "whole_write.h"

#include <QFileDevice>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

std::optional<QString> writeWhole(QFileDevice& file, QByteArrayView bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return file.errorString();
        done += written;
    }
    return std::nullopt;
}

std::optional<QString> syncToDisk(QFileDevice& file) {
#ifdef Q_OS_UNIX
    int result = 0;
    do {
        result = ::fsync(file.handle());
    } while (result != 0 && errno == EINTR);
    // EINVAL and EROFS: a file that cannot be synced (a special file system); nothing lost.
    if (result != 0 && errno != EINVAL && errno != EROFS)
        return qt_error_string(errno);
#else
    Q_UNUSED(file);
#endif
    return std::nullopt;
}

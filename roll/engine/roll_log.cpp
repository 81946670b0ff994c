#include "roll_log.h"

#include "regular_file.h"
#include "user_home.h"
#include "whole_write.h"

#include <QDir>
#include <QFile>

namespace {

// False when the log is empty, ends in a line break (CR LF, or LF alone as a log written
// elsewhere may), or cannot be read (a log the user may only write): there is then no cut-short
// line to end.
bool endsInsideALine(QFile& log) {
    const qint64 size = log.size();
    if (size == 0 || !log.isReadable() || !log.seek(size - 1))
        return false;
    return log.read(1) != "\n";
}

} // namespace

QString defaultLogPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\rolllog.txt");
#else
    const QString home = userHomeFolder();
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral("rolllog.txt"));
#endif
}

std::optional<FileFailure> appendRollLog(const QString& logPath, std::string_view record) {
    if (logPath.isEmpty())
        return FileFailure{logPath, QStringLiteral("No file name was given")};
    QFile log(logPath);
    constexpr QIODevice::OpenMode appending = QIODevice::Append | QIODevice::Unbuffered;
    std::optional<QString> reason = openRegularFile(log, QIODevice::ReadWrite | appending);
    if (reason)
        reason = openRegularFile(log, QIODevice::WriteOnly | appending);
    if (reason)
        return FileFailure{logPath, *reason};
    if (endsInsideALine(log)) {
        if (auto lineEnd = writeWhole(log, "\r\n"))
            return FileFailure{logPath, *lineEnd};
    }
    return writeAndClose(log, logPath, record);
}

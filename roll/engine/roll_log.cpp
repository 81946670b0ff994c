#include "roll_log.h"

#include <QDir>

QString defaultLogPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\rolllog.txt");
#else
    return QDir::homePath() + QStringLiteral("/rolllog.txt");
#endif
}

std::optional<FileFailure> appendRollLog(const QString& logPath, std::string_view record) {
    return appendToFile(logPath, record);
}

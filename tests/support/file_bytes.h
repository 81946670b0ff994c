#pragma once

// Files read and written byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole file; "<unreadable>" when it cannot be read, so that a missing file never passes
// for an empty one.
inline QByteArray fileBytes(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

// Creates or replaces the file with exactly these bytes; false when that failed.
[[nodiscard]] inline bool writeBytes(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

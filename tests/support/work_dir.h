#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Window tests run in a fresh working directory of their own, where the program's files live.
class TemporaryWorkDir {
public:
    TemporaryWorkDir() : previous_(QDir::currentPath()) {
        QVERIFY(dir_.isValid());
        QDir::setCurrent(dir_.path());
    }
    ~TemporaryWorkDir() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

inline void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

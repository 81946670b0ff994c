#pragma once

#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The presets file delivered with the program (every test knows where it is).
inline QString deliveredPresets() {
    return QStringLiteral(DELIVERED_PRESETS);
}

// Window tests run in a fresh working directory of their own, where the program's files live:
// it holds a copy of the delivered presets file unless the test asks for an empty one.
class TemporaryWorkDir {
public:
    enum Contents { WithPresets, Empty };

    explicit TemporaryWorkDir(Contents contents = WithPresets) : previous_(QDir::currentPath()) {
        QVERIFY(dir_.isValid());
        QDir::setCurrent(dir_.path());
        if (contents == WithPresets)
            QVERIFY(
                QFile::copy(deliveredPresets(), dir_.filePath(QStringLiteral("tumosetup.dat"))));
    }
    ~TemporaryWorkDir() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

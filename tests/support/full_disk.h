#pragma once

// A file system with no room left: a 64 KiB tmpfs mounted on a temporary folder, whose every
// free byte goes to a filler file. Mounting needs root, as CI runs the tests, and Linux;
// elsewhere unavailable() says why there is none.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>
#endif

class FullDisk {
public:
    FullDisk() {
#ifndef Q_OS_LINUX
        unavailable_ = QStringLiteral("a full file system is made from a Linux tmpfs");
#else
        if (!folder_.isValid())
            unavailable_ = QStringLiteral("no temporary folder to mount it on");
        else if (::geteuid() != 0)
            unavailable_ = QStringLiteral("mounting a small file system needs root");
        else if (::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs",
                         MS_NOSUID | MS_NODEV, "size=64k,mode=0700") != 0)
            unavailable_ =
                QStringLiteral("a tmpfs could not be mounted: ") + qt_error_string(errno);
#endif
    }
    ~FullDisk() {
#ifdef Q_OS_LINUX
        if (unavailable_.isEmpty())
            ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
#endif
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    const QString& unavailable() const {
        return unavailable_;
    }
    QString path() const {
        return folder_.path();
    }
    QString filePath(const QString& name) const {
        return folder_.filePath(name);
    }

    // Takes up every byte left; true once the file system has refused more.
    [[nodiscard]] bool fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
        return filler.error() != QFileDevice::NoError;
    }

private:
    QTemporaryDir folder_;
    QString unavailable_;
};

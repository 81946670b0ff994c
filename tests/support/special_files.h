#pragma once

// Hostile files for the tests: what a careless or hostile user may put where the program
// expects a file, and a watchdog for the calls that might block on them.

#include <QFile>
#include <QString>
#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include <QDir>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

enum class SpecialFile {
    Pipe,
    EndlessDevice,
    Folder,
    Socket,
    LinkToFile,
    HardLinkToFile,
    DanglingLink
};

// The file that a LinkToFile, HardLinkToFile or DanglingLink at path leads to, and what it
// holds (a DanglingLink's is missing).
inline QString linkTarget(const QString& path) {
    return path + QStringLiteral(".target");
}
inline const QByteArray linkTargetBytes = "a file of the user's own\r\n";

// Whether kind can be made on this system: pipes, devices, sockets and links are Unix's; a
// folder can be made anywhere.
inline bool specialFileMadeHere(SpecialFile kind) {
#ifdef Q_OS_UNIX
    Q_UNUSED(kind);
    return true;
#else
    return kind == SpecialFile::Folder;
#endif
}

// Makes a special file at path; false when that failed. The endless device is a link to
// /dev/zero, as a user would plant one; LinkToFile and HardLinkToFile link to a file of the
// user's own, DanglingLink to a file that does not exist.
[[nodiscard]] inline bool makeSpecialFile(const QString& path, SpecialFile kind) {
    if (kind == SpecialFile::Folder)
        return QDir().mkpath(path);
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
    case SpecialFile::Pipe:
        return ::mkfifo(name.constData(), 0600) == 0;
    case SpecialFile::EndlessDevice:
        return ::symlink("/dev/zero", name.constData()) == 0;
    case SpecialFile::LinkToFile:
    case SpecialFile::HardLinkToFile: {
        QFile target(linkTarget(path));
        if (!target.open(QIODevice::WriteOnly) || !target.write(linkTargetBytes) || !target.flush())
            return false;
        const QByteArray targetName = QFile::encodeName(target.fileName());
        return (kind == SpecialFile::LinkToFile ? ::symlink : ::link)(targetName.constData(),
                                                                      name.constData()) == 0;
    }
    case SpecialFile::DanglingLink:
        return ::symlink(QFile::encodeName(linkTarget(path)).constData(), name.constData()) == 0;
    case SpecialFile::Folder:
        break;
    case SpecialFile::Socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
            return false;
        std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        // The socket file stays when the socket is closed.
        const bool bound =
            fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd);
        return bound;
    }
    }
#endif
    return false;
}

// Ends the test run with a failure, rather than letting it hang, when it is still alive after
// limit: a call blocked in the system cannot be interrupted from its own thread.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return done_; }))
                  qFatal("Watchdog: still blocked after %lld s",
                         static_cast<long long>(limit.count()));
          }) {}

    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_one();
        thread_.join();
    }

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

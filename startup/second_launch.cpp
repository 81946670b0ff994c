#include "second_launch.h"

#include "private_folder.h"
#include "program_identity.h"
#include "single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>

namespace {

// One line: "show", then a blank and the activation token when the later start has one.
const QByteArray showRequest = QByteArrayLiteral("show");
const char* const activationTokenVariable = "XDG_ACTIVATION_TOKEN";
// Tokens are short; a longer line is not a request.
constexpr qint64 longestRequest = 1024;

// A token is printable ASCII without blanks, as the compositors make them.
bool isTokenText(const QByteArray& token) {
    return std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 127; });
}

// How long a later start waits for a running copy that holds the lock but does not listen yet.
constexpr int startingCopyWaitMs = 2000;
constexpr int retryPauseMs = 50;

// How often the running copy checks that it still listens: QLocalServer closes itself, and
// removes its socket, when it fails to accept a connection (for one, when the process is out of
// handles), and says so by no signal.
constexpr std::chrono::milliseconds listeningCheckTime{2000};

#ifdef Q_OS_UNIX
// The longest path a local socket's address holds, without its ending zero.
constexpr qsizetype longestSocketPath = sizeof(sockaddr_un::sun_path) - 1;

// Where the socket goes when the path beside the lock is too long for a socket's address: a
// folder of the user's own in /tmp, named by the user's number. The socket's name there comes
// from the lock's path, so that copies that keep different locks do not meet.
QString shortSocketName(const QString& programName, const QString& lock) {
    const QByteArray lockHash =
        QCryptographicHash::hash(QFile::encodeName(lock), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("/tmp/%1-%2/%3-%4.socket")
        .arg(ProgramIdentity::folderName)
        .arg(::geteuid())
        .arg(programName, QString::fromLatin1(lockHash.left(16)));
}
#endif

} // namespace

QString secondLaunchSocketName(const QString& programName) {
    // Without a folder of the user's own there is no lock, and no private place for a socket.
    const QString lock = SingleInstance::lockFilePath(programName);
    if (lock.isEmpty())
        return {};
    const QString besideLock = lock + QStringLiteral(".socket");
#ifdef Q_OS_UNIX
    if (QFile::encodeName(besideLock).size() > longestSocketPath)
        return shortSocketName(programName, lock);
#endif
    return besideLock;
}

SecondLaunchListener::SecondLaunchListener(const QString& programName, QObject* parent)
    : QObject(parent), name_(secondLaunchSocketName(programName)), server_(new QLocalServer(this)) {
    if (name_.isEmpty())
        return;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SecondLaunchListener::takeConnections);
    listen();
    auto* listeningCheck = new QTimer(this);
    connect(listeningCheck, &QTimer::timeout, this, [this] {
        if (!server_->isListening())
            listen();
    });
    listeningCheck->start(listeningCheckTime);
}

void SecondLaunchListener::listen() {
    // The socket's folder is the lock's, or the short private one, made here if it is missing;
    // a folder that others may use is never listened in.
    if (makePrivateFolder(QFileInfo(name_).path()))
        return;
    // This copy holds the lock, so a socket left there belongs to a copy that has ended.
    QLocalServer::removeServer(name_);
    server_->listen(name_);
}

bool SecondLaunchListener::isListening() const {
    return server_->isListening();
}

void SecondLaunchListener::takeConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (held_.size() >= mostConnectionsHeld)
            drop(held_.front());
        held_.append(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        QTimer::singleShot(silentConnectionTime, socket, [this, socket] { drop(socket); });
        readRequest(socket);
    }
}

void SecondLaunchListener::readRequest(QLocalSocket* socket) {
    if (!socket->canReadLine() && socket->bytesAvailable() <= longestRequest)
        return;
    const QByteArray line = socket->readLine(longestRequest + 1);
    // One request per connection; anything else is not ours to answer.
    drop(socket);
    if (!line.endsWith('\n'))
        return;
    const QByteArray request = line.chopped(1);
    if (request == showRequest) {
        emit showRequested(QString());
    } else if (request.startsWith(showRequest + ' ')) {
        const QByteArray token = request.sliced(showRequest.size() + 1);
        if (token.isEmpty() || !isTokenText(token))
            return;
        // Qt's Wayland windows take the token from the environment at their next activation,
        // which is the one the receiver of showRequested makes.
        qputenv(activationTokenVariable, token);
        emit showRequested(QString::fromLatin1(token));
    }
}

void SecondLaunchListener::drop(QLocalSocket* socket) {
    // Closing a socket emits disconnected, which comes back here once it is no longer held.
    if (!held_.removeOne(socket))
        return;
    socket->abort();
    socket->deleteLater();
}

bool askRunningCopyToShow(const QString& programName) {
    const QString name = secondLaunchSocketName(programName);
    if (name.isEmpty())
        return false;
    const QDeadlineTimer deadline(startingCopyWaitMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(retryPauseMs);
    }
    QByteArray request = showRequest;
    const QByteArray token = qgetenv(activationTokenVariable);
    if (!token.isEmpty() && token.size() < longestRequest - showRequest.size() &&
        isTokenText(token))
        request += ' ' + token;
    socket.write(request + '\n');
    socket.waitForBytesWritten(int(deadline.remainingTime()));
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

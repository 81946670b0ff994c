#include "second_launch.h"

#include "single_instance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray showRequest = QByteArrayLiteral("show\n");

// How long a later start waits for a running copy that holds the lock but does not listen yet.
constexpr int startingCopyWaitMs = 2000;
constexpr int retryPauseMs = 50;

} // namespace

QString secondLaunchSocketName(const QString& programName) {
    // Without a folder of the user's own there is no lock, and no private place for a socket.
    const QString lock = SingleInstance::lockFilePath(programName);
    return lock.isEmpty() ? QString() : lock + QStringLiteral(".socket");
}

SecondLaunchListener::SecondLaunchListener(const QString& programName, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    const QString name = secondLaunchSocketName(programName);
    if (name.isEmpty())
        return;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the lock, so a socket left there belongs to a copy that has ended.
    QLocalServer::removeServer(name);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
}

bool SecondLaunchListener::isListening() const {
    return server_->isListening();
}

void SecondLaunchListener::readRequest(QLocalSocket* socket) {
    if (socket->bytesAvailable() < showRequest.size())
        return;
    const bool asked = socket->read(showRequest.size()) == showRequest;
    // One request per connection; anything else is not ours to answer.
    socket->disconnectFromServer();
    socket->deleteLater();
    if (asked)
        emit showRequested();
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
    socket.write(showRequest);
    socket.waitForBytesWritten(int(deadline.remainingTime()));
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

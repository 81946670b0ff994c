#include "second_launch.h"

#include "single_instance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QThread>

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
    if (!socket->canReadLine() && socket->bytesAvailable() <= longestRequest)
        return;
    const QByteArray line = socket->readLine(longestRequest + 1);
    // One request per connection; anything else is not ours to answer.
    socket->disconnectFromServer();
    socket->deleteLater();
    if (!line.endsWith('\n'))
        return;
    const QByteArray request = line.chopped(1);
    if (request == showRequest) {
        emit showRequested(QString());
    } else if (request.startsWith(showRequest + ' ')) {
        const QByteArray token = request.sliced(showRequest.size() + 1);
        if (!token.isEmpty() && isTokenText(token))
            emit showRequested(QString::fromLatin1(token));
    }
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

void useActivationToken(const QString& activationToken) {
    if (!activationToken.isEmpty())
        qputenv(activationTokenVariable, activationToken.toLatin1());
}

std::optional<int> endUnlessOnlyCopy(const SingleInstance& instance, const QString& programName,
                                     const QString& title) {
    if (!instance.failure().isEmpty()) {
        QMessageBox::critical(nullptr, title, instance.failure());
        return 1;
    }
    if (instance.anotherIsRunning()) {
        askRunningCopyToShow(programName);
        return 0;
    }
    return std::nullopt;
}

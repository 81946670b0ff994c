#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <chrono>

class QLocalServer;
class QLocalSocket;

// A later start of a program asks the running copy to come forward, so that a launcher click
// never seems to do nothing. They meet at a local socket beside the program's single-instance
// lock, so both always use the same per-user place.

// The socket's name for a program, by its command; empty when the user has no private
// folder for it.
QString secondLaunchSocketName(const QString& programName);

// Held by the running copy once its window is up: emits showRequested each time a later start
// asks, with the activation token that start was given by its launcher (empty without one),
// already put where the window's next activation takes it from (XDG_ACTIVATION_TOKEN). A
// later start sends its request as soon as it is connected, so a connection that stays silent
// is dropped, and only a few are held at once: however many connect, the channel never takes
// the handles that the program's own files need.
class SecondLaunchListener : public QObject {
    Q_OBJECT
public:
    static constexpr int mostConnectionsHeld = 8;
    static constexpr std::chrono::milliseconds silentConnectionTime{2000};

    explicit SecondLaunchListener(const QString& programName, QObject* parent = nullptr);

    bool isListening() const;
    qsizetype connectionsHeld() const { return held_.size(); }

signals:
    void showRequested(const QString& activationToken);

private:
    void listen();
    void takeConnections();
    void readRequest(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_;
    QList<QLocalSocket*> held_; // oldest first
};

// Run by a later start before it ends: asks the running copy to show its window, handing over
// the activation token of its own start (XDG_ACTIVATION_TOKEN), without which a Wayland
// compositor would not let the running copy's window come forward. Waits a moment for a copy
// that is still starting; false when none answered.
bool askRunningCopyToShow(const QString& programName);

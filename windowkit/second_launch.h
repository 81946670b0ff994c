#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// A later start of a program asks the running copy to come forward, so that a launcher click
// never seems to do nothing. They meet at a local socket beside the program's single-instance
// lock, so both always use the same per-user place.

// The socket's name for a program ("rollbox", "minitumo").
QString secondLaunchSocketName(const QString& programName);

// Held by the running copy once its window is up: emits showRequested each time a later start
// asks.
class SecondLaunchListener : public QObject {
    Q_OBJECT
public:
    explicit SecondLaunchListener(const QString& programName, QObject* parent = nullptr);

    bool isListening() const;

signals:
    void showRequested();

private:
    void readRequest(QLocalSocket* socket);

    QLocalServer* server_;
};

// Run by a later start before it ends: asks the running copy to show its window. Waits a
// moment for a copy that is still starting; false when none answered.
bool askRunningCopyToShow(const QString& programName);

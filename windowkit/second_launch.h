#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QLocalServer;
class QLocalSocket;

// A later start of a program asks the running copy to come forward, so that a launcher click
// never seems to do nothing. They meet at a local socket beside the program's single-instance
// lock, so both always use the same per-user place.

// The socket's name for a program ("rollbox", "minitumo").
QString secondLaunchSocketName(const QString& programName);

// Held by the running copy once its window is up: emits showRequested each time a later start
// asks, with the activation token that start was given by its launcher (empty without one).
class SecondLaunchListener : public QObject {
    Q_OBJECT
public:
    explicit SecondLaunchListener(const QString& programName, QObject* parent = nullptr);

    bool isListening() const;

signals:
    void showRequested(const QString& activationToken);

private:
    void readRequest(QLocalSocket* socket);

    QLocalServer* server_;
};

// Run by a later start before it ends: asks the running copy to show its window, handing over
// the activation token of its own start (XDG_ACTIVATION_TOKEN), without which a Wayland
// compositor would not let the running copy's window come forward. Waits a moment for a copy
// that is still starting; false when none answered.
bool askRunningCopyToShow(const QString& programName);

class SingleInstance;

// What a start does with its single-instance lock before any window exists: nothing when this
// is the only copy; otherwise it ends, and the exit code says how: 0 after asking the running
// copy to come forward (touching no file), 1 after saying in a message box titled title why the
// lock could be neither taken nor checked.
// A window comes forward with the activation token a later start handed over: Qt's Wayland
// windows take it from the environment at their next activation.
void useActivationToken(const QString& activationToken);

std::optional<int> endUnlessOnlyCopy(const SingleInstance& instance, const QString& programName,
                                     const QString& title);

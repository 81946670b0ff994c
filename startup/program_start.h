#pragma once

#include "single_instance.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QObject;
class SecondLaunchListener;

// What both programs do once, as soon as their application object exists and before any
// window: run once per user, bring the running copy forward otherwise, end cleanly on signals.
//
//   main()  answerCommandLine         --help, --version; no display needed
//           QApplication
//           ProgramStart start(...)   names the application, takes the lock (or asks the
//                                     running copy to come forward and ends), ends on signals
//           the program's window, shown
//           start.answerLaterStarts   later starts bring that window forward
//
// The lock is held, and later starts are answered, for as long as this object lives.

struct ProgramNames {
    QString command;   // the command, which names the lock and the socket of later starts
    QString name;      // the application's name
    QString title;     // the title of the message box that says why the lock cannot be used
    QString desktopId; // the desktop entry's name: on Wayland the windows' application id
};

class ProgramStart {
public:
    explicit ProgramStart(const ProgramNames& names);
    ~ProgramStart();

    // Set when this start ends here, before any window exists: 0 after asking the running copy
    // to come forward (touching no file), 1 after saying in a message box why the lock could be
    // neither taken nor checked.
    std::optional<int> exitCode() const { return exitCode_; }

    // Once the program's window is up: each later start runs bringForward, while context lives.
    void answerLaterStarts(QObject* context, std::function<void()> bringForward);

private:
    QString command_;
    std::optional<SingleInstance> instance_;
    std::optional<int> exitCode_;
    std::unique_ptr<SecondLaunchListener> laterStarts_;
};

#include "program_start.h"

#include "ending_signals.h"
#include "memory_reuse.h"
#include "program_identity.h"
#include "second_launch.h"

#include <QApplication>
#include <QMessageBox>

ProgramStart::ProgramStart(const ProgramNames& names) : command_(names.command) {
    keepLargeBlocksForReuse();
    // Named before anything else, in both programs alike.
    QCoreApplication::setApplicationName(names.name);
    QCoreApplication::setApplicationVersion(ProgramIdentity::version);
    QCoreApplication::setOrganizationName(ProgramIdentity::organisation);
    QGuiApplication::setDesktopFileName(names.desktopId);

    // A second start ends here, before any window exists, touching no file; it only asks the
    // running copy to come forward, which keeps its window as it is.
    const SingleInstance& instance = instance_.emplace(names.command);
    if (!instance.failure().isEmpty()) {
        QMessageBox::critical(nullptr, names.title, instance.failure());
        exitCode_ = 1;
        return;
    }
    if (instance.anotherIsRunning()) {
        askRunningCopyToShow(names.command);
        exitCode_ = 0;
        return;
    }
    // Logout, kill and shut-down end the program as Exit does.
    endOnSignals();
}

ProgramStart::~ProgramStart() = default;

void ProgramStart::answerLaterStarts(QObject* context, std::function<void()> bringForward) {
    laterStarts_ = std::make_unique<SecondLaunchListener>(command_);
    QObject::connect(laterStarts_.get(), &SecondLaunchListener::showRequested, context,
                     [bringForward = std::move(bringForward)] { bringForward(); });
}

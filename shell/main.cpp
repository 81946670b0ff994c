#include "artwork.h"
#include "ending_signals.h"
#include "program_identity.h"
#include "rollbox_usage.h"
#include "second_launch.h"
#include "single_instance.h"
#include "tumo.h"
#include "working_directory.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    const QString programName = QStringLiteral("rollbox");
    // --help and --version are answered before anything needs a display or the lock.
    if (const auto exitCode = answerCommandLine(argc, argv, rollboxCommandLineAnswers(programName)))
        return *exitCode;
    QApplication app(argc, argv);
    // The desktop entry's name: on Wayland the window's application id, which the desktop
    // matches to the entry's name and icon.
    QGuiApplication::setDesktopFileName(ProgramIdentity::rollboxDesktopId);
    // A second start ends here, before any window exists, touching no file; it only asks the
    // running copy to come forward. A lock that can be neither taken nor checked is said.
    const SingleInstance instance(programName);
    if (const auto exitCode =
            endUnlessOnlyCopy(instance, programName, ProgramIdentity::rollboxTitle))
        return *exitCode;
    // Logout, kill and shut-down end the program as Exit does.
    endOnSignals();

    // Installed, the program works in a folder of the user's own. Without it there would be no
    // presets file to read and no place to write the work files, so the program ends.
    if (const auto failure = enterUserWorkingFolder(QCoreApplication::applicationDirPath())) {
        QMessageBox::critical(nullptr, ProgramIdentity::rollboxTitle,
                              QCoreApplication::translate(
                                  "main", "The working folder \"%1\" could not be prepared: %2.")
                                  .arg(QDir::toNativeSeparators(failure->folder), failure->reason));
        return 1;
    }

    QCoreApplication::setApplicationName(ProgramIdentity::rollboxName);
    QCoreApplication::setApplicationVersion(ProgramIdentity::version);
    QCoreApplication::setOrganizationName(ProgramIdentity::organisation);
    QApplication::setWindowIcon(dieIcon());
    // The program ends when the main window has unloaded and no help window is left; a main
    // window hidden to the tray keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    Tumo tumo;
    QObject::connect(&tumo, &Tumo::noWindowLeft, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &tumo, &Tumo::Form_Unload);
    // Without its presets file the program does not start.
    if (!tumo.Form_Load())
        return 1;
    tumo.show();
    const SecondLaunchListener laterStarts(programName);
    QObject::connect(&laterStarts, &SecondLaunchListener::showRequested, &tumo, &Tumo::comeForward);
    return app.exec();
}

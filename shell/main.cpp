#include "artwork.h"
#include "program_identity.h"
#include "program_start.h"
#include "rollbox_usage.h"
#include "tumo.h"
#include "working_directory.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    using namespace ProgramIdentity;
    // --help and --version are answered before anything needs a display or the lock.
    if (const auto exitCode =
            answerCommandLine(argc, argv, rollboxCommandLineAnswers(rollboxCommand)))
        return *exitCode;
    QApplication app(argc, argv);
    ProgramStart start({rollboxCommand, rollboxName, rollboxTitle, rollboxDesktopId});
    if (const auto exitCode = start.exitCode())
        return *exitCode;

    // Installed, the program works in a folder of the user's own. Without it there would be no
    // presets file to read and no place to write the work files, so the program ends.
    if (const auto failure = enterUserWorkingFolder(QCoreApplication::applicationDirPath())) {
        QMessageBox::critical(nullptr, rollboxTitle,
                              QCoreApplication::translate(
                                  "main", "The working folder \"%1\" could not be prepared: %2.")
                                  .arg(QDir::toNativeSeparators(failure->folder), failure->reason));
        return 1;
    }
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
    start.answerLaterStarts(&tumo, [&tumo] { tumo.bringForwardMainOrHelpWindow(); });
    return app.exec();
}

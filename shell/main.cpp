#include "artwork.h"
#include "program_texts.h"
#include "single_instance.h"
#include "tumo.h"
#include "working_directory.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A second start ends here, silently, before any window exists.
    const SingleInstance instance(QStringLiteral("rollbox"));
    if (!instance.failure().isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvane's Dice Roller"),
                              instance.failure());
        return 1;
    }
    if (instance.anotherIsRunning())
        return 0;

    // Installed, the program works in a folder of the user's own. Without it there would be no
    // presets file to read and no place to write the work files, so the program ends.
    if (const auto failure = enterUserWorkingFolder(QCoreApplication::applicationDirPath())) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvane's Dice Roller"),
                              QCoreApplication::translate(
                                  "main", "The working folder \"%1\" could not be prepared: %2.")
                                  .arg(QDir::toNativeSeparators(failure->folder), failure->reason));
        return 1;
    }

    QCoreApplication::setApplicationName(QStringLiteral("Rollbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.50"));
    QCoreApplication::setOrganizationName(ProgramTexts::organisation());
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
    return app.exec();
}

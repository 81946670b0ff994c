#include "artwork.h"
#include "program_texts.h"
#include "single_instance.h"
#include "tumo.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A second start ends here, silently, before any window exists.
    const SingleInstance instance(QStringLiteral("rollbox"));
    if (instance.anotherIsRunning())
        return 0;

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
    tumo.Form_Load();
    tumo.show();
    return app.exec();
}

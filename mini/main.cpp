#include "bring_forward.h"
#include "ending_signals.h"
#include "mini.h"
#include "minitumo_usage.h"
#include "program_identity.h"
#include "second_launch.h"
#include "single_instance.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    const QString programName = QStringLiteral("minitumo");
    // --help and --version are answered before anything needs a display or the lock.
    if (const auto exitCode = answerCommandLine(argc, argv, miniCommandLineAnswers(programName)))
        return *exitCode;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(ProgramIdentity::miniName);
    QCoreApplication::setApplicationVersion(ProgramIdentity::version);
    QCoreApplication::setOrganizationName(ProgramIdentity::organisation);
    // The desktop entry's name: on Wayland the window's application id.
    QGuiApplication::setDesktopFileName(ProgramIdentity::miniDesktopId);

    // A second copy ends at once; it only asks the running one to come forward, which keeps its
    // window and its last roll. A lock that can be neither taken nor checked is said.
    const SingleInstance instance(programName);
    if (const auto exitCode = endUnlessOnlyCopy(instance, programName, ProgramIdentity::miniTitle))
        return *exitCode;
    // Logout, kill and shut-down end the program as Exit does.
    endOnSignals();

    Mini mini;
    mini.Form_Load();
    mini.show();
    const SecondLaunchListener laterStarts(programName);
    QObject::connect(&laterStarts, &SecondLaunchListener::showRequested, &mini,
                     [&mini] { bringForward(&mini); });
    return app.exec();
}

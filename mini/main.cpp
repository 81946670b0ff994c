#include "bring_forward.h"
#include "ending_signals.h"
#include "mini.h"
#include "program_identity.h"
#include "second_launch.h"
#include "single_instance.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(ProgramIdentity::miniName);
    QCoreApplication::setApplicationVersion(ProgramIdentity::version);
    QCoreApplication::setOrganizationName(ProgramIdentity::organisation);

    // A second copy ends at once; it only asks the running one to come forward, which keeps its
    // window and its last roll. A lock that can be neither taken nor checked is said.
    const QString programName = QStringLiteral("minitumo");
    const SingleInstance instance(programName);
    if (!instance.failure().isEmpty()) {
        QMessageBox::critical(nullptr, ProgramIdentity::miniTitle, instance.failure());
        return 1;
    }
    if (instance.anotherIsRunning()) {
        askRunningCopyToShow(programName);
        return 0;
    }
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

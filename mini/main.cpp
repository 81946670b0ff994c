#include "bring_forward.h"
#include "mini.h"
#include "minitumo_usage.h"
#include "program_identity.h"
#include "program_start.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    using namespace ProgramIdentity;
    // --help and --version are answered before anything needs a display or the lock.
    if (const auto exitCode = answerCommandLine(argc, argv, miniCommandLineAnswers(miniCommand)))
        return *exitCode;
    QApplication app(argc, argv);
    ProgramStart start({miniCommand, miniName, miniTitle, miniDesktopId});
    if (const auto exitCode = start.exitCode())
        return *exitCode;

    Mini mini;
    mini.Form_Load();
    mini.show();
    // The running copy keeps its window and its last roll.
    start.answerLaterStarts(&mini, [&mini] { bringForward(&mini); });
    return app.exec();
}

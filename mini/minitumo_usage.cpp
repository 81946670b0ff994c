#include "minitumo_usage.h"

#include "program_identity.h"

#include <QCoreApplication>

namespace {

// %1 the command, %2 and %3 the program's name and title, %4 Rollbox's name, %5 the name of
// the folder of the lock.
const char* const helpText = QT_TRANSLATE_NOOP(
    "MiniUsage", "Usage: %1 [--help | --version]\n"
                 "\n"
                 "%2 (%3) is the small roller that comes with\n"
                 "%4: each function key rolls one kind of die, and the window shows the roll,\n"
                 "such as d20 = 17. It stays above other windows until it is set to normal.\n"
                 "It runs once per user; starting it again brings the running window forward.\n"
                 "\n"
                 "  -h, --help     print this text and exit\n"
                 "  -v, --version  print the name and version and exit\n"
                 "Other arguments are ignored, apart from the options every Qt program takes.\n"
                 "\n"
                 "Files: none but its lock, %1.lock in $XDG_RUNTIME_DIR\n"
                 "(in ~/.cache/%5 where that is missing or open to others).\n"
                 "\n"
                 "Keys:\n"
                 "  F1-F12  roll d20, d2, d3, d4, d5, d6, d4+1, d8, 3d6, d10, d100, d12\n"
                 "  Ctrl+T  stay above other windows     Ctrl+N  set to normal\n"
                 "  Ctrl+X  exit                         Menu    the popup menu\n"
                 "\n"
                 "The manual page %1(6) says more.\n");

} // namespace

CommandLineAnswers miniCommandLineAnswers(const QString& command) {
    using namespace ProgramIdentity;
    return {miniName + QLatin1Char(' ') + version,
            QCoreApplication::translate("MiniUsage", helpText)
                .arg(command, miniName, miniTitle, rollboxName, folderName)};
}

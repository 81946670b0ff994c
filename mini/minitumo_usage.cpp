#include "minitumo_usage.h"

#include "program_identity.h"

#include <QCoreApplication>

namespace {

// The text in parts, the files and the pointer to more depending on the system. %1 the
// command, %2 and %3 the program's name and title, %4 Rollbox's name, %5 the name of the folder
// of the lock.
const char* const aboutText = QT_TRANSLATE_NOOP(
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
                 "\n");
#ifdef Q_OS_WIN
const char* const filesText =
    QT_TRANSLATE_NOOP("MiniUsage", "Files: none but its lock, %1.lock in %LOCALAPPDATA%\\%5.\n");
const char* const moreText = "";
#else
const char* const filesText =
    QT_TRANSLATE_NOOP("MiniUsage", "Files: none but its lock, %1.lock in $XDG_RUNTIME_DIR\n"
                                   "(in ~/.cache/%5 where that is missing or open to others).\n");
const char* const moreText = QT_TRANSLATE_NOOP("MiniUsage", "\n"
                                                            "The manual page %1(6) says more.\n");
#endif
const char* const keysText = QT_TRANSLATE_NOOP(
    "MiniUsage", "\n"
                 "Keys:\n"
                 "  F1-F12  roll d20, d2, d3, d4, d5, d6, d4+1, d8, 3d6, d10, d100, d12\n"
                 "  Ctrl+T  stay above other windows     Ctrl+N  set to normal\n"
                 "  Ctrl+X  exit                         Menu    the popup menu\n");

} // namespace

CommandLineAnswers miniCommandLineAnswers(const QString& command) {
    using namespace ProgramIdentity;
    return {miniName + QLatin1Char(' ') + version,
            QString(QCoreApplication::translate("MiniUsage", aboutText) +
                    QCoreApplication::translate("MiniUsage", filesText) +
                    QCoreApplication::translate("MiniUsage", keysText) +
                    QCoreApplication::translate("MiniUsage", moreText))
                .arg(command, miniName, miniTitle, rollboxName, folderName)};
}

#include "rollbox_usage.h"

#include "preset_file.h"
#include "program_identity.h"

#include <QCoreApplication>

namespace {

// The text in parts, the files and the pointer to more depending on the system. %1 the
// command, %2 and %3 the program's name and title, %4 the name of its folder, %5 and %6 the
// presets file and the help file.
const char* const aboutText = QT_TRANSLATE_NOOP(
    "RollboxUsage",
    "Usage: %1 [--help | --version]\n"
    "\n"
    "%2 (%3) rolls dice for tabletop role-playing games:\n"
    "type a formula such as 3d6+2 and press Enter. It runs once per user; starting\n"
    "it again brings the running window forward.\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "  -v, --version  print the name and version and exit\n"
    "Other arguments are ignored, apart from the options every Qt program takes.\n"
    "\n");
#ifdef Q_OS_WIN
const char* const filesText = QT_TRANSLATE_NOOP(
    "RollboxUsage",
    "Files: %2 works in %LOCALAPPDATA%\\%4, where its first start copies the\n"
    "delivered files. There it reads %5 (the presets of Shift+F1-F12) and\n"
    "%6 (the help text), and keeps the last roll in temp.txt, tempt.txt\n"
    "and tempd.txt. Save Results appends each roll to the roll log, C:\\rolllog.txt\n"
    "unless another file is chosen.\n");
const char* const moreText = "";
#else
const char* const filesText = QT_TRANSLATE_NOOP(
    "RollboxUsage", "Files: an installed %2 works in $XDG_DATA_HOME/%4 (usually\n"
                    "~/.local/share/%4), one started from its build folder in the current\n"
                    "directory. There it reads %5 (the presets of Shift+F1-F12) and\n"
                    "%6 (the help text), and keeps the last roll in temp.txt, tempt.txt\n"
                    "and tempd.txt. Save Results appends each roll to the roll log, ~/rolllog.txt\n"
                    "unless another file is chosen.\n");
const char* const moreText =
    QT_TRANSLATE_NOOP("RollboxUsage", "\n"
                                      "The manual page %1(6) says more.\n");
#endif
const char* const keysText = QT_TRANSLATE_NOOP(
    "RollboxUsage", "\n"
                    "Keys:\n"
                    "  Enter         roll the formula\n"
                    "  F1-F12        roll d20, d2, d3, d4, d5, d6, d4+1, d8, 3d6, d10, d100, d12\n"
                    "  Shift+F1-F12  roll your preset of that key\n"
                    "  Ctrl+D        the odds of the roll     Ctrl+F  set up the function keys\n"
                    "  Ctrl+H        help                     Ctrl+M  the mini roller\n"
                    "  Ctrl+X        exit                     Menu    the popup menu\n");

} // namespace

CommandLineAnswers rollboxCommandLineAnswers(const QString& command) {
    using namespace ProgramIdentity;
    return {rollboxName + QLatin1Char(' ') + version,
            QString(QCoreApplication::translate("RollboxUsage", aboutText) +
                    QCoreApplication::translate("RollboxUsage", filesText) +
                    QCoreApplication::translate("RollboxUsage", keysText) +
                    QCoreApplication::translate("RollboxUsage", moreText))
                .arg(command, rollboxName, rollboxTitle, folderName, presetFileName, helpFileName)};
}

#pragma once

#include <QString>

#include <optional>

// The programs take no command line but the two answers every desktop program gives:
// --help (-h) prints the usage text and --version (-v) the name and version, both on standard
// output. The first of them on the command line is answered. Called first thing in main(), so
// that it needs neither a display nor the lock a running copy holds; every other argument is
// left to Qt and ignored by the program.

struct CommandLineAnswers {
    QString version; // one line, without its line end
    QString help;
};

// The exit code when an argument was answered and the program should end: 0, or 1 when the
// answer could not be written. Nothing when the program should start as usual.
std::optional<int> answerCommandLine(int argc, const char* const* argv,
                                     const CommandLineAnswers& answers);

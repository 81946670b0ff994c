#pragma once

#include "command_line.h"

// What `minitumo --version` and `minitumo --help` print; command is the program's file name.
CommandLineAnswers miniCommandLineAnswers(const QString& command);

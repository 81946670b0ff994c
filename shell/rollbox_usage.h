#pragma once

#include "command_line.h"

// What `rollbox --version` and `rollbox --help` print; command is the program's file name.
CommandLineAnswers rollboxCommandLineAnswers(const QString& command);

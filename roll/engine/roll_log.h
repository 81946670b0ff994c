#pragma once

#include "work_files.h"

#include <QString>

#include <optional>
#include <string_view>

// The roll log: the records of all logged rolls, oldest first, in one file whose path the
// user chooses for the run. It is only ever appended to.

// "C:\rolllog.txt" on Windows; elsewhere "rolllog.txt" in the home directory, as an
// absolute path.
QString defaultLogPath();

std::optional<FileFailure> appendRollLog(const QString& logPath, std::string_view record);

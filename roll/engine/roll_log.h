#pragma once

#include "work_files.h"

#include <QString>

#include <optional>
#include <string_view>

// The roll log: the records of all logged rolls, oldest first, in one file whose path the
// user chooses for the run. It is only ever appended to.

// "C:\rolllog.txt" on Windows; elsewhere "rolllog.txt" in the home directory, as an
// absolute path; empty when the user has no home folder, so that the first logged roll says
// that no log file was chosen.
QString defaultLogPath();

// Appends the record, creating the log when missing. A record cut short by a crash or a power
// failure is left exactly as it is, but the new record starts on a line of its own: a log
// that does not end in a line break (CR LF, or LF alone) gets CR LF first. The record goes in one
// write to a file opened for appending, so that two programs logging to one file never mix their
// lines inside a record.
std::optional<FileFailure> appendRollLog(const QString& logPath, std::string_view record);

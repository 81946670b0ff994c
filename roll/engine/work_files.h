#pragma once

#include "roll_record.h"

#include <QString>

class QFile;

#include <optional>
#include <string>
#include <string_view>

// The last roll's record and its two pane texts, kept as files in the working directory:
// "temp.txt", "tempt.txt" and "tempd.txt". They are rewritten by every roll and deleted when
// the main window closes.
inline const QString recordFileName = QStringLiteral("temp.txt");
inline const QString totalsFileName = QStringLiteral("tempt.txt");
inline const QString diceFileName = QStringLiteral("tempd.txt");

// A file that could not be created, written or appended to, and why.
struct FileFailure {
    QString file;
    QString reason;
};

// Every work file is opened as a regular file only (regular_file.h): a pipe, a device or a
// folder in its place is refused with a reason that says what it is.

// Creates the file empty when it is missing; an existing file keeps its contents. A link in its
// place is left as it is: it is not opened, and only what it leads to is looked at.
std::optional<FileFailure> ensureFileExists(const QString& name);

// Replaces the file's contents with bytes. A link in the file's place is replaced by the file,
// never written through: it may lead to any file of the user's.
std::optional<FileFailure> writeWholeFile(const QString& name, std::string_view bytes);

// Writes bytes to the file, opened Unbuffered, in one piece and closes it; name is the file's
// name for the failure.
std::optional<FileFailure> writeAndClose(QFile& file, const QString& name, std::string_view bytes);

// Writes the record and its two pane texts; every file is tried, the first failure returned.
std::optional<FileFailure> writeWorkFiles(std::string_view record, const PaneTexts& panes);
std::optional<FileFailure> writeWorkFiles(std::string_view record, std::string_view totals,
                                          std::string_view dice);

// Deletes the three work files, passing over any that is missing or cannot be deleted, and
// anything at their names that is not a regular file.
void deleteWorkFiles();

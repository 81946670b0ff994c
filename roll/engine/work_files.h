#pragma once

#include "roll_record.h"

#include <QString>

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

// Creates the file empty when it is missing; an existing file keeps its contents.
std::optional<FileFailure> ensureFileExists(const QString& name);

// Replaces the file's contents with bytes.
std::optional<FileFailure> writeWholeFile(const QString& name, std::string_view bytes);

// Adds bytes at the end of the file, creating it when missing; never truncates.
std::optional<FileFailure> appendToFile(const QString& name, std::string_view bytes);

// Writes the record and its two pane texts; every file is tried, the first failure returned.
std::optional<FileFailure> writeWorkFiles(std::string_view record, const PaneTexts& panes);
std::optional<FileFailure> writeWorkFiles(std::string_view record, std::string_view totals,
                                          std::string_view dice);

// Deletes the three work files, passing over any that is missing or cannot be deleted.
void deleteWorkFiles();

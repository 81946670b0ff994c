#pragma once

#include "preset.h"

#include <QString>

class QIODevice;

#include <optional>
#include <variant>

// The presets file: twelve records of six lines, 72 lines in all, single-byte text (every byte
// is one character, so nothing is lost between reading and saving). Record n:
//   "F n"               header; read and ignored, whatever it holds
//   formula             the whole line, as typed
//   " 0 " or " 1 "      dropLow, dropHigh, rerollOnes: a number with blanks around it
//   (three lines)
//   add/subtract        the whole line; written without surrounding blanks
// Lines end in CR LF when written; reading also takes LF or CR alone. Lines after the 72nd are
// never read, so they are gone after the next save. A line longer than presetLineLimit
// characters is an error like any malformed line, so that reading stays bounded whatever the
// file holds.
//
// A flag that reads as 1 is set; any other number reads as 0, so that a check box never shows a
// state the roll would not act on. A flag line that is not a number is an error.

// Reader and writer use this one name in the working directory: on a case-sensitive file
// system a second spelling would be a second file.
inline const QString presetFileName = QStringLiteral("tumosetup.dat");
inline constexpr int presetFileLineCount = 6 * presetCount;
inline constexpr int presetLineLimit = 64 * 1024;

// Why the presets file could not be read or written.
struct PresetFileError {
    QString file;
    int line = 0; // 1-based line at fault; 0 when the file as a whole failed
    QString reason;

    // "tumosetup.dat, line 5: a number was expected" or "tumosetup.dat: <system reason>".
    QString message() const;

    friend bool operator==(const PresetFileError&, const PresetFileError&) = default;
};

using PresetFileRead = std::variant<PresetTable, PresetFileError>;

PresetFileRead readPresetFile(const QString& fileName = presetFileName);

// The same from an open device; fileName only names it in errors.
PresetFileRead readPresetTable(QIODevice& file, const QString& fileName);

// Replaces the file atomically: the old file stays whole until the new one is complete, and
// stays as it was when writing fails. A field with a character outside single-byte text, or
// longer than presetLineLimit, is refused with an error that names its key and the character,
// and nothing is written. Line breaks inside a field are saved as blanks so that every record
// keeps its six lines. Where the file is not a regular file (a pipe, a folder), it is left
// alone and the error says what it is.
std::optional<PresetFileError> writePresetFile(const PresetTable& table,
                                               const QString& fileName = presetFileName);

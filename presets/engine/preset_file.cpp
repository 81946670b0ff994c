#include "preset_file.h"

#include "regular_file.h"
#include "whole_write.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr int linesPerRecord = 6;

// Hands out the file's lines one by one; a line ends at CR LF, LF or CR.
class LineReader {
public:
    enum class Outcome { Line, End, TooLong };

    explicit LineReader(QIODevice& file) : file_(file) {}

    Outcome next(QString& text) {
        QByteArray line;
        char c = 0;
        bool any = false;
        while (file_.getChar(&c)) {
            any = true;
            if (c == '\n')
                break;
            if (c == '\r') {
                char following = 0;
                if (file_.peek(&following, 1) == 1 && following == '\n')
                    file_.getChar(&following);
                break;
            }
            if (line.size() == presetLineLimit)
                return Outcome::TooLong;
            line.append(c);
        }
        if (!any)
            return Outcome::End;
        text = QString::fromLatin1(line);
        return Outcome::Line;
    }

private:
    QIODevice& file_;
};

// A flag reads as 1 (set) or 0 (clear); nullopt when the line is not a number.
std::optional<CheckBoxState> flagValue(const QString& line) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QString text = withoutSurroundingBlanks(line);
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble() == 1.0 ? 1 : 0;
}

// Why the field cannot be stored in the file, naming its key and the character at fault.
std::optional<QString> unstorable(const QString& text, int n, const char* field) {
    const QString where = QStringLiteral("the F%1 %2").arg(n).arg(QLatin1String(field));
    if (text.size() > presetLineLimit)
        return QStringLiteral("%1 is longer than %2 characters").arg(where).arg(presetLineLimit);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() <= 0xff)
            continue;
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        const QString code =
            QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
        return QStringLiteral("%1 holds the character \"%2\" (U+%3), which this file cannot "
                              "store")
            .arg(where, character, code);
    }
    return std::nullopt;
}

std::optional<QString> unstorable(const PresetTable& table) {
    for (int n = 1; n <= presetCount; ++n) {
        const Preset& preset = table.at(n);
        if (auto reason = unstorable(preset.formula, n, "formula"))
            return reason;
        if (auto reason =
                unstorable(withoutSurroundingBlanks(preset.addSubtract), n, "add/subtract text"))
            return reason;
    }
    return std::nullopt;
}

QByteArray fieldBytes(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text.toLatin1();
}

QByteArray flagBytes(CheckBoxState flag) {
    return flag == 1 ? " 1 " : " 0 ";
}

QByteArray presetFileBytes(const PresetTable& table) {
    const QByteArray lineEnd = "\r\n";
    QByteArray bytes;
    for (int n = 1; n <= presetCount; ++n) {
        const Preset& preset = table.at(n);
        bytes += "F " + QByteArray::number(n) + lineEnd;
        bytes += fieldBytes(preset.formula) + lineEnd;
        bytes += flagBytes(preset.dropLow) + lineEnd;
        bytes += flagBytes(preset.dropHigh) + lineEnd;
        bytes += flagBytes(preset.rerollOnes) + lineEnd;
        bytes += fieldBytes(withoutSurroundingBlanks(preset.addSubtract)) + lineEnd;
    }
    return bytes;
}

} // namespace

QString PresetFileError::message() const {
    if (line > 0)
        return QStringLiteral("%1, line %2: %3").arg(file).arg(line).arg(reason);
    return QStringLiteral("%1: %2").arg(file, reason);
}

PresetFileRead readPresetFile(const QString& fileName) {
    QFile file(fileName);
    if (auto reason = openRegularFile(file, QIODevice::ReadOnly))
        return PresetFileError{fileName, 0, *reason};
    return readPresetTable(file, fileName);
}

PresetFileRead readPresetTable(QIODevice& file, const QString& fileName) {
    LineReader reader(file);
    const auto readFailed = [&file] {
        auto* asFile = qobject_cast<QFileDevice*>(&file);
        return asFile && asFile->error() != QFileDevice::NoError;
    };
    PresetTable table;
    QString line;
    for (int lineNumber = 1; lineNumber <= presetFileLineCount; ++lineNumber) {
        const LineReader::Outcome outcome = reader.next(line);
        if (readFailed())
            return PresetFileError{fileName, lineNumber, file.errorString()};
        if (outcome == LineReader::Outcome::TooLong)
            return PresetFileError{
                fileName, lineNumber,
                QStringLiteral("the line is longer than %1 characters").arg(presetLineLimit)};
        if (outcome == LineReader::Outcome::End)
            return PresetFileError{
                fileName, lineNumber,
                QStringLiteral("a line was expected, but the file ends after %1 lines")
                    .arg(lineNumber - 1)};

        Preset& preset = table.at((lineNumber - 1) / linesPerRecord + 1);
        const int field = (lineNumber - 1) % linesPerRecord;
        if (field == 0)
            continue; // the record's header: its content does not matter
        if (field == 1) {
            preset.formula = line;
        } else if (field == 5) {
            preset.addSubtract = line;
        } else {
            const std::optional<CheckBoxState> flag = flagValue(line);
            if (!flag)
                return PresetFileError{fileName, lineNumber,
                                       QStringLiteral("a number was expected")};
            CheckBoxState& target = field == 2   ? preset.dropLow
                                    : field == 3 ? preset.dropHigh
                                                 : preset.rerollOnes;
            target = *flag;
        }
    }
    return table;
}

std::optional<PresetFileError> writePresetFile(const PresetTable& table, const QString& fileName) {
    if (auto reason = unstorable(table))
        return PresetFileError{fileName, 0, *reason};
    // The new file would be renamed over whatever is there: a pipe or a folder in its place
    // is the user's, not ours to replace.
    if (auto reason = notRegularFileReason(fileName))
        return PresetFileError{fileName, 0, *reason};
    QSaveFile file(fileName);
    // Unbuffered: a buffered write only fills the buffer, and commit() would not notice that
    // writing the buffer out failed (a full disk), putting an empty file in the old one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return PresetFileError{fileName, 0, file.errorString()};
    std::optional<QString> reason = writeWhole(file, presetFileBytes(table));
    if (!reason)
        reason = syncToDisk(file);
    if (reason) {
        file.cancelWriting();
        return PresetFileError{fileName, 0, *reason};
    }
    if (!file.commit())
        return PresetFileError{fileName, 0, file.errorString()};
    return std::nullopt;
}

#include "preset_file.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr int linesPerRecord = 6;

// Hands out the file's lines one by one; a line ends at CR LF, LF or CR.
class LineReader {
public:
    explicit LineReader(QFile& file) : file_(file) {}

    std::optional<QString> next() {
        QByteArray line;
        char c = 0;
        bool any = false;
        while (file_.getChar(&c)) {
            any = true;
            if (c == '\n')
                return QString::fromLatin1(line);
            if (c == '\r') {
                char following = 0;
                if (file_.peek(&following, 1) == 1 && following == '\n')
                    file_.getChar(&following);
                return QString::fromLatin1(line);
            }
            line.append(c);
        }
        if (any)
            return QString::fromLatin1(line);
        return std::nullopt;
    }

private:
    QFile& file_;
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
    if (!file.open(QIODevice::ReadOnly))
        return PresetFileError{fileName, 0, file.errorString()};

    LineReader reader(file);
    PresetTable table;
    for (int lineNumber = 1; lineNumber <= presetFileLineCount; ++lineNumber) {
        const std::optional<QString> line = reader.next();
        if (file.error() != QFileDevice::NoError)
            return PresetFileError{fileName, lineNumber, file.errorString()};
        if (!line)
            return PresetFileError{
                fileName, lineNumber,
                QStringLiteral("a line was expected, but the file ends after %1 lines")
                    .arg(lineNumber - 1)};

        Preset& preset = table.at((lineNumber - 1) / linesPerRecord + 1);
        const int field = (lineNumber - 1) % linesPerRecord;
        if (field == 0)
            continue; // the record's header: its content does not matter
        if (field == 1) {
            preset.formula = *line;
        } else if (field == 5) {
            preset.addSubtract = *line;
        } else {
            const std::optional<CheckBoxState> flag = flagValue(*line);
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
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PresetFileError{fileName, 0, file.errorString()};
    const QByteArray bytes = presetFileBytes(table);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return PresetFileError{fileName, 0, reason};
    }
    if (!file.commit())
        return PresetFileError{fileName, 0, file.errorString()};
    return std::nullopt;
}

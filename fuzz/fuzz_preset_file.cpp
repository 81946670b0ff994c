// The presets reader on arbitrary bytes: either a table whose fields stay within the line limit
// or a clean error that names a line within the file's 72; and a table writes and reads back to
// itself.
#include "preset_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    static const QString roundTrip = folder.filePath(QStringLiteral("tumosetup.dat"));

    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const PresetFileRead read = readPresetTable(buffer, presetFileName);

    if (const auto* error = std::get_if<PresetFileError>(&read)) {
        check(error->file == presetFileName);
        check(error->line >= 1 && error->line <= presetFileLineCount);
        check(!error->reason.isEmpty());
        check(error->message().startsWith(presetFileName + QStringLiteral(", line ")));
        return 0;
    }

    const PresetTable& table = std::get<PresetTable>(read);
    for (int n = 1; n <= presetCount; ++n) {
        const Preset& p = table.at(n);
        check(p.dropLow == 0 || p.dropLow == 1);
        check(p.dropHigh == 0 || p.dropHigh == 1);
        check(p.rerollOnes == 0 || p.rerollOnes == 1);
        check(p.formula.size() <= presetLineLimit && p.addSubtract.size() <= presetLineLimit);
    }

    // Saving trims the add/subtract texts; after that, a table reads back to itself.
    check(!writePresetFile(table, roundTrip));
    const PresetFileRead first = readPresetFile(roundTrip);
    check(std::holds_alternative<PresetTable>(first));
    check(!writePresetFile(std::get<PresetTable>(first), roundTrip));
    const PresetFileRead second = readPresetFile(roundTrip);
    check(std::holds_alternative<PresetTable>(second));
    check(std::get<PresetTable>(second) == std::get<PresetTable>(first));
    return 0;
}

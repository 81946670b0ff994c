#include "work_files.h"

#include <QFile>

namespace {

std::optional<FileFailure> failure(const QFile& file) {
    return FileFailure{file.fileName(), file.errorString()};
}

std::optional<FileFailure> writeAll(QFile& file, std::string_view bytes) {
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.flush())
        return failure(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failure(file);
    return std::nullopt;
}

} // namespace

std::optional<FileFailure> ensureFileExists(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadWrite))
        return failure(file);
    return std::nullopt;
}

std::optional<FileFailure> writeWholeFile(const QString& name, std::string_view bytes) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failure(file);
    return writeAll(file, bytes);
}

std::optional<FileFailure> appendToFile(const QString& name, std::string_view bytes) {
    QFile file(name);
    if (name.isEmpty())
        return FileFailure{name, QStringLiteral("No file name was given")};
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return failure(file);
    return writeAll(file, bytes);
}

std::optional<FileFailure> writeWorkFiles(std::string_view record, const PaneTexts& panes) {
    return writeWorkFiles(record, panes.totals, panes.dice);
}

std::optional<FileFailure> writeWorkFiles(std::string_view record, std::string_view totals,
                                          std::string_view dice) {
    auto first = writeWholeFile(recordFileName, record);
    auto totalsFailure = writeWholeFile(totalsFileName, totals);
    auto diceFailure = writeWholeFile(diceFileName, dice);
    if (!first)
        first = totalsFailure ? totalsFailure : diceFailure;
    return first;
}

void deleteWorkFiles() {
    QFile::remove(recordFileName);
    QFile::remove(totalsFileName);
    QFile::remove(diceFileName);
}

#include "work_files.h"

#include "regular_file.h"
#include "whole_write.h"

#include <QFile>
#include <QFileInfo>

std::optional<FileFailure> writeAndClose(QFile& file, const QString& name, std::string_view bytes) {
    if (auto reason = writeWhole(file, QByteArrayView(bytes.data(), qsizetype(bytes.size()))))
        return FileFailure{name, *reason};
    file.close();
    if (file.error() != QFileDevice::NoError)
        return FileFailure{name, file.errorString()};
    return std::nullopt;
}

std::optional<FileFailure> ensureFileExists(const QString& name) {
    // A link in the file's place is left for the roll to replace: opening it would make or
    // open a file wherever it leads. What it leads to is only looked at.
    if (QFileInfo(name).isSymLink()) {
        if (auto reason = notRegularFileReason(name))
            return FileFailure{name, *reason};
        return std::nullopt;
    }
    QFile file(name);
    if (auto reason = openRegularFile(file, QIODevice::ReadWrite))
        return FileFailure{name, *reason};
    return std::nullopt;
}

std::optional<FileFailure> writeWholeFile(const QString& name, std::string_view bytes) {
    QFile file(name);
    // Unbuffered: the bytes go to the system in one write, not copied through a buffer first.
    if (auto reason = openRegularFile(
            file, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered,
            LinkHandling::Replace))
        return FileFailure{name, *reason};
    return writeAndClose(file, name, bytes);
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
    // The program makes only regular files at these names: a pipe, a folder or a link there is
    // the user's, and stays.
    for (const QString& name : {recordFileName, totalsFileName, diceFileName}) {
        const QFileInfo file(name);
        if (file.isFile() && !file.isSymLink())
            QFile::remove(name);
    }
}

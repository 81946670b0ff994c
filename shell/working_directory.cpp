#include "working_directory.h"

#include "preset_file.h"
#include "program_identity.h"
#include "user_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The files delivered with the program that it reads from its working directory: the presets
// and the help text.
const QStringList deliveredFiles = {presetFileName, ProgramIdentity::helpFileName};

} // namespace

QString deliveredDataFolder(const QString& programFolder) {
    const QDir programs(programFolder);
    if (QFileInfo::exists(programs.filePath(ProgramIdentity::buildTreeMark)))
        return {};
    QStringList candidates = {
        QDir::cleanPath(programs.filePath(ProgramIdentity::dataFolderFromPrograms))};
#ifdef Q_OS_UNIX
    if (!ProgramIdentity::dataFolderInDataDirs.isEmpty()) {
        // The base-directory rules: absolute folders only, and these two when none is given.
        QStringList dataDirs;
        for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':')))
            if (QDir::isAbsolutePath(dir))
                dataDirs << dir;
        if (dataDirs.isEmpty())
            dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
        for (const QString& dir : dataDirs)
            candidates << QDir::cleanPath(
                QDir(dir).filePath(ProgramIdentity::dataFolderInDataDirs));
    }
#endif
    for (const QString& folder : candidates)
        if (QFileInfo(QDir(folder).filePath(presetFileName)).isFile())
            return folder;
    return {};
}

QString userWorkingFolder() {
#ifdef Q_OS_UNIX
    // Without HOME, Qt would place the data folder under the root folder.
    if (qEnvironmentVariableIsEmpty("HOME") && qEnvironmentVariableIsEmpty("XDG_DATA_HOME")) {
        const QString home = userHomeFolder();
        return home.isEmpty() ? QString()
                              : QDir(home).filePath(QStringLiteral(".local/share/") +
                                                    ProgramIdentity::folderName);
    }
#endif
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return dataHome.isEmpty() ? QString() : QDir(dataHome).filePath(ProgramIdentity::folderName);
}

std::optional<WorkingFolderFailure> enterWorkingFolder(const QString& folder,
                                                       const QString& deliveredFolder) {
    if (folder.isEmpty())
        return WorkingFolderFailure{folder,
                                    QStringLiteral("no data folder is known for this user")};
    if (!QDir().mkpath(folder))
        return WorkingFolderFailure{folder, QStringLiteral("the folder could not be created")};

    const QDir target(folder);
    const QDir source(deliveredFolder);
    for (const QString& name : deliveredFiles) {
        const QString copy = target.filePath(name);
        // exists() follows links; a dangling link counts as present, so it is left alone too.
        if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink())
            continue;
        const QString original = source.filePath(name);
        // A delivered file that is missing stays missing here; the program says so when it
        // needs the file.
        if (!QFileInfo(original).isFile())
            continue;
        // QFile::copy never replaces an existing file, and writes under a temporary name first.
        QFile file(original);
        if (!file.copy(copy))
            return WorkingFolderFailure{
                folder,
                QStringLiteral("\"%1\" could not be copied: %2").arg(name, file.errorString())};
        // The user edits the copy, whatever the rights of the delivered file.
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    }

    if (!QDir::setCurrent(folder))
        return WorkingFolderFailure{folder,
                                    QStringLiteral("it could not be made the working directory")};
    return std::nullopt;
}

std::optional<WorkingFolderFailure> enterUserWorkingFolder(const QString& programFolder) {
    const QString delivered = deliveredDataFolder(programFolder);
    if (delivered.isEmpty())
        return std::nullopt;
    return enterWorkingFolder(userWorkingFolder(), delivered);
}

#include "mini_roller_start.h"

#include "program_identity.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString miniRollerFileName() {
    return ProgramIdentity::miniFileName;
}

std::optional<StartFailure> startMiniRoller(const QString& folder, const QString& fileName) {
    const QFileInfo beside(QDir(folder).filePath(fileName));
    QProcess process;
    process.setProgram(beside.isFile() ? beside.absoluteFilePath() : fileName);
    if (process.startDetached())
        return std::nullopt;
    QString reason = process.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        reason = QObject::tr("it was found neither in %1 nor on the search path")
                     .arg(QDir::toNativeSeparators(folder));
    return StartFailure{process.program(), reason};
}

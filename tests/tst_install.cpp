// The installed program, as a user gets it: `cmake --install` into a fresh prefix, the layout
// and the desktop files checked (with the desktop validators where they are installed), the
// command line answered without a display, the installed Rollbox started with an empty home
// directory, and the Debian package checked by lintian where it is installed.
#include "patience.h"
#include "program_identity.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

class TstInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void layout_data();
    void layout();
    void deliveredFilesAreTheSources();
    void desktopEntriesNameInstalledFiles_data();
    void desktopEntriesNameInstalledFiles();
    void desktopEntriesValidate();
    void metainfoValidates();
    void commandLineIsAnsweredWithoutDisplay_data();
    void commandLineIsAnsweredWithoutDisplay();

    void firstStartPreparesTheWorkingFolder();
    void laterStartKeepsEditedPresets();

    void packageIsLintianClean();

private:
    QString installed(const QString& relative) const { return prefix_.filePath(relative); }
    QString userFolder() const { return home_.filePath(".local/share/rollbox"); }
    void startInstalledRollbox();
    void stopRollbox();

    QTemporaryDir prefix_;
    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QProcess rollbox_;
};

namespace {

const QString appId = QStringLiteral("io.github.rollbox.Rollbox");
const QString miniAppId = QStringLiteral("io.github.rollbox.MiniTumo");
// The install layout, below the prefix.
const QString bindir = QStringLiteral(INSTALL_BINDIR "/");
const QString datadir = QStringLiteral(INSTALL_DATADIR "/");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(patienceMs))
        return {-1, process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

QString desktopValue(const QString& entry, const QString& key) {
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(fileBytes(entry))).captured(1).trimmed();
}

} // namespace

void TstInstall::initTestCase() {
    QVERIFY(prefix_.isValid() && home_.isValid() && runtime_.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DESTDIR"));
    install.setProcessEnvironment(env);
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix_.path()});
    QVERIFY(install.waitForFinished(patienceMs));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void TstInstall::cleanup() {
    stopRollbox();
}

void TstInstall::layout_data() {
    QTest::addColumn<QString>("path");
    const QStringList paths = {
        bindir + "rollbox",
        bindir + "minitumo",
        datadir + "tumosetup.dat",
        datadir + "tumoinfo.dat",
        "share/applications/" + appId + ".desktop",
        "share/applications/" + miniAppId + ".desktop",
        "share/metainfo/" + appId + ".metainfo.xml",
        "share/icons/hicolor/scalable/apps/" + appId + ".svg",
        "share/man/man6/rollbox.6.gz",
        "share/man/man6/minitumo.6.gz",
        "share/doc/rollbox/README.md",
        "share/doc/rollbox/copyright",
        "share/doc/rollbox/changelog.gz",
    };
    for (const QString& path : paths)
        QTest::addRow("%s", qPrintable(path)) << path;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString icon =
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId);
        QTest::addRow("%s", qPrintable(icon)) << icon;
    }
}

void TstInstall::layout() {
    QFETCH(QString, path);
    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), qPrintable(file.filePath()));
    QVERIFY(file.size() > 0);
    if (path.startsWith(bindir))
        QVERIFY(file.isExecutable());
    const QRegularExpression sized(QStringLiteral("/(\\d+)x\\1/"));
    if (const auto size = sized.match(path); size.hasMatch()) {
        const QByteArray png = fileBytes(file.filePath());
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        // The IHDR chunk holds width and height as big-endian 32-bit numbers.
        const int side = size.captured(1).toInt();
        QCOMPARE(qFromBigEndian<quint32>(png.constData() + 16), quint32(side));
        QCOMPARE(qFromBigEndian<quint32>(png.constData() + 20), quint32(side));
    }
}

void TstInstall::deliveredFilesAreTheSources() {
    for (const char* name : {"tumosetup.dat", "tumoinfo.dat"}) {
        const QByteArray source = fileBytes(QStringLiteral(SOURCE_DIR "/data/") + name);
        QVERIFY(!source.isEmpty());
        QCOMPARE(fileBytes(installed(datadir + name)), source);
    }
}

void TstInstall::desktopEntriesNameInstalledFiles_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("program");
    QTest::addRow("Rollbox") << appId << "rollbox";
    QTest::addRow("mini roller") << miniAppId << "minitumo";
}

void TstInstall::desktopEntriesNameInstalledFiles() {
    QFETCH(QString, entry);
    QFETCH(QString, program);
    const QString file = installed("share/applications/" + entry + ".desktop");
    QCOMPARE(desktopValue(file, "Exec"), program);
    QVERIFY(QFileInfo(installed(bindir + program)).isExecutable());
    const QString icon = desktopValue(file, "Icon");
    QCOMPARE(icon, appId);
    QVERIFY(QFile::exists(installed("share/icons/hicolor/48x48/apps/" + icon + ".png")));
    // The metainfo names the entry as one of its launchers.
    QVERIFY(fileBytes(installed("share/metainfo/" + appId + ".metainfo.xml"))
                .contains(QByteArray(">" + entry.toUtf8() + ".desktop<")));
}

void TstInstall::desktopEntriesValidate() {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
    for (const QString& entry : {appId, miniAppId}) {
        const Run result = run(validator, {installed("share/applications/" + entry + ".desktop")});
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        // Hints and warnings are printed even when the entry passes; there must be none.
        QVERIFY2(result.output.trimmed().isEmpty(), qPrintable(result.output));
    }
}

void TstInstall::metainfoValidates() {
    const QString validator = QStandardPaths::findExecutable("appstreamcli");
    if (validator.isEmpty())
        QSKIP("appstreamcli is not installed (Debian package appstream)");
    const Run result = run(validator, {"validate", "--no-net",
                                       installed("share/metainfo/" + appId + ".metainfo.xml")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
}

void TstInstall::commandLineIsAnsweredWithoutDisplay_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output"); // the start of what is printed
    const QString version = ' ' + ProgramIdentity::version + '\n';
    QTest::addRow("rollbox --version")
        << "rollbox" << QStringList{"--version"} << ProgramIdentity::rollboxName + version;
    QTest::addRow("minitumo -v") << "minitumo" << QStringList{"-v"}
                                 << ProgramIdentity::miniName + version;
    QTest::addRow("rollbox -h") << "rollbox" << QStringList{"-h"} << "Usage: rollbox [--help";
    QTest::addRow("minitumo --help")
        << "minitumo" << QStringList{"--help"} << "Usage: minitumo [--help";
    QTest::addRow("first answer wins") << "rollbox" << QStringList{"extra", "-v", "--help"}
                                       << ProgramIdentity::rollboxName + version;
}

void TstInstall::commandLineIsAnsweredWithoutDisplay() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    // With no display to open, a program that made its window first would fail instead.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    const Run result = run(installed(bindir + program), arguments, env);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.output.startsWith(output), qPrintable(result.output));
    if (output.startsWith("Usage"))
        QVERIFY(result.output.contains(program + "(6)"));
    else
        QCOMPARE(result.output, output); // the version line alone
}

// The installed Rollbox with an empty home directory, XDG_DATA_HOME unset, started from the
// home directory as a user would from a shell.
void TstInstall::startInstalledRollbox() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home_.path());
    env.remove("XDG_DATA_HOME");
    env.insert("XDG_RUNTIME_DIR", runtime_.path()); // a Rollbox the user runs does not count
    env.insert("QT_QPA_PLATFORM", "offscreen");
    rollbox_.setProcessEnvironment(env);
    rollbox_.setWorkingDirectory(home_.path());
    rollbox_.start(installed(bindir + "rollbox"), {});
    QVERIFY2(rollbox_.waitForStarted(patienceMs), qPrintable(rollbox_.errorString()));
}

void TstInstall::stopRollbox() {
    if (rollbox_.state() == QProcess::NotRunning)
        return;
    rollbox_.kill();
    rollbox_.waitForFinished();
}

void TstInstall::firstStartPreparesTheWorkingFolder() {
    QVERIFY(QDir(home_.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    startInstalledRollbox();
    // The record file appears in the working directory once the window has loaded.
    const QString record = QDir(userFolder()).filePath("temp.txt");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record) || rollbox_.state() == QProcess::NotRunning,
                             patienceMs);
    QVERIFY2(rollbox_.state() == QProcess::Running, rollbox_.readAll().constData());
    QVERIFY(QFile::exists(record));

    for (const char* name : {"tumosetup.dat", "tumoinfo.dat"})
        QCOMPARE(fileBytes(QDir(userFolder()).filePath(name)),
                 fileBytes(installed(datadir + name)));
    // Nothing is written to the directory it was started in.
    QVERIFY(!QFile::exists(QDir(home_.path()).filePath("temp.txt")));
    QVERIFY(!QFile::exists(QDir(home_.path()).filePath("tumosetup.dat")));
}

void TstInstall::laterStartKeepsEditedPresets() {
    // The folder as the first start left it; the user edits a preset and the help text is lost.
    const QDir folder(userFolder());
    const QByteArray delivered = fileBytes(installed(datadir + "tumosetup.dat"));
    QVERIFY(delivered.size() > 10);
    QVERIFY(QFile::exists(folder.filePath("tumosetup.dat")));
    QByteArray edited = delivered;
    const qsizetype formula = edited.indexOf("\r\n") + 2; // first preset's formula line
    edited.insert(formula, "1");
    {
        QFile file(folder.filePath("tumosetup.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(edited), edited.size());
    }
    QVERIFY(QFile::remove(folder.filePath("tumoinfo.dat")));
    QVERIFY(QFile::remove(folder.filePath("temp.txt")));

    startInstalledRollbox();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("temp.txt")) ||
                                 rollbox_.state() == QProcess::NotRunning,
                             patienceMs);
    QVERIFY2(rollbox_.state() == QProcess::Running, rollbox_.readAll().constData());

    QCOMPARE(fileBytes(folder.filePath("tumosetup.dat")), edited);
    QCOMPARE(fileBytes(folder.filePath("tumoinfo.dat")),
             fileBytes(installed(datadir + "tumoinfo.dat")));
}

void TstInstall::packageIsLintianClean() {
    const QString lintian = QStandardPaths::findExecutable("lintian");
    if (lintian.isEmpty())
        QSKIP("lintian is not installed (Debian package lintian)");
    if (QStandardPaths::findExecutable("dpkg-shlibdeps").isEmpty())
        QSKIP("dpkg-shlibdeps, which the package's dependencies need, is not installed "
              "(Debian package dpkg-dev)");
    const QTemporaryDir packageDir;
    QVERIFY(packageDir.isValid());
    const Run cpack =
        run(QStringLiteral(CPACK_COMMAND), {"-G", "DEB", "-B", packageDir.path(), "--config",
                                            QStringLiteral(BUILD_DIR "/CPackConfig.cmake")});
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
    const QStringList packages = QDir(packageDir.path()).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(packages.size(), 1);

    QProcess check;
    check.start(lintian, {QDir(packageDir.path()).filePath(packages.first())});
    QVERIFY(check.waitForFinished(patienceMs));
    const QString report = QString::fromLocal8Bit(check.readAllStandardOutput());
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0,
             qPrintable(report + check.readAllStandardError()));
    // Errors fail lintian's run; warnings are only listed.
    QVERIFY2(!QRegularExpression("^[EW]: ", QRegularExpression::MultilineOption)
                  .match(report)
                  .hasMatch(),
             qPrintable(report));
}

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"

// The installed program's working folder: finding the delivered data of an installed program,
// preparing the user's folder once and never overwriting what the user keeps there.
#include "working_directory.h"

#include "file_bytes.h"
#include "program_identity.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

class TstWorkingDirectory : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void installedLayoutIsRecognised_data();
    void installedLayoutIsRecognised();
    void userFolderFollowsXdgDataHome();
    void firstStartCopiesTheDeliveredFiles();
    void keptFilesAreNeverOverwritten();
    void copiesCanBeEditedWhateverTheDeliveredRights();
    void missingDeliveredHelpIsNoFailure();
    void unusableFolderIsReportedAndTheDirectoryStays();
    void buildTreeKeepsItsWorkingDirectory();

private:
    // A prefix with bin/ and, filled by installData, the data folder of the install layout.
    // $XDG_DATA_DIRS names a relative folder, then xdg-empty/ and xdg/ in the prefix.
    std::unique_ptr<QTemporaryDir> prefix_;
    std::unique_ptr<TemporaryWorkDir> startDir_;
    QByteArray savedDataDirs_;
    QString bin() const { return prefix_->filePath("bin"); }
    QString share() const {
        return QDir::cleanPath(bin() + '/' + ProgramIdentity::dataFolderFromPrograms);
    }
    QString dataDirsShare() const {
        return prefix_->filePath("xdg/" + ProgramIdentity::dataFolderInDataDirs);
    }
    void installData(const QByteArray& presets, const QByteArray& help) {
        installData(share(), presets, help);
    }
    void installData(const QString& folder, const QByteArray& presets, const QByteArray& help);
};

namespace {

const QByteArray installedPresets = "F 1\r\n4d6\r\n 1 \r\n 0 \r\n 0 \r\n\r\n";
const QByteArray installedHelp = "Help\r\nsecond line\r\n";

QString currentFolder() {
    return QDir::current().canonicalPath();
}

} // namespace

void TstWorkingDirectory::init() {
    startDir_ = std::make_unique<TemporaryWorkDir>(TemporaryWorkDir::Empty);
    prefix_ = std::make_unique<QTemporaryDir>();
    QVERIFY(prefix_->isValid());
    QVERIFY(QDir().mkpath(bin()));
    // Whatever Rollbox is installed on this computer stays out of the tests.
    savedDataDirs_ = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName("relative:" + prefix_->filePath("xdg-empty") + ':' +
                                               prefix_->filePath("xdg")));
}

void TstWorkingDirectory::cleanup() {
    qputenv("XDG_DATA_DIRS", savedDataDirs_);
    startDir_.reset(); // back to where the test started, before the folders go
    prefix_.reset();
}

void TstWorkingDirectory::installData(const QString& folder, const QByteArray& presets,
                                      const QByteArray& help) {
    QVERIFY(QDir().mkpath(folder));
    if (!presets.isNull())
        QVERIFY(writeBytes(QDir(folder).filePath("tumosetup.dat"), presets));
    if (!help.isNull())
        QVERIFY(writeBytes(QDir(folder).filePath("tumoinfo.dat"), help));
}

void TstWorkingDirectory::installedLayoutIsRecognised_data() {
    // Where the data files lie: beside the programs as the install layout has them, in a
    // folder of $XDG_DATA_DIRS, in its relative entry, or nowhere.
    QTest::addColumn<QStringList>("places");
    QTest::addColumn<bool>("withPresets");
    QTest::addColumn<bool>("withHelp");
    QTest::addColumn<bool>("buildTree");
    QTest::addColumn<QString>("found");
    const QStringList beside = {"beside"};
    QTest::addRow("both files") << beside << true << true << false << "beside";
    QTest::addRow("presets only") << beside << true << false << false << "beside";
    QTest::addRow("help only") << beside << false << true << false << "";
    QTest::addRow("no data folder") << QStringList() << false << false << false << "";
#ifdef Q_OS_UNIX // $XDG_DATA_DIRS is where Unix desktops keep data; Windows has none.
    const QStringList dataDirs = {"data dirs"};
    QTest::addRow("data dirs") << dataDirs << true << true << false << "data dirs";
    QTest::addRow("data dirs, help only") << dataDirs << false << true << false << "";
    QTest::addRow("beside comes first")
        << QStringList{"data dirs", "beside"} << true << true << false << "beside";
#endif
    QTest::addRow("relative data dir") << QStringList{"relative"} << true << true << false << "";
    QTest::addRow("build tree") << QStringList{"beside", "data dirs"} << true << true << true << "";
}

void TstWorkingDirectory::installedLayoutIsRecognised() {
    QFETCH(QStringList, places);
    QFETCH(bool, withPresets);
    QFETCH(bool, withHelp);
    QFETCH(bool, buildTree);
    QFETCH(QString, found);
    if (ProgramIdentity::dataFolderInDataDirs.isEmpty() && !places.contains("beside"))
        QSKIP("This install layout puts the data outside the data root");
    const QMap<QString, QString> folders = {
        {"beside", share()},
        {"data dirs", dataDirsShare()},
        {"relative", startDir_->filePath("relative/" + ProgramIdentity::dataFolderInDataDirs)}};
    for (const QString& place : places)
        installData(folders[place], withPresets ? installedPresets : QByteArray(),
                    withHelp ? installedHelp : QByteArray());
    if (buildTree)
        QVERIFY(writeBytes(QDir(bin()).filePath(ProgramIdentity::buildTreeMark), "built here"));

    const QString folder = deliveredDataFolder(bin());
    if (found.isEmpty())
        QCOMPARE(folder, QString());
    else
        QCOMPARE(QDir(folder).canonicalPath(), QDir(folders[found]).canonicalPath());
}

void TstWorkingDirectory::userFolderFollowsXdgDataHome() {
#ifndef Q_OS_UNIX
    QSKIP("XDG folders are a Unix convention");
#else
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    const bool hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QString home = prefix_->filePath("home");
    QVERIFY(QDir().mkpath(home));
    qputenv("HOME", home.toLocal8Bit());

    qunsetenv("XDG_DATA_HOME");
    const QString byHome = userWorkingFolder();
    qputenv("XDG_DATA_HOME", prefix_->filePath("data").toLocal8Bit());
    const QString byDataHome = userWorkingFolder();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("HOME");
    const QString byUserDatabase = userWorkingFolder();

    qputenv("HOME", savedHome);
    if (hadDataHome)
        qputenv("XDG_DATA_HOME", savedDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
    QCOMPARE(byHome, home + "/.local/share/rollbox");
    QCOMPARE(byDataHome, prefix_->filePath("data/rollbox"));
    const passwd* user = getpwuid(geteuid());
    QVERIFY(user && user->pw_dir);
    QCOMPARE(byUserDatabase,
             QDir(QFile::decodeName(user->pw_dir)).filePath(".local/share/rollbox"));
#endif
}

void TstWorkingDirectory::firstStartCopiesTheDeliveredFiles() {
    installData(installedPresets, installedHelp);
    const QString folder = prefix_->filePath("home/.local/share/rollbox");

    const auto failure = enterWorkingFolder(folder, share());
    QVERIFY2(!failure, failure ? qPrintable(failure->reason) : "");
    QCOMPARE(currentFolder(), QDir(folder).canonicalPath());
    QCOMPARE(fileBytes("tumosetup.dat"), installedPresets);
    QCOMPARE(fileBytes("tumoinfo.dat"), installedHelp);
    // Nothing else is put there: the work files are the program's to create.
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
}

void TstWorkingDirectory::keptFilesAreNeverOverwritten() {
    installData(installedPresets, installedHelp);
    const QString folder = prefix_->filePath("user");
    QVERIFY(QDir().mkpath(folder));
    const QByteArray edited = "F 1\r\n9d9\r\n 0 \r\n 1 \r\n 0 \r\n-3\r\n";
    QVERIFY(writeBytes(QDir(folder).filePath("tumosetup.dat"), edited));
    QVERIFY(writeBytes(QDir(folder).filePath("temp.txt"), "last roll"));

    QVERIFY(!enterWorkingFolder(folder, share()));
    QCOMPARE(fileBytes("tumosetup.dat"), edited);
    // The missing help text is delivered again; what else the user has stays as it is.
    QCOMPARE(fileBytes("tumoinfo.dat"), installedHelp);
    QCOMPARE(fileBytes("temp.txt"), QByteArray("last roll"));

    // And so on every later start.
    QVERIFY(!enterWorkingFolder(folder, share()));
    QCOMPARE(fileBytes("tumosetup.dat"), edited);
}

void TstWorkingDirectory::copiesCanBeEditedWhateverTheDeliveredRights() {
    installData(installedPresets, installedHelp);
    for (const char* name : {"tumosetup.dat", "tumoinfo.dat"})
        QVERIFY(QFile::setPermissions(QDir(share()).filePath(name),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString folder = prefix_->filePath("user");

    QVERIFY(!enterWorkingFolder(folder, share()));
    QVERIFY(QFile::permissions("tumosetup.dat") & QFile::WriteOwner);
    QFile presets("tumosetup.dat");
    QVERIFY2(presets.open(QIODevice::WriteOnly | QIODevice::Append),
             qPrintable(presets.errorString()));
}

void TstWorkingDirectory::missingDeliveredHelpIsNoFailure() {
    installData(installedPresets, QByteArray());
    const QString folder = prefix_->filePath("user");

    QVERIFY(!enterWorkingFolder(folder, share()));
    QCOMPARE(fileBytes("tumosetup.dat"), installedPresets);
    QVERIFY(!QFile::exists("tumoinfo.dat"));
}

void TstWorkingDirectory::unusableFolderIsReportedAndTheDirectoryStays() {
    installData(installedPresets, installedHelp);
    // A plain file where the folder should be.
    const QString blocker = prefix_->filePath("blocker");
    QVERIFY(writeBytes(blocker, "not a folder"));
    const QString before = currentFolder();

    const auto failure = enterWorkingFolder(blocker + "/rollbox", share());
    QVERIFY(failure);
    QCOMPARE(failure->folder, blocker + "/rollbox");
    QVERIFY(!failure->reason.isEmpty());
    QCOMPARE(currentFolder(), before);

    const auto noFolder = enterWorkingFolder(QString(), share());
    QVERIFY(noFolder);
    QCOMPARE(currentFolder(), before);
}

void TstWorkingDirectory::buildTreeKeepsItsWorkingDirectory() {
    // Programs beside the build tree's mark stay where they are started, even where the data
    // of an installed copy can be found.
    QVERIFY(writeBytes(QDir(bin()).filePath(ProgramIdentity::buildTreeMark), "built here"));
    installData(dataDirsShare(), installedPresets, installedHelp);
    const QString before = currentFolder();
    QVERIFY(!enterUserWorkingFolder(bin()));
    QCOMPARE(currentFolder(), before);
    QVERIFY(QDir(before).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TstWorkingDirectory)
#include "tst_working_directory.moc"

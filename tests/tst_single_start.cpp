// One instance at a time: a second Rollbox started while one runs ends at once, quietly, and
// leaves the first one running. The lock lies in a folder only the user may write, and a lock
// that cannot be checked is said, not obeyed silently.
#include "single_instance.h"

#include "file_bytes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TstSingleStart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void secondStartEndsAtOnce();
    void lockLiesInAFolderOfTheUsersOwn_data();
    void lockLiesInAFolderOfTheUsersOwn();
    void lockThatCannotBeCheckedIsTakenOverOnceStale_data();
    void lockThatCannotBeCheckedIsTakenOverOnceStale();

private:
    // The environment that decides the lock's folder, set for each test and put back after.
    const QList<QByteArray> variables_{"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"};
    QList<std::optional<QByteArray>> saved_;
    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<QTemporaryDir> home_;
};

namespace {

QProcessEnvironment programEnvironment(const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A runtime folder of the test's own, so that a Rollbox the user runs does not count.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    return env;
}

constexpr QFile::Permissions othersMay = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
constexpr QFile::Permissions openToAll =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | othersMay;

} // namespace

void TstSingleStart::init() {
    saved_.clear();
    for (const QByteArray& name : variables_)
        saved_.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                      : std::nullopt);
    runtime_ = std::make_unique<QTemporaryDir>();
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(runtime_->isValid() && home_->isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_->path()));
    qputenv("HOME", QFile::encodeName(home_->path()));
    qunsetenv("XDG_CACHE_HOME");
}

void TstSingleStart::cleanup() {
    for (qsizetype i = 0; i < variables_.size(); ++i) {
        if (saved_[i])
            qputenv(variables_[i], *saved_[i]);
        else
            qunsetenv(variables_[i]);
    }
}

void TstSingleStart::secondStartEndsAtOnce() {
    QTemporaryDir firstDir;
    QTemporaryDir secondDir;
    QVERIFY(firstDir.isValid() && secondDir.isValid());

    QVERIFY(QFile::copy(QStringLiteral(DELIVERED_PRESETS),
                        QDir(firstDir.path()).filePath(QStringLiteral("tumosetup.dat"))));
    QProcess first;
    first.setProcessEnvironment(programEnvironment(runtime_->path()));
    first.setWorkingDirectory(firstDir.path());
    first.start(QStringLiteral(ROLLBOX_PROGRAM), {});
    QVERIFY2(first.waitForStarted(), qPrintable(first.errorString()));
    // The record file appears once the first has passed its instance test and loaded.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")), 30000);

    QProcess second;
    second.setProcessEnvironment(programEnvironment(runtime_->path()));
    second.setWorkingDirectory(secondDir.path());
    second.start(QStringLiteral(ROLLBOX_PROGRAM), {});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It touched no file, and did not even miss its presets file.
    QVERIFY(QDir(secondDir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());

    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")));
    first.kill();
    first.waitForFinished();
}

void TstSingleStart::lockLiesInAFolderOfTheUsersOwn_data() {
    QTest::addColumn<QString>("runtime");      // "private", "open" to others, or "unset"
    QTest::addColumn<bool>("openCacheFolder"); // the fallback folder exists, open to all
    QTest::addRow("private runtime folder") << "private" << false;
    QTest::addRow("runtime folder open to others") << "open" << false;
    QTest::addRow("no runtime folder") << "unset" << false;
    QTest::addRow("cache folder open to others") << "unset" << true;
}

void TstSingleStart::lockLiesInAFolderOfTheUsersOwn() {
    QFETCH(QString, runtime);
    QFETCH(bool, openCacheFolder);
    const QString cache = QDir(home_->path()).filePath(QStringLiteral(".cache/rollbox"));
    if (runtime == "open")
        QVERIFY(QFile::setPermissions(runtime_->path(), openToAll));
    if (runtime == "unset")
        qunsetenv("XDG_RUNTIME_DIR");
    if (openCacheFolder) {
        QVERIFY(QDir().mkpath(cache));
        QVERIFY(QFile::setPermissions(cache, openToAll));
    }

    const SingleInstance instance(QStringLiteral("rollbox"));
    QVERIFY2(instance.failure().isEmpty(), qPrintable(instance.failure()));
    QVERIFY(!instance.anotherIsRunning());
    const QString lock = SingleInstance::lockFilePath(QStringLiteral("rollbox"));
    QVERIFY(QFile::exists(lock));
    const QString folder = runtime == "private" ? runtime_->path() : cache;
    QCOMPARE(QFileInfo(lock).path(), folder);
    QCOMPARE(QFileInfo(folder).permissions() & othersMay, QFile::Permissions());
}

void TstSingleStart::lockThatCannotBeCheckedIsTakenOverOnceStale_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("takenOver");
    const QByteArray elsewhere = "4242\nrollbox\nanother-computer.example\n";
    const int stale = static_cast<int>(SingleInstance::foreignLockStaleTime.count());
    QTest::addRow("another computer, stale") << elsewhere << stale + 30 << true;
    QTest::addRow("another computer, recent") << elsewhere << 5 << false;
    QTest::addRow("unreadable, stale") << QByteArray() << stale + 30 << true;
    QTest::addRow("unreadable, recent") << QByteArray() << 5 << false;
}

void TstSingleStart::lockThatCannotBeCheckedIsTakenOverOnceStale() {
    QFETCH(QByteArray, content);
    QFETCH(int, ageSeconds);
    QFETCH(bool, takenOver);
    const QString lock = SingleInstance::lockFilePath(QStringLiteral("rollbox"));
    {
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }

    const SingleInstance instance(QStringLiteral("rollbox"));
    QVERIFY(!instance.anotherIsRunning());
    if (takenOver) {
        QVERIFY2(instance.failure().isEmpty(), qPrintable(instance.failure()));
        // The lock is this process's now.
        QVERIFY(fileBytes(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid())));
    } else {
        QVERIFY2(instance.failure().contains(lock), qPrintable(instance.failure()));
    }
}

QTEST_GUILESS_MAIN(TstSingleStart)
#include "tst_single_start.moc"

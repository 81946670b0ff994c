// Process level: the real programs, started as a user would. One instance at a time: a second
// start ends at once, quietly, after asking the running copy to come forward. The lock lies in a
// folder only the user may write, and a lock that cannot be checked is said, not obeyed
// silently. The signals of logout, kill and shut-down end a program as Exit does.
#include "second_launch.h"
#include "single_instance.h"

#include "file_bytes.h"
#include "patience.h"
#include "special_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <limits>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(SpecialFile)

class TstSingleStart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void secondStartEndsAtOnce();
    void secondStartAsksTheRunningCopyToShow_data();
    void secondStartAsksTheRunningCopyToShow();
    void secondLaunchChannelOutlastsSilentConnections();
    void signalsEndTheProgramAsExitDoes_data();
    void signalsEndTheProgramAsExitDoes();
    void lockLiesInAFolderOfTheUsersOwn_data();
    void lockLiesInAFolderOfTheUsersOwn();
    void lockThatCannotBeCheckedIsTakenOverOnceStale_data();
    void lockThatCannotBeCheckedIsTakenOverOnceStale();
    void lockThatIsNoFileIsSaid_data();
    void lockThatIsNoFileIsSaid();

private:
    // The environment that decides the lock's folder, set for each test and put back after. The
    // programs started here and this test's own lock and socket all live in these folders.
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

void start(QProcess& process, const QString& program, const QString& folder,
           const QString& runtimeDir, const QString& activationToken = {}) {
    QProcessEnvironment env = programEnvironment(runtimeDir);
    if (activationToken.isEmpty())
        env.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    else
        env.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), activationToken);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, {});
    QVERIFY2(process.waitForStarted(patienceMs), qPrintable(process.errorString()));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
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
#ifdef Q_OS_WIN
    // There the lock's folder is not the test's own: what a test left at the lock goes.
    const QString lock = SingleInstance::lockFilePath(QStringLiteral("rollbox"));
    QDir(lock).removeRecursively();
    QFile::remove(lock);
#endif
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
    start(first, QStringLiteral(ROLLBOX_PROGRAM), firstDir.path(), runtime_->path());
    // The record file appears once the first has passed its instance test and loaded.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")), patienceMs);

    QProcess second;
    start(second, QStringLiteral(ROLLBOX_PROGRAM), secondDir.path(), runtime_->path());
    QVERIFY(second.waitForFinished(patienceMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It touched no file, and did not even miss its presets file.
    QVERIFY(filesIn(secondDir.path()).isEmpty());

    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")));
    first.kill();
    first.waitForFinished();
}

void TstSingleStart::secondStartAsksTheRunningCopyToShow_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("deepRuntime"); // a runtime folder too deep for a socket beside the lock
    // The launcher's activation token of the later start, which the running copy needs to come
    // forward on Wayland.
    QTest::addColumn<QString>("token");
    const QString rollbox = QStringLiteral(ROLLBOX_PROGRAM);
    const QString minitumo = QStringLiteral(MINITUMO_PROGRAM);
    QTest::addRow("Rollbox") << rollbox << QStringLiteral("rollbox") << false << QString();
    QTest::addRow("MiniTumo") << minitumo << QStringLiteral("minitumo") << false << QString();
    QTest::addRow("Rollbox, deep runtime folder")
        << rollbox << QStringLiteral("rollbox") << true << QString();
    QTest::addRow("Rollbox, activation token") << rollbox << QStringLiteral("rollbox") << false
                                               << QStringLiteral("launcher/1234_TIME5678");
    QTest::addRow("MiniTumo, activation token")
        << minitumo << QStringLiteral("minitumo") << false << QStringLiteral("0f9c2a4e-token");
}

// This test stands in for the running copy: it holds the lock and listens.
void TstSingleStart::secondStartAsksTheRunningCopyToShow() {
    QFETCH(QString, program);
    QFETCH(QString, name);
    QFETCH(bool, deepRuntime);
    QString runtime = runtime_->path();
    if (deepRuntime) {
        runtime = QDir(runtime).filePath(QString(120, QLatin1Char('r')));
        QVERIFY(QDir().mkdir(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    QFETCH(QString, token);
    const SingleInstance running(name);
    QVERIFY(!running.anotherIsRunning());
    const SecondLaunchListener listener(name);
    QVERIFY(listener.isListening());
    QSignalSpy asked(&listener, &SecondLaunchListener::showRequested);
    QTemporaryDir secondDir;

    QProcess second;
    start(second, program, secondDir.path(), runtime, token);
    QTRY_COMPARE_WITH_TIMEOUT(asked.count(), 1, patienceMs);
    QCOMPARE(asked.at(0).at(0).toString(), token);
    // It may have ended while the test waited for its request.
    QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(patienceMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(filesIn(secondDir.path()).isEmpty());
}

// Silent connections are dropped and only a few are held, so that they cannot use up the
// handles the program's files need; and when accepting fails all the same, listening resumes.
void TstSingleStart::secondLaunchChannelOutlastsSilentConnections() {
#ifndef Q_OS_UNIX
    QSKIP("Handle limits and the socket's accept are Unix matters.");
#else
    const QString name = QStringLiteral("rollbox");
    const SingleInstance running(name);
    SecondLaunchListener listener(name);
    QVERIFY(listener.isListening());
    QSignalSpy asked(&listener, &SecondLaunchListener::showRequested);

    // Few handles, as under "ulimit -n 128": more silent connections than that are made.
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
    rlimit few = saved;
    few.rlim_cur = 128;
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &few) == 0);
    const auto restoreLimit = qScopeGuard([&] { ::setrlimit(RLIMIT_NOFILE, &saved); });

    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 80; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(secondLaunchSocketName(name));
        QVERIFY(silent.back()->waitForConnected(patienceMs));
        QCoreApplication::processEvents();
        QVERIFY(listener.connectionsHeld() <= SecondLaunchListener::mostConnectionsHeld);
    }
    QVERIFY(listener.isListening());
    silent.clear();
    // None of them asked; they are let go, and nothing is held.
    QTRY_COMPARE_WITH_TIMEOUT(listener.connectionsHeld(), 0, patienceMs);

    // Out of handles the moment a connection comes: accepting it fails.
    std::vector<int> spare;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        spare.push_back(fd);
    ::close(spare.back());
    spare.pop_back();
    QLocalSocket last;
    last.connectToServer(secondLaunchSocketName(name));
    QTRY_VERIFY_WITH_TIMEOUT(!listener.isListening(), patienceMs);
    for (const int fd : spare)
        ::close(fd);

    QTRY_VERIFY_WITH_TIMEOUT(listener.isListening(), patienceMs);
    QVERIFY(askRunningCopyToShow(name));
    QTRY_COMPARE_WITH_TIMEOUT(asked.count(), 1, patienceMs);
#endif
}

void TstSingleStart::signalsEndTheProgramAsExitDoes_data() {
#ifndef Q_OS_UNIX
    QSKIP("Signals are a Unix matter.");
#else
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("signal");
    const QString rollbox = QStringLiteral(ROLLBOX_PROGRAM);
    QTest::addRow("Rollbox, SIGTERM") << rollbox << "rollbox" << int(SIGTERM);
    QTest::addRow("Rollbox, SIGINT") << rollbox << "rollbox" << int(SIGINT);
    QTest::addRow("Rollbox, SIGHUP") << rollbox << "rollbox" << int(SIGHUP);
    QTest::addRow("MiniTumo, SIGTERM")
        << QStringLiteral(MINITUMO_PROGRAM) << "minitumo" << int(SIGTERM);
#endif
}

void TstSingleStart::signalsEndTheProgramAsExitDoes() {
#ifdef Q_OS_UNIX
    QFETCH(QString, program);
    QFETCH(QString, name);
    QFETCH(int, signal);
    const bool rollbox = name == QStringLiteral("rollbox");
    QTemporaryDir dir;
    if (rollbox) {
        QVERIFY(QFile::copy(QStringLiteral(DELIVERED_PRESETS),
                            QDir(dir.path()).filePath(QStringLiteral("tumosetup.dat"))));
        // The pane texts of an earlier roll, which the shut-down deletes with the record file.
        for (const char* file : {"tempt.txt", "tempd.txt"}) {
            QFile f(QDir(dir.path()).filePath(QString::fromLatin1(file)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    // An earlier copy that ended properly took its socket with it.
    QVERIFY(!QFile::exists(secondLaunchSocketName(name)));

    QProcess process;
    start(process, program, dir.path(), runtime_->path());
    // The program listens for later starts once its window is up and it handles signals.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(secondLaunchSocketName(name)), patienceMs);
    ::kill(pid_t(process.processId()), signal);

    QVERIFY(process.waitForFinished(patienceMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    if (rollbox)
        QCOMPARE(filesIn(dir.path()), QStringList{"tumosetup.dat"});
#endif
}

void TstSingleStart::lockLiesInAFolderOfTheUsersOwn_data() {
#ifdef Q_OS_WIN
    QSKIP("On Windows the lock lies in the local application-data folder, whatever the "
          "environment says.");
#endif
    QTest::addColumn<QString>("runtime");      // "private", "open" to others, "relative" or "unset"
    QTest::addColumn<bool>("openCacheFolder"); // the fallback folder exists, open to all
    QTest::addRow("private runtime folder") << "private" << false;
    QTest::addRow("runtime folder open to others") << "open" << false;
    QTest::addRow("no runtime folder") << "unset" << false;
    QTest::addRow("relative runtime folder") << "relative" << false;
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
    if (runtime == "relative") // a private folder, but named relative to the working folder
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QDir().relativeFilePath(runtime_->path())));
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
    QTest::addColumn<QString>("advice"); // what the message tells the user to do
    const QByteArray elsewhere = "4242\nrollbox\nanother-computer.example\n";
    const int stale = static_cast<int>(SingleInstance::foreignLockStaleTime.count());
    const QString wait = QStringLiteral("start again in a minute");
    QTest::addRow("another computer, stale") << elsewhere << stale + 30 << true << QString();
    QTest::addRow("another computer, recent") << elsewhere << 5 << false << wait;
    QTest::addRow("another computer, from the future")
        << elsewhere << -(stale + 240) << false
        << QStringLiteral("s ahead of this computer's clock");
    QTest::addRow("unreadable, stale") << QByteArray() << stale + 30 << true << QString();
    QTest::addRow("unreadable, recent") << QByteArray() << 5 << false << wait;
}

void TstSingleStart::lockThatCannotBeCheckedIsTakenOverOnceStale() {
    QFETCH(QByteArray, content);
    QFETCH(int, ageSeconds);
    QFETCH(bool, takenOver);
    QFETCH(QString, advice);
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
        QVERIFY2(instance.failure().contains(QDir::toNativeSeparators(lock)) &&
                     instance.failure().contains(advice),
                 qPrintable(instance.failure()));
    }
}

void TstSingleStart::lockThatIsNoFileIsSaid_data() {
    QTest::addColumn<QString>("suffix"); // "": at the lock; ".rmlock": beside a stale lock
    QTest::addColumn<SpecialFile>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addRow("pipe") << QString() << SpecialFile::Pipe << "it is a pipe, not a file";
    QTest::addRow("pipe beside a stale lock")
        << QStringLiteral(".rmlock") << SpecialFile::Pipe << "it is a pipe, not a file";
    QTest::addRow("folder") << QString() << SpecialFile::Folder << "it is a folder, not a file";
    QTest::addRow("dangling link") << QString() << SpecialFile::DanglingLink << "does not exist";
}

void TstSingleStart::lockThatIsNoFileIsSaid() {
    QFETCH(QString, suffix);
    QFETCH(SpecialFile, kind);
    QFETCH(QString, reason);
    const QString lock = SingleInstance::lockFilePath(QStringLiteral("rollbox"));
    if (!specialFileMadeHere(kind))
        QSKIP("This kind of file is not made on this system.");
    QVERIFY(makeSpecialFile(lock + suffix, kind));
    if (!suffix.isEmpty()) {
        // Left by a copy on this computer that is gone: taking it over uses the file beside it.
        const QByteArray gone =
            QByteArray::number(std::numeric_limits<int>::max()) + "\nrollbox\n\n";
        QVERIFY(writeBytes(lock, gone));
    }

    QString failure;
    {
        const Watchdog watchdog(patience);
        const SingleInstance instance(QStringLiteral("rollbox"));
        QVERIFY(!instance.anotherIsRunning());
        failure = instance.failure();
    }
    QVERIFY2(failure.contains(QDir::toNativeSeparators(lock + suffix) + QStringLiteral("\"")) &&
                 failure.contains(reason),
             qPrintable(failure));
}

QTEST_GUILESS_MAIN(TstSingleStart)
#include "tst_single_start.moc"

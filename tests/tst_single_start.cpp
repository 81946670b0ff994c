// Process level: the real programs, started as a user would. A second start ends at once,
// quietly, after asking the running copy to come forward; the signals of logout, kill and
// shut-down end a program as Exit does.
#include "second_launch.h"
#include "single_instance.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TstSingleStart : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void secondStartEndsAtOnce();
    void secondStartAsksTheRunningCopyToShow_data();
    void secondStartAsksTheRunningCopyToShow();
    void signalsEndTheProgramAsExitDoes_data();
    void signalsEndTheProgramAsExitDoes();

private:
    // A runtime folder of the test's own, so that a Rollbox the user runs does not count; the
    // programs started here and this test's own lock and socket all live in it.
    QTemporaryDir runtime_;
};

namespace {

QProcessEnvironment programEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

void start(QProcess& process, const QString& program, const QString& folder) {
    process.setProcessEnvironment(programEnvironment());
    process.setWorkingDirectory(folder);
    process.start(program, {});
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
}

} // namespace

void TstSingleStart::initTestCase() {
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
}

void TstSingleStart::secondStartEndsAtOnce() {
    QTemporaryDir firstDir;
    QTemporaryDir secondDir;
    QVERIFY(firstDir.isValid() && secondDir.isValid());

    QVERIFY(QFile::copy(QStringLiteral(DELIVERED_PRESETS),
                        QDir(firstDir.path()).filePath(QStringLiteral("tumosetup.dat"))));
    QProcess first;
    start(first, QStringLiteral(ROLLBOX_PROGRAM), firstDir.path());
    // The record file appears once the first has passed its instance test and loaded.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")), 30000);

    QProcess second;
    start(second, QStringLiteral(ROLLBOX_PROGRAM), secondDir.path());
    QVERIFY(second.waitForFinished(30000));
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
    QTest::addRow("Rollbox") << QStringLiteral(ROLLBOX_PROGRAM) << QStringLiteral("rollbox");
    QTest::addRow("MiniTumo") << QStringLiteral(MINITUMO_PROGRAM) << QStringLiteral("minitumo");
}

// This test stands in for the running copy: it holds the lock and listens.
void TstSingleStart::secondStartAsksTheRunningCopyToShow() {
    QFETCH(QString, program);
    QFETCH(QString, name);
    const SingleInstance running(name);
    QVERIFY(!running.anotherIsRunning());
    const SecondLaunchListener listener(name);
    QVERIFY(listener.isListening());
    QSignalSpy asked(&listener, &SecondLaunchListener::showRequested);
    QTemporaryDir secondDir;

    QProcess second;
    start(second, program, secondDir.path());
    QTRY_COMPARE_WITH_TIMEOUT(asked.count(), 1, 30000);
    // It may have ended while the test waited for its request.
    QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(filesIn(secondDir.path()).isEmpty());
}

void TstSingleStart::signalsEndTheProgramAsExitDoes_data() {
#ifndef Q_OS_UNIX
    QSKIP("Signals are a Unix matter.");
#endif
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("signal");
    const QString rollbox = QStringLiteral(ROLLBOX_PROGRAM);
    QTest::addRow("Rollbox, SIGTERM") << rollbox << "rollbox" << int(SIGTERM);
    QTest::addRow("Rollbox, SIGINT") << rollbox << "rollbox" << int(SIGINT);
    QTest::addRow("Rollbox, SIGHUP") << rollbox << "rollbox" << int(SIGHUP);
    QTest::addRow("MiniTumo, SIGTERM")
        << QStringLiteral(MINITUMO_PROGRAM) << "minitumo" << int(SIGTERM);
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
    start(process, program, dir.path());
    // The program listens for later starts once its window is up and it handles signals.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(secondLaunchSocketName(name)), 30000);
    ::kill(pid_t(process.processId()), signal);

    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    if (rollbox)
        QCOMPARE(filesIn(dir.path()), QStringList{"tumosetup.dat"});
#endif
}

QTEST_GUILESS_MAIN(TstSingleStart)
#include "tst_single_start.moc"

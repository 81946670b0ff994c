#include "single_instance.h"

#include "patience.h"

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The pid recorded in the program's lock file, 0 while nobody holds it.
qint64 lockOwner() {
    QLockFile lock(SingleInstance::lockFilePath(QStringLiteral("minitumo")));
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return 0;
    return pid;
}

} // namespace

// Runs the real program. Its lock lives in a runtime folder of the test's own, so that a
// MiniTumo the user has open does not count.
class TestMinitumoProcess : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void secondCopyEndsAtOnce();

private:
    QProcess* start();

    QTemporaryDir runtime_;
    QList<QProcess*> processes_;
};

void TestMinitumoProcess::initTestCase() {
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

void TestMinitumoProcess::cleanup() {
    for (QProcess* process : std::as_const(processes_)) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
        delete process;
    }
    processes_.clear();
}

QProcess* TestMinitumoProcess::start() {
    auto* process = new QProcess;
    processes_ << process;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(MINITUMO_PATH), QStringList());
    return process;
}

void TestMinitumoProcess::secondCopyEndsAtOnce() {
    QProcess* first = start();
    QVERIFY(first->waitForStarted(patienceMs));
    QTRY_COMPARE_WITH_TIMEOUT(lockOwner(), first->processId(), patienceMs);

    QProcess* second = start();
    QVERIFY(second->waitForFinished(patienceMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(lockOwner(), first->processId());

    // A copy that died leaves its lock behind; the next start takes it over.
    first->kill();
    QVERIFY(first->waitForFinished(patienceMs));
    QProcess* third = start();
    QVERIFY(third->waitForStarted(patienceMs));
    QTRY_COMPARE_WITH_TIMEOUT(lockOwner(), third->processId(), patienceMs);
    QCOMPARE(third->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestMinitumoProcess)
#include "tst_minitumo_process.moc"

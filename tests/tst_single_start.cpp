// Process level: a second Rollbox started while one runs ends at once, quietly, and leaves the
// first one running.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TstSingleStart : public QObject {
    Q_OBJECT

private slots:
    void secondStartEndsAtOnce();
};

namespace {

QProcessEnvironment programEnvironment(const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A runtime folder of the test's own, so that a Rollbox the user runs does not count.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    return env;
}

} // namespace

void TstSingleStart::secondStartEndsAtOnce() {
    QTemporaryDir runtime;
    QTemporaryDir firstDir;
    QTemporaryDir secondDir;
    QVERIFY(runtime.isValid() && firstDir.isValid() && secondDir.isValid());

    QProcess first;
    first.setProcessEnvironment(programEnvironment(runtime.path()));
    first.setWorkingDirectory(firstDir.path());
    first.start(QStringLiteral(ROLLBOX_PROGRAM), {});
    QVERIFY2(first.waitForStarted(), qPrintable(first.errorString()));
    // The record file appears once the first has passed its instance test and loaded.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")), 30000);

    QProcess second;
    second.setProcessEnvironment(programEnvironment(runtime.path()));
    second.setWorkingDirectory(secondDir.path());
    second.start(QStringLiteral(ROLLBOX_PROGRAM), {});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It touched no file.
    QVERIFY(QDir(secondDir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());

    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(QFile::exists(QDir(firstDir.path()).filePath("temp.txt")));
    first.kill();
    first.waitForFinished();
}

QTEST_GUILESS_MAIN(TstSingleStart)
#include "tst_single_start.moc"

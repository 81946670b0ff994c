// A save of the presets file killed at any moment leaves the whole old file or the whole new
// one, never a mixture or a truncated file.
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class tst_preset_crash_safety : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveAWholeFile();
};

void tst_preset_crash_safety::killedSavesLeaveAWholeFile() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    QProcess print;
    print.setWorkingDirectory(folder.path());
    print.start(QStringLiteral(PRESET_SAVER), {QStringLiteral("--print")});
    QVERIFY(print.waitForFinished());
    const QByteArray first = fileBytes(folder.filePath(QStringLiteral("a.dat")));
    const QByteArray second = fileBytes(folder.filePath(QStringLiteral("b.dat")));
    QCOMPARE(first.count("\r\n"), 72);
    QVERIFY(first != second);

    const QString presets = folder.filePath(QStringLiteral("tumosetup.dat"));
    QFile::copy(folder.filePath(QStringLiteral("a.dat")), presets);

    QRandomGenerator random(20261207);
    int sawFirst = 0;
    int sawSecond = 0;
    for (int round = 0; round < 60; ++round) {
        QProcess saver;
        saver.setWorkingDirectory(folder.path());
        saver.start(QStringLiteral(PRESET_SAVER));
        QVERIFY(saver.waitForStarted());
        QTest::qSleep(random.bounded(5, 60)); // let it save a random number of times
        ::kill(static_cast<pid_t>(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished());
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const QByteArray now = fileBytes(presets);
        QVERIFY2(now == first || now == second,
                 qPrintable(QStringLiteral("round %1: %2 bytes, %3 lines")
                                .arg(round)
                                .arg(now.size())
                                .arg(now.count("\r\n"))));
        (now == first ? sawFirst : sawSecond) += 1;
    }
    // Both outcomes occurred, so the kills did land in the middle of saving.
    QVERIFY(sawFirst > 0 && sawSecond > 0);
}

QTEST_GUILESS_MAIN(tst_preset_crash_safety)
#include "tst_preset_crash_safety.moc"

// A save of the presets file killed at any moment leaves the whole old file or the whole new
// one, never a mixture or a truncated file.
#include "file_bytes.h"
#include "patience.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

class tst_preset_crash_safety : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveAWholeFile();
};

namespace {

// Waits until the saver has reported count completed saves; false when it ended or fell silent.
bool awaitSaves(QProcess& saver, int count) {
    int reported = 0;
    for (;;) {
        reported += int(saver.readAll().count('\n'));
        if (reported >= count)
            return true;
        if (!saver.waitForReadyRead(patienceMs))
            return false;
    }
}

} // namespace

void tst_preset_crash_safety::killedSavesLeaveAWholeFile() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    QProcess print;
    print.setWorkingDirectory(folder.path());
    print.start(QStringLiteral(PRESET_SAVER), {QStringLiteral("--print")});
    QVERIFY(print.waitForFinished(patienceMs));
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
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.setWorkingDirectory(folder.path());
        saver.start(QStringLiteral(PRESET_SAVER));
        QVERIFY(saver.waitForStarted(patienceMs));
        // The kill lands after one to four completed saves, however fast the saver runs, and a
        // random moment later, so at any point of the save that follows.
        QVERIFY2(awaitSaves(saver, random.bounded(1, 5)), qPrintable(QString::number(round)));
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(2000)));
        saver.kill(); // SIGKILL, or on Windows TerminateProcess: no chance to tidy up
        QVERIFY(saver.waitForFinished(patienceMs));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const QByteArray now = fileBytes(presets);
        QVERIFY2(now == first || now == second,
                 qPrintable(QStringLiteral("round %1: %2 bytes, %3 lines")
                                .arg(round)
                                .arg(now.size())
                                .arg(now.count("\r\n"))));
        (now == first ? sawFirst : sawSecond) += 1;
    }
    // Both outcomes occurred: the kills landed at different points of the saving.
    QVERIFY(sawFirst > 0 && sawSecond > 0);
}

QTEST_GUILESS_MAIN(tst_preset_crash_safety)
#include "tst_preset_crash_safety.moc"

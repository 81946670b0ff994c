#include "roll_log.h"
#include "roll_record.h"
#include "work_files.h"

#include "file_bytes.h"
#include "record_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

class tst_roll_record : public QObject {
    Q_OBJECT

private slots:
    void init();
    void split_data();
    void split();
    void workFilesHoldRecordAndPanes();
    void ensureFileExistsKeepsContents();
    void logAppendsRecords();
    void logFailures_data();
    void logFailures();
    void workFileFailureNamesTheFile();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void tst_roll_record::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void tst_roll_record::split_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("totals");
    QTest::addColumn<QByteArray>("dice");

    const char* dbl = doubleRuleLine;
    const char* sgl = singleRuleLine;

    QTest::addRow("2d6 reroll example")
        << recordLines({"Rolled: 2d6", dbl, "Total:  9", "d6(1)>  4", "d6(2)>  5", sgl,
                        "Rerolled all 1's.", dbl})
        << recordLines({"Rolled: 2d6", dbl, "Total:  9", dbl})
        << recordLines({"d6(1)>  4", "d6(2)>  5", sgl, "Rerolled all 1's."});

    QTest::addRow("both drops refusal in neither pane")
        << recordLines({"Rolled: 2d6", dbl, "Can't drop both dice!", sgl,
                        "Dropped the highest result.", "Dropped the lowest result.", dbl})
        << recordLines({"Rolled: 2d6", dbl, dbl})
        << recordLines({sgl, "Dropped the highest result.", "Dropped the lowest result."});

    QTest::addRow("dropped values and one die")
        << recordLines({"Rolled: (4D6+1)+2 2 times.", dbl, "Total:  19", "Dropped the Result of: 3",
                        "d6(1)>  4", sgl, "d6>  5", sgl})
        << recordLines({"Rolled: (4D6+1)+2 2 times.", dbl, "Total:  19"})
        << recordLines({"Dropped the Result of: 3", "d6(1)>  4", sgl, "d6>  5", sgl});

    QTest::addRow("don't show dice")
        << recordLines({"Rolled: 3d6", dbl, "Total:  11", sgl})
        << recordLines({"Rolled: 3d6", dbl, "Total:  11"}) << recordLines({sgl});

    // Exact, case-sensitive first characters: "R" alone or lower-case starts go nowhere.
    QTest::addRow("unknown starts") << recordLines({"Rx", "r", "total", "", "Re", "Ro"})
                                    << recordLines({"Ro"}) << recordLines({"Re"});

    QTest::addRow("LF-only input")
        << QByteArray("Rolled: 3d6\n==\nTotal:  3\nd6(1)>  1\n")
        << recordLines({"Rolled: 3d6", "==", "Total:  3"}) << recordLines({"d6(1)>  1"});

    QTest::addRow("last line without break")
        << QByteArray("Total:  3\r\nd6>  3") << recordLines({"Total:  3"})
        << recordLines({"d6>  3"});

    QTest::addRow("empty record") << QByteArray() << QByteArray() << QByteArray();
}

void tst_roll_record::split() {
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, totals);
    QFETCH(QByteArray, dice);

    PaneTexts panes{"stale", "stale"};
    splitRollRecord(view(record), panes);
    QCOMPARE(QByteArray::fromStdString(panes.totals), totals);
    QCOMPARE(QByteArray::fromStdString(panes.dice), dice);
}

void tst_roll_record::workFilesHoldRecordAndPanes() {
    QFile::remove(recordFileName);
    const QByteArray record = recordLines({"Rolled: 2d6", doubleRuleLine, "Can't drop both dice!"});
    PaneTexts panes;
    splitRollRecord(view(record), panes);
    QVERIFY(!writeWorkFiles(view(record), panes));
    QCOMPARE(fileBytes("temp.txt"), record);
    QCOMPARE(fileBytes("tempt.txt"), recordLines({"Rolled: 2d6", doubleRuleLine}));
    QCOMPARE(fileBytes("tempd.txt"), QByteArray());

    // A shorter roll replaces the files entirely.
    const QByteArray shorter = recordLines({"d6>  1"});
    splitRollRecord(view(shorter), panes);
    QVERIFY(!writeWorkFiles(view(shorter), panes));
    QCOMPARE(fileBytes("temp.txt"), shorter);
    QCOMPARE(fileBytes("tempt.txt"), QByteArray());
    QCOMPARE(fileBytes("tempd.txt"), shorter);

    deleteWorkFiles();
    QVERIFY(!QFile::exists("temp.txt"));
    QVERIFY(!QFile::exists("tempt.txt"));
    QVERIFY(!QFile::exists("tempd.txt"));
    deleteWorkFiles(); // missing files are passed over
}

void tst_roll_record::ensureFileExistsKeepsContents() {
    QVERIFY(!ensureFileExists("temp.txt"));
    QVERIFY(QFile::exists("temp.txt"));
    QCOMPARE(fileBytes("temp.txt"), QByteArray());

    QVERIFY(!writeWholeFile("temp.txt", "earlier run\r\n"));
    QVERIFY(!ensureFileExists("temp.txt"));
    QCOMPARE(fileBytes("temp.txt"), QByteArray("earlier run\r\n"));
}

void tst_roll_record::logAppendsRecords() {
    const QString log = dir_->filePath("rolllog.txt");
    QVERIFY(!writeWholeFile(log, "old roll\r\n"));

    const QByteArray first = recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  9"});
    const QByteArray second = recordLines({"Rolled: 1d6", doubleRuleLine, "d6>  4"});
    QVERIFY(!appendRollLog(log, view(first)));
    QVERIFY(!appendRollLog(log, view(second)));
    QCOMPARE(fileBytes(log), "old roll\r\n" + first + second);

    // A missing log is created.
    const QString fresh = dir_->filePath("fresh.txt");
    QVERIFY(!appendRollLog(fresh, view(first)));
    QCOMPARE(fileBytes(fresh), first);
}

void tst_roll_record::logFailures_data() {
    QTest::addColumn<QString>("path");

    QTest::addRow("directory") << QStringLiteral("<dir>");
    QTest::addRow("missing folder") << QStringLiteral("<dir>/missing/rolllog.txt");
    QTest::addRow("empty path") << QString();
    if (QFile::exists("/dev/full"))
        QTest::addRow("full disk") << QStringLiteral("/dev/full");
}

void tst_roll_record::logFailures() {
    QFETCH(QString, path);
    path.replace("<dir>", dir_->path());

    const QByteArray record = recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  9"});
    const std::optional<FileFailure> failure = appendRollLog(path, view(record));
    QVERIFY(failure.has_value());
    QCOMPARE(failure->file, path);
    QVERIFY(!failure->reason.isEmpty());
}

void tst_roll_record::workFileFailureNamesTheFile() {
    QVERIFY(QDir().mkdir("tempt.txt")); // a directory in the work file's place
    const QByteArray record = recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  9"});
    PaneTexts panes;
    splitRollRecord(view(record), panes);
    const std::optional<FileFailure> failure = writeWorkFiles(view(record), panes);
    QVERIFY(failure.has_value());
    QCOMPARE(failure->file, QStringLiteral("tempt.txt"));
    QVERIFY(!failure->reason.isEmpty());
    // The other files are still written.
    QCOMPARE(fileBytes("temp.txt"), record);
    QCOMPARE(fileBytes("tempd.txt"), QByteArray());

    if (QFile::exists("/dev/full")) {
        const std::optional<FileFailure> full = writeWholeFile("/dev/full", view(record));
        QVERIFY(full.has_value());
        QCOMPARE(full->file, QStringLiteral("/dev/full"));
    }
}

QTEST_GUILESS_MAIN(tst_roll_record)
#include "tst_roll_record.moc"

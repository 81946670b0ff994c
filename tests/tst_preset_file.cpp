#include "preset_file.h"
#include "preset_test_files.h"
#include "preset_tooltip.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace preset_test;

Q_DECLARE_METATYPE(Preset)

class TestPresetFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void writeThenReadRoundTripsByteForByte();
    void deliveredFileIsCanonical();
    void headerLinesAreIgnored_data();
    void headerLinesAreIgnored();
    void flagLines_data();
    void flagLines();
    void malformedLineIsLineNumbered_data();
    void malformedLineIsLineNumbered();
    void amountsAreReadWholeAndWrittenTrimmed();
    void leadingBlankOfFormulaSurvives();
    void lineEndsOtherThanCrLfAreRead_data();
    void lineEndsOtherThanCrLfAreRead();
    void linesAfterThe72ndAreNeverRead();
    void readingEndsAtThe72ndLine();
    void shortFileNamesTheMissingLine_data();
    void shortFileNamesTheMissingLine();
    void missingOrUnreadableFileNamesFileAndReason();
    void lineBreaksInFieldsKeepTheLayout();
    void fieldsThatCannotBeStoredAreRefused_data();
    void fieldsThatCannotBeStoredAreRefused();
    void failedWriteReportsAndLeavesOldFile();
    void toolTip_data();
    void toolTip();

private:
    PresetFileRead readLines(const QList<QByteArray>& lines, const QByteArray& lineEnd = "\r\n");

    QTemporaryDir dir_;
    QString previousDir_;
};

void TestPresetFile::init() {
    QVERIFY(dir_.isValid());
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
    QFile::remove(presetFileName);
}

void TestPresetFile::cleanup() {
    QDir::setCurrent(previousDir_);
}

PresetFileRead TestPresetFile::readLines(const QList<QByteArray>& lines,
                                         const QByteArray& lineEnd) {
    if (!writeBytes(presetFileName, joined(lines, lineEnd)))
        qFatal("cannot write the test file");
    return readPresetFile();
}

void TestPresetFile::writeThenReadRoundTripsByteForByte() {
    PresetTable table = plainTable();
    table.at(1) = {QStringLiteral("4d6"), 1, 0, 0, QString()};
    table.at(2) = {QStringLiteral("3d6+2"), 0, 1, 1, QStringLiteral("+2")};
    table.at(7) = {QString(), 1, 1, 1, QStringLiteral("-1")};
    table.at(12) = {QStringLiteral("2d\u00e9\u00ff"), 0, 0, 1, QStringLiteral("+\u00a0")};

    QVERIFY(!writePresetFile(table));

    QList<QByteArray> expected = plainLines();
    const auto put = [&](int n, QList<QByteArray> lines) {
        for (int i = 0; i < 6; ++i)
            expected[(n - 1) * 6 + i] = lines[i];
    };
    put(1, record("F 1", "4d6", " 1 ", " 0 ", " 0 ", ""));
    put(2, record("F 2", "3d6+2", " 0 ", " 1 ", " 1 ", "+2"));
    put(7, record("F 7", "", " 1 ", " 1 ", " 1 ", "-1"));
    put(12, record("F 12", "2d\xe9\xff", " 0 ", " 0 ", " 1 ", "+\xa0"));
    const QByteArray written = fileBytes(presetFileName);
    QCOMPARE(written, joined(expected));
    QCOMPARE(written.count("\r\n"), presetFileLineCount);
    QCOMPARE(written.count('\n'), presetFileLineCount);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{presetFileName});

    const PresetFileRead read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read), table);
}

void TestPresetFile::deliveredFileIsCanonical() {
    const QByteArray delivered = fileBytes(QStringLiteral(DELIVERED_PRESETS));
    QCOMPARE(delivered.count("\r\n"), presetFileLineCount);
    QCOMPARE(delivered.count('\n'), presetFileLineCount);
    QVERIFY(delivered.endsWith("\r\n"));

    const PresetFileRead read = readPresetFile(QStringLiteral(DELIVERED_PRESETS));
    QVERIFY(std::holds_alternative<PresetTable>(read));
    const PresetTable& table = std::get<PresetTable>(read);
    QCOMPARE(table.at(1), (Preset{QStringLiteral("4d6"), 1, 0, 0, QString()}));
    for (int n = 1; n <= presetCount; ++n)
        QVERIFY2(!table.at(n).formula.isEmpty(), qPrintable(QString::number(n)));

    // Saved again unchanged, it gives the same bytes: headers, flags and amounts are canonical.
    QVERIFY(!writePresetFile(table));
    QCOMPARE(fileBytes(presetFileName), delivered);
}

void TestPresetFile::headerLinesAreIgnored_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("text") << QByteArray("anything at all");
    QTest::addRow("number") << QByteArray("7");
    QTest::addRow("tab and high byte") << QByteArray("\t\xfe");
}

void TestPresetFile::headerLinesAreIgnored() {
    QFETCH(QByteArray, header);
    QList<QByteArray> lines = plainLines();
    for (int n = 0; n < presetCount; ++n)
        lines[n * 6] = header;
    const PresetFileRead read = readLines(lines);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read), plainTable());
}

void TestPresetFile::flagLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("state");
    QTest::addRow("blank 1 blank") << QByteArray(" 1 ") << 1;
    QTest::addRow("1 alone") << QByteArray("1") << 1;
    QTest::addRow("blank 0 blank") << QByteArray(" 0 ") << 0;
    QTest::addRow("0 alone") << QByteArray("0") << 0;
    QTest::addRow("many blanks") << QByteArray("    1  ") << 1;
    QTest::addRow("leading zero") << QByteArray("01") << 1;
    QTest::addRow("plus sign") << QByteArray("+1") << 1;
    QTest::addRow("decimal one") << QByteArray("1.0") << 1;
    QTest::addRow("2 is clear") << QByteArray(" 2 ") << 0;
    QTest::addRow("minus 1 is clear") << QByteArray("-1") << 0;
    QTest::addRow("fraction is clear") << QByteArray("0.5") << 0;
}

void TestPresetFile::flagLines() {
    QFETCH(QByteArray, line);
    QFETCH(int, state);
    QList<QByteArray> lines = plainLines();
    lines[6 * 4 + 2] = line; // record 5: dropLow
    lines[6 * 4 + 3] = line; // dropHigh
    lines[6 * 4 + 4] = line; // rerollOnes
    const PresetFileRead read = readLines(lines);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    const Preset& preset = std::get<PresetTable>(read).at(5);
    QCOMPARE(preset.dropLow, state);
    QCOMPARE(preset.dropHigh, state);
    QCOMPARE(preset.rerollOnes, state);
    QCOMPARE(presetToolTip(preset),
             state ? QStringLiteral("[Shift] = 1d5, L, H, 1s") : QStringLiteral("[Shift] = 1d5"));
}

void TestPresetFile::malformedLineIsLineNumbered_data() {
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("reason");
    const QString noNumber = QStringLiteral("a number was expected");
    QTest::addRow("empty, first dropLow") << 3 << QByteArray() << noNumber;
    QTest::addRow("blanks only, first dropHigh") << 4 << QByteArray("   ") << noNumber;
    QTest::addRow("word, first rerollOnes") << 5 << QByteArray("yes") << noNumber;
    QTest::addRow("digit then letter") << 11 << QByteArray("1x") << noNumber;
    QTest::addRow("tab is not a blank") << 17 << QByteArray("\t1") << noNumber;
    QTest::addRow("two numbers") << 70 << QByteArray("1 1") << noNumber;
    QTest::addRow("infinity") << 71 << QByteArray("inf") << noNumber;
    const QString tooLong = QStringLiteral("the line is longer than 65536 characters");
    QTest::addRow("formula over the limit") << 2 << QByteArray(65537, 'x') << tooLong;
    QTest::addRow("header over the limit") << 67 << QByteArray(200000, 'F') << tooLong;
}

void TestPresetFile::malformedLineIsLineNumbered() {
    QFETCH(int, lineNumber);
    QFETCH(QByteArray, line);
    QFETCH(QString, reason);
    QList<QByteArray> lines = plainLines();
    lines[lineNumber - 1] = line;
    const PresetFileRead read = readLines(lines);
    QVERIFY(std::holds_alternative<PresetFileError>(read));
    const PresetFileError& error = std::get<PresetFileError>(read);
    QCOMPARE(error.line, lineNumber);
    QCOMPARE(error.message(), QStringLiteral("tumosetup.dat, line %1: ").arg(lineNumber) + reason);
}

void TestPresetFile::amountsAreReadWholeAndWrittenTrimmed() {
    QList<QByteArray> lines = plainLines();
    lines[5] = "  +2  ";
    lines[11] = "   ";
    lines[17] = "\t-3 ";
    const PresetFileRead read = readLines(lines);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    const PresetTable& table = std::get<PresetTable>(read);
    QCOMPARE(table.at(1).addSubtract, QStringLiteral("  +2  "));
    QCOMPARE(table.at(2).addSubtract, QStringLiteral("   "));
    QCOMPARE(presetToolTip(table.at(1)), QStringLiteral("[Shift] = 1d1, +2"));
    QCOMPARE(presetToolTip(table.at(2)), QStringLiteral("[Shift] = 1d2"));

    QVERIFY(!writePresetFile(table));
    lines[5] = "+2";
    lines[11] = "";
    lines[17] = "\t-3"; // only blanks are trimmed, tabs stay
    QCOMPARE(fileBytes(presetFileName), joined(lines));
}

void TestPresetFile::leadingBlankOfFormulaSurvives() {
    PresetTable table = plainTable();
    table.at(4).formula = QStringLiteral(" 3d6 ");
    QVERIFY(!writePresetFile(table));
    QVERIFY(fileBytes(presetFileName).contains("\r\n 3d6 \r\n"));
    const PresetFileRead read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read).at(4).formula, QStringLiteral(" 3d6 "));
    QCOMPARE(presetToolTip(table.at(4)), QStringLiteral("[Shift] =  3d6 "));
}

void TestPresetFile::lineEndsOtherThanCrLfAreRead_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addRow("LF") << QByteArray("\n");
    QTest::addRow("CR") << QByteArray("\r");
}

void TestPresetFile::lineEndsOtherThanCrLfAreRead() {
    QFETCH(QByteArray, lineEnd);
    QList<QByteArray> lines = plainLines();
    lines[6 * 8 + 5] = "+4";
    PresetTable expected = plainTable();
    expected.at(9).addSubtract = QStringLiteral("+4");
    const PresetFileRead read = readLines(lines, lineEnd);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read), expected);
}

void TestPresetFile::linesAfterThe72ndAreNeverRead() {
    QList<QByteArray> lines = plainLines();
    lines += {"F 13", "9d9", "not a number", "", "", ""};
    const PresetFileRead read = readLines(lines);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read), plainTable());

    QVERIFY(!writePresetFile(std::get<PresetTable>(read)));
    QCOMPARE(fileBytes(presetFileName), joined(plainLines()));
}

void TestPresetFile::readingEndsAtThe72ndLine() {
    const QByteArray lines = joined(plainLines());
    QVERIFY(writeBytes(presetFileName, lines + QByteArray(10 * 1024 * 1024, 'j')));
    QFile file(presetFileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const PresetFileRead read = readPresetTable(file, presetFileName);
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read), plainTable());
    // Not one byte of what follows was taken.
    QCOMPARE(file.pos(), lines.size());
}

void TestPresetFile::shortFileNamesTheMissingLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("missingLine");
    const QList<QByteArray> all = plainLines();
    QTest::addRow("empty file") << QByteArray() << 1;
    QTest::addRow("one record") << joined(all.mid(0, 6)) << 7;
    QTest::addRow("71 lines") << joined(all.mid(0, 71)) << 72;
    QTest::addRow("71 lines, LF only") << joined(all.mid(0, 71), "\n") << 72;
}

void TestPresetFile::shortFileNamesTheMissingLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, missingLine);
    QVERIFY(writeBytes(presetFileName, bytes));
    const PresetFileRead read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetFileError>(read));
    const PresetFileError& error = std::get<PresetFileError>(read);
    QCOMPARE(error.file, presetFileName);
    QCOMPARE(error.line, missingLine);
    QVERIFY2(error.message().startsWith(
                 QStringLiteral("tumosetup.dat, line %1: a line was expected").arg(missingLine)),
             qPrintable(error.message()));
}

void TestPresetFile::missingOrUnreadableFileNamesFileAndReason() {
    PresetFileRead read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetFileError>(read));
    PresetFileError error = std::get<PresetFileError>(read);
    QCOMPARE(error.line, 0);
    QVERIFY(!error.reason.isEmpty());
    QCOMPARE(error.message(), QStringLiteral("tumosetup.dat: ") + error.reason);

    QVERIFY(QDir().mkdir(presetFileName));
    read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetFileError>(read));
    error = std::get<PresetFileError>(read);
    QCOMPARE(error.file, presetFileName);
    QVERIFY(!error.reason.isEmpty());
    QVERIFY(QDir().rmdir(presetFileName));

    // The last line needs no line end of its own.
    QList<QByteArray> lines = plainLines();
    lines.last() = "+1";
    QByteArray bytes = joined(lines);
    bytes.chop(2);
    QVERIFY(writeBytes(presetFileName, bytes));
    read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read).at(12).addSubtract, QStringLiteral("+1"));
}

void TestPresetFile::lineBreaksInFieldsKeepTheLayout() {
    PresetTable table = plainTable();
    table.at(3).formula = QStringLiteral("3d6\r\n1");
    QVERIFY(!writePresetFile(table));
    const QByteArray written = fileBytes(presetFileName);
    QCOMPARE(written.count('\n'), presetFileLineCount);
    const PresetFileRead read = readPresetFile();
    QVERIFY(std::holds_alternative<PresetTable>(read));
    QCOMPARE(std::get<PresetTable>(read).at(3).formula, QStringLiteral("3d6  1"));
    QCOMPARE(std::get<PresetTable>(read).at(4), plainTable().at(4));
}

void TestPresetFile::fieldsThatCannotBeStoredAreRefused_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("reason"); // empty: it is stored
    QTest::addRow("euro sign in an amount")
        << 3 << QStringLiteral("3d6") << QStringLiteral(" +\u20ac ")
        << QStringLiteral("the F3 add/subtract text holds the character \"\u20ac\" (U+20AC)");
    QTest::addRow("emoji in a formula")
        << 12 << QStringLiteral("1d6\U0001F600") << QString()
        << QStringLiteral("the F12 formula holds the character \"\U0001F600\" (U+1F600)");
    QTest::addRow("formula over the limit")
        << 1 << QString(65537, u'1') << QString()
        << QStringLiteral("the F1 formula is longer than 65536");
    QTest::addRow("Latin-1 and the longest line")
        << 1 << QString(65536, u'\u00e9') << QStringLiteral("+\u00ff") << QString();
}

void TestPresetFile::fieldsThatCannotBeStoredAreRefused() {
    QFETCH(int, n);
    QFETCH(QString, formula);
    QFETCH(QString, amount);
    QFETCH(QString, reason);
    QVERIFY(!writePresetFile(plainTable()));
    const QByteArray before = fileBytes(presetFileName);
    PresetTable table = plainTable();
    table.at(n).formula = formula;
    table.at(n).addSubtract = amount;

    const std::optional<PresetFileError> error = writePresetFile(table);
    if (reason.isEmpty()) {
        QVERIFY2(!error, qPrintable(error ? error->message() : QString()));
        const PresetFileRead read = readPresetFile();
        QVERIFY(std::holds_alternative<PresetTable>(read));
        QCOMPARE(std::get<PresetTable>(read).at(n).formula, formula);
        return;
    }
    QVERIFY(error);
    QVERIFY2(error->message().startsWith(QStringLiteral("tumosetup.dat: ") + reason),
             qPrintable(error->message()));
    QCOMPARE(fileBytes(presetFileName), before);
}

void TestPresetFile::failedWriteReportsAndLeavesOldFile() {
    // Tests may run as root, which ignores permissions: a folder that is really a file makes
    // the write fail for everyone.
    QVERIFY(QDir().mkdir(QStringLiteral("keys")));
    const QString path = QStringLiteral("keys/") + presetFileName;
    QVERIFY(writeBytes(path, joined(plainLines())));
    QVERIFY(QDir().rename(QStringLiteral("keys"), QStringLiteral("kept")));
    QVERIFY(writeBytes(QStringLiteral("keys"), "a file, not a folder"));

    PresetTable table = plainTable();
    table.at(1).formula = QStringLiteral("9d9");
    const std::optional<PresetFileError> error = writePresetFile(table, path);
    QVERIFY(error);
    QCOMPARE(error->file, path);
    QCOMPARE(error->line, 0);
    QVERIFY(error->message().startsWith(path + QStringLiteral(": ")));
    QVERIFY(error->reason.size() > 0);
    QCOMPARE(fileBytes(QStringLiteral("kept/") + presetFileName), joined(plainLines()));
    QCOMPARE(fileBytes(QStringLiteral("keys")), QByteArray("a file, not a folder"));
}

void TestPresetFile::toolTip_data() {
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<QString>("tip");
    QTest::addRow("empty") << Preset{} << QStringLiteral("[Shift] = ");
    QTest::addRow("high, ones, amount")
        << Preset{QStringLiteral("3d6"), 0, 1, 1, QStringLiteral("+2")}
        << QStringLiteral("[Shift] = 3d6, H, 1s, +2");
    QTest::addRow("all flags, order fixed")
        << Preset{QStringLiteral("4d6"), 1, 1, 1, QStringLiteral("-1")}
        << QStringLiteral("[Shift] = 4d6, L, H, 1s, -1");
    QTest::addRow("low only") << Preset{QStringLiteral("2d20"), 1, 0, 0, QString()}
                              << QStringLiteral("[Shift] = 2d20, L");
    QTest::addRow("flag 2 is not set")
        << Preset{QStringLiteral("1d8"), 2, 2, 2, QString()} << QStringLiteral("[Shift] = 1d8");
    QTest::addRow("padded amount")
        << Preset{QStringLiteral("1d8"), 0, 0, 0, QStringLiteral(" +3  ")}
        << QStringLiteral("[Shift] = 1d8, +3");
}

void TestPresetFile::toolTip() {
    QFETCH(Preset, preset);
    QFETCH(QString, tip);
    QCOMPARE(presetToolTip(preset), tip);
}

QTEST_GUILESS_MAIN(TestPresetFile)
#include "tst_preset_file.moc"

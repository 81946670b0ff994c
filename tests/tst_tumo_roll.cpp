#include "frm_save.h"
#include "result_pane.h"
#include "roll_log.h"
#include "roll_request.h"
#include "tumo.h"

#include "file_bytes.h"
#include "modal_watch.h"
#include "patience.h"
#include "record_text.h"
#include "scripted_random.h"
#include "typing.h"
#include "without_root_override.h"
#include "work_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

QByteArray paneText(const ResultPane* pane) {
    return QByteArray::fromStdString(pane->text());
}

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The 2d6 roll with Reroll 1's whose faces are 1 (rerolled to 4) and 5.
const QByteArray exampleRecord =
    recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  9", "d6(1)>  4", "d6(2)>  5",
                 singleRuleLine, "Rerolled all 1's.", doubleRuleLine});
const QByteArray exampleTotals =
    recordLines({"Rolled: 2d6", doubleRuleLine, "Total:  9", doubleRuleLine});
const QByteArray exampleDice =
    recordLines({"d6(1)>  4", "d6(2)>  5", singleRuleLine, "Rerolled all 1's."});

// One die, no options: "Rolled: 1d6", the rule, "d6>  <face>", the single rule.
QByteArray oneDieRecord(int face) {
    const QByteArray result = "d6>  " + QByteArray::number(face);
    return recordLines({"Rolled: 1d6", doubleRuleLine, result.constData(), singleRuleLine});
}

} // namespace

class tst_tumo_roll : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithEmptyDisabledCount();
    void rollFillsPanesAndWorkFiles();
    void refusalShowsMessageAndFocusesFormula_data();
    void refusalShowsMessageAndFocusesFormula();
    void limitStopKeepsPanesAndSelectsFormula();
    void silentStopChangesNothing();
    void timesBoxFollowsItsCheckBox();
    void tabOrder();
    void enterRolls_data();
    void enterRolls();
    void logWindowOkayKeepsBoxChecked();
    void logWindowCloseUnchecksBox();
    void loggedRollsStartOnALineOfTheirOwn_data();
    void loggedRollsStartOnALineOfTheirOwn();
    void logWindowRefusesTheProgramsOwnFiles_data();
    void logWindowRefusesTheProgramsOwnFiles();
    void defaultLogWithoutHomeVariable();
    void boxesRefuseCharactersTheRollCannotRead();
    void refusedRollLogsNothing();
    void unwritableWorkFileReportedOnce();
    void unwritableLogClearsSaveResults_data();
    void unwritableLogClearsSaveResults();

private:
    void roll(const QByteArray& formula, const QByteArray& add = {});
    void chooseLogPath(const QString& path);

    std::unique_ptr<TemporaryWorkDir> dir_;
    std::unique_ptr<Tumo> tumo_;
    ScriptedRandom random_;
};

void tst_tumo_roll::init() {
    dir_ = std::make_unique<TemporaryWorkDir>();
    tumo_ = std::make_unique<Tumo>();
    QVERIFY(tumo_->Form_Load());
    tumo_->logPath = dir_->filePath("rolllog.txt");
    random_ = ScriptedRandom();
    tumo_->setRandomSource(&random_);
    tumo_->move(100, 50);
    tumo_->show();
    QApplication::setActiveWindow(tumo_.get());
    tumo_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(tumo_.get(), patienceMs));
}

void tst_tumo_roll::cleanup() {
    tumo_.reset();
    dir_.reset();
}

void tst_tumo_roll::roll(const QByteArray& formula, const QByteArray& add) {
    tumo_->txtInput->setText(QString::fromLatin1(formula));
    tumo_->txtAdd->setText(QString::fromLatin1(add));
    tumo_->cmdRoll->click();
}

// Checks "Save Results" and answers the log-file window with Okay and the given path.
void tst_tumo_roll::chooseLogPath(const QString& path) {
    ModalWatch watch([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmSave*>(modal);
        QVERIFY(dialog);
        dialog->txtSaveFile->setText(path);
        dialog->cmdOkay->click();
    });
    tumo_->chkSave->click();
    QCOMPARE(watch.windows, 1);
    QVERIFY(tumo_->chkSave->isChecked());
    QCOMPARE(tumo_->logPath, path);
}

void tst_tumo_roll::startsWithEmptyDisabledCount() {
    QVERIFY(!tumo_->chkTimes->isChecked());
    QVERIFY(!tumo_->txtTimes->isEnabled());
    QCOMPARE(tumo_->txtTimes->text(), QString());
    QVERIFY(!tumo_->chkSave->isChecked());
    QVERIFY(QFile::exists("temp.txt"));
    QCOMPARE(paneText(tumo_->txtTotal), QByteArray());
    QCOMPARE(paneText(tumo_->txtDice), QByteArray());
}

void tst_tumo_roll::rollFillsPanesAndWorkFiles() {
    tumo_->chkReroll->setChecked(true);
    random_.faces(6, {1, 4, 5});
    roll("2d6");

    QCOMPARE(fileBytes("temp.txt"), exampleRecord);
    QCOMPARE(fileBytes("tempt.txt"), exampleTotals);
    QCOMPARE(fileBytes("tempd.txt"), exampleDice);
    QCOMPARE(paneText(tumo_->txtTotal), exampleTotals);
    QCOMPARE(paneText(tumo_->txtDice), exampleDice);
    QCOMPARE(
        tumo_->txtDice->toPlainText(),
        QStringLiteral("d6(1)>  4\nd6(2)>  5\n--------------------------\nRerolled all 1's.\n"));
    QCOMPARE(QApplication::focusWidget(), tumo_->txtInput);
    QCOMPARE(tumo_->txtInput->selectedText(), QStringLiteral("2d6"));
    // Nothing is logged while "Save Results" is off.
    QVERIFY(!QFile::exists(tumo_->logPath));
    // The inputs are kept for the next roll.
    QVERIFY(tumo_->chkReroll->isChecked());
    QCOMPARE(tumo_->txtInput->text(), QStringLiteral("2d6"));
}

void tst_tumo_roll::refusalShowsMessageAndFocusesFormula_data() {
    QTest::addColumn<QByteArray>("formula");
    QTest::addColumn<QByteArray>("add");
    QTest::addColumn<QByteArray>("times");
    QTest::addColumn<QByteArray>("message");

    QTest::addRow("formula") << QByteArray("2d6d") << QByteArray() << QByteArray()
                             << bytes(formulaMessage);
    QTest::addRow("add box") << QByteArray("2d6") << QByteArray("5a") << QByteArray()
                             << bytes(addMessage);
    QTest::addRow("count box") << QByteArray("2d6") << QByteArray() << QByteArray("1e3")
                               << bytes(timesMessage);
}

void tst_tumo_roll::refusalShowsMessageAndFocusesFormula() {
    QFETCH(QByteArray, formula);
    QFETCH(QByteArray, add);
    QFETCH(QByteArray, times);
    QFETCH(QByteArray, message);

    random_.faces(6, {3});
    roll("1d6");
    const QByteArray before = fileBytes("temp.txt");

    tumo_->chkTimes->setChecked(!times.isEmpty());
    tumo_->txtTimes->setText(QString::fromLatin1(times));
    tumo_->txtInput->setText(QString::fromLatin1(formula));
    tumo_->txtAdd->setText(QString::fromLatin1(add));
    tumo_->txtAdd->setFocus();
    QCOMPARE(QApplication::focusWidget(), tumo_->txtAdd);
    tumo_->cmdRoll_Click();

    QCOMPARE(paneText(tumo_->txtTotal), message);
    QCOMPARE(paneText(tumo_->txtDice), QByteArray());
    QCOMPARE(QApplication::focusWidget(), tumo_->txtInput);
    QCOMPARE(tumo_->txtInput->selectedText(), QString::fromLatin1(formula));
    QCOMPARE(fileBytes("temp.txt"), before);
    QCOMPARE(tumo_->txtAdd->text(), QString::fromLatin1(add));
    QCOMPARE(tumo_->txtTimes->text(), QString::fromLatin1(times));
}

void tst_tumo_roll::limitStopKeepsPanesAndSelectsFormula() {
    random_.faces(6, {1, 4, 5});
    tumo_->chkReroll->setChecked(true);
    roll("2d6");

    for (const char* formula : {"3d1", "3d1001", "1001d6"}) {
        tumo_->txtInput->setText(QString::fromLatin1(formula));
        tumo_->txtAdd->setFocus();
        tumo_->txtInput->deselect();
        tumo_->cmdRoll_Click();

        QCOMPARE(paneText(tumo_->txtTotal), exampleTotals);
        QCOMPARE(paneText(tumo_->txtDice), exampleDice);
        QCOMPARE(fileBytes("temp.txt"), exampleRecord);
        QCOMPARE(QApplication::focusWidget(), tumo_->txtInput);
        QCOMPARE(tumo_->txtInput->selectedText(), QString::fromLatin1(formula));
    }
}

void tst_tumo_roll::silentStopChangesNothing() {
    random_.faces(6, {1, 4, 5});
    tumo_->chkReroll->setChecked(true);
    roll("2d6");

    for (const char* formula : {"", "36"}) {
        tumo_->txtInput->setText(QString::fromLatin1(formula));
        tumo_->txtAdd->setFocus();
        tumo_->cmdRoll_Click();

        QCOMPARE(paneText(tumo_->txtTotal), exampleTotals);
        QCOMPARE(paneText(tumo_->txtDice), exampleDice);
        QCOMPARE(fileBytes("temp.txt"), exampleRecord);
        QCOMPARE(QApplication::focusWidget(), tumo_->txtAdd);
    }
}

void tst_tumo_roll::timesBoxFollowsItsCheckBox() {
    tumo_->txtInput->setFocus();
    tumo_->chkTimes->click();
    QVERIFY(tumo_->chkTimes->isChecked());
    QVERIFY(tumo_->txtTimes->isEnabled());
    QCOMPARE(QApplication::focusWidget(), tumo_->txtTimes);

    QTest::keyClicks(tumo_->txtTimes, "3");
    random_.faces(6, {1, 2, 3});
    roll("1d6");
    QCOMPARE(paneText(tumo_->txtTotal).left(21), QByteArray("Rolled: 1d6 3 times.\r"));

    tumo_->chkTimes->click();
    QVERIFY(!tumo_->chkTimes->isChecked());
    QVERIFY(!tumo_->txtTimes->isEnabled());
    QCOMPARE(tumo_->txtTimes->text(), QString());

    // Checking again brings back an empty box, and an empty box rolls once.
    tumo_->chkTimes->click();
    QVERIFY(tumo_->txtTimes->isEnabled());
    QCOMPARE(tumo_->txtTimes->text(), QString());
    random_.faces(6, {4});
    roll("1d6");
    QCOMPARE(fileBytes("temp.txt"), oneDieRecord(4));
}

void tst_tumo_roll::tabOrder() {
    tumo_->chkTimes->setChecked(true);
    const QList<QWidget*> expected = {tumo_->txtAdd,      tumo_->cmdRoll,   tumo_->txtTotal,
                                      tumo_->txtTimes,    tumo_->chkTimes,  tumo_->chkDropLow,
                                      tumo_->chkDropHigh, tumo_->chkReroll, tumo_->chkDShow,
                                      tumo_->chkSave,     tumo_->txtDice};
    tumo_->txtInput->setFocus();
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_tumo_roll::enterRolls_data() {
    QTest::addColumn<QString>("box");
    QTest::addRow("formula box") << QStringLiteral("txtInput");
    QTest::addRow("add box") << QStringLiteral("txtAdd");
    QTest::addRow("count box") << QStringLiteral("txtTimes");
}

void tst_tumo_roll::enterRolls() {
    QFETCH(QString, box);
    tumo_->chkTimes->setChecked(true);
    tumo_->txtInput->setText(QStringLiteral("1d6"));
    QLineEdit* target = box == "txtInput" ? tumo_->txtInput
                        : box == "txtAdd" ? tumo_->txtAdd
                                          : tumo_->txtTimes;
    target->setFocus();

    QTest::keyClick(target, Qt::Key_Escape);
    QCOMPARE(fileBytes("temp.txt"), QByteArray());

    random_.faces(6, {2});
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(fileBytes("temp.txt"), oneDieRecord(2));
    QCOMPARE(random_.remaining(), std::size_t(0));
    QCOMPARE(QApplication::focusWidget(), tumo_->txtInput);
}

void tst_tumo_roll::logWindowOkayKeepsBoxChecked() {
    const QString chosen = dir_->filePath("chosen.txt");
    const QString before = tumo_->logPath;
    QPoint dialogCorner;
    QString shownPath;
    ModalWatch watch([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmSave*>(modal);
        QVERIFY(dialog);
        dialogCorner = dialog->frameGeometry().topLeft();
        shownPath = dialog->txtSaveFile->text();
        dialog->txtSaveFile->setText(chosen);
        dialog->cmdOkay->click();
    });
    tumo_->chkSave->click();

    QCOMPARE(watch.windows, 1);
    QCOMPARE(shownPath, before);
    // 200 twips right and 3080 twips below the main window's corner.
    QCOMPARE(dialogCorner, tumo_->frameGeometry().topLeft() + QPoint(13, 205));
    QVERIFY(tumo_->chkSave->isChecked());
    QCOMPARE(tumo_->logPath, chosen);

    random_.faces(6, {5});
    roll("1d6");
    QCOMPARE(fileBytes(chosen), oneDieRecord(5));
}

void tst_tumo_roll::logWindowCloseUnchecksBox() {
    const QString before = tumo_->logPath;
    ModalWatch watch([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmSave*>(modal);
        QVERIFY(dialog);
        dialog->txtSaveFile->setText(dir_->filePath("other.txt"));
        dialog->cmdClose->click();
    });
    tumo_->chkSave->click();

    QCOMPARE(watch.windows, 1);
    QVERIFY(!tumo_->chkSave->isChecked());
    QCOMPARE(tumo_->logPath, before);

    random_.faces(6, {5});
    roll("1d6");
    QVERIFY(!QFile::exists(before));
    QVERIFY(!QFile::exists(dir_->filePath("other.txt")));
}

void tst_tumo_roll::loggedRollsStartOnALineOfTheirOwn_data() {
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QByteArray>("between"); // what goes between the earlier bytes and the rolls
    const QByteArray record = recordLines({"Rolled: 1d4", doubleRuleLine});
    QTest::addRow("empty log") << QByteArray() << QByteArray();
    QTest::addRow("complete record") << record << QByteArray();
    // A record cut short by a crash stays as it is, but gets the line end it lacks.
    QTest::addRow("cut mid-line") << record + "d1000(834)>  686" << QByteArray("\r\n");
    QTest::addRow("cut after the CR") << record + "d1000(834)>  686\r" << QByteArray("\r\n");
    // A log written elsewhere with LF alone ends its lines well enough.
    QTest::addRow("ended in LF alone") << record + "d1000(834)>  686\n" << QByteArray();
}

void tst_tumo_roll::loggedRollsStartOnALineOfTheirOwn() {
    QFETCH(QByteArray, earlier);
    QFETCH(QByteArray, between);
    const QString log = dir_->filePath("rolllog.txt");
    QVERIFY(writeBytes(log, earlier));
    chooseLogPath(log);

    random_.faces(6, {1, 4, 5});
    tumo_->chkReroll->setChecked(true);
    roll("2d6");
    tumo_->chkReroll->setChecked(false);
    random_.faces(6, {6});
    roll("1d6");

    QCOMPARE(fileBytes(log), earlier + between + exampleRecord + oneDieRecord(6));
    QVERIFY(tumo_->chkSave->isChecked());
}

void tst_tumo_roll::logWindowRefusesTheProgramsOwnFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addRow("work file") << QStringLiteral("temp.txt");
    QTest::addRow("absolute, not made yet") << QStringLiteral("<dir>/tempd.txt");
    QTest::addRow("roundabout") << QStringLiteral("<dir>/../%1/./tempt.txt");
    QTest::addRow("presets through a link") << QStringLiteral("<dir>/link.txt");
    QTest::addRow("help file") << QStringLiteral("tumoinfo.dat");
}

void tst_tumo_roll::logWindowRefusesTheProgramsOwnFiles() {
    QFETCH(QString, path);
    path.replace("<dir>", dir_->path()).replace("%1", QFileInfo(dir_->path()).fileName());
#ifdef Q_OS_WIN
    if (path.endsWith(QLatin1String("link.txt")))
        QSKIP("On Windows QFile::link makes a shortcut, which is a file of its own.");
#endif
    QVERIFY(QFile::link(dir_->filePath("tumosetup.dat"), dir_->filePath("link.txt")));
    const QByteArray presets = fileBytes("tumosetup.dat");
    const QString before = tumo_->logPath;

    bool openAfterOkay = false;
    ModalWatch watch([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmSave*>(modal);
        QVERIFY(dialog);
        dialog->txtSaveFile->setText(path);
        dialog->cmdOkay->click();
        openAfterOkay = dialog->isVisible();
    });
    tumo_->chkSave->click();

    QCOMPARE(watch.messages.size(), 1);
    QVERIFY2(watch.messages.front().contains(path), qPrintable(watch.messages.front()));
    QVERIFY(openAfterOkay);
    // The window was then closed: nothing is logged, and nothing of the program's was touched.
    QVERIFY(!tumo_->chkSave->isChecked());
    QCOMPARE(tumo_->logPath, before);
    random_.faces(6, {5});
    roll("1d6");
    QCOMPARE(fileBytes("temp.txt"), oneDieRecord(5));
    QCOMPARE(fileBytes("tumosetup.dat"), presets);
}

// Without $HOME the log's default is taken from the user database, never "//rolllog.txt". On
// Windows it is the one the program has always had there, whatever the environment.
void tst_tumo_roll::defaultLogWithoutHomeVariable() {
#ifdef Q_OS_WIN
    QCOMPARE(defaultLogPath(), QStringLiteral("C:\\rolllog.txt"));
#else
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    const QString path = defaultLogPath();
    qputenv("HOME", home);
    const passwd* user = getpwuid(geteuid());
    QVERIFY(user && user->pw_dir);
    QCOMPARE(path, QDir(QFile::decodeName(user->pw_dir)).filePath("rolllog.txt"));
#endif
}

void tst_tumo_roll::boxesRefuseCharactersTheRollCannotRead() {
    for (QLineEdit* box : {tumo_->txtInput, tumo_->txtAdd}) {
        box->clear();
        typeText(box, QStringLiteral("\u00bd1\u20ac"));
        QCOMPARE(box->text(), QStringLiteral("\u00bd1"));
    }
}

void tst_tumo_roll::refusedRollLogsNothing() {
    const QString log = dir_->filePath("rolllog.txt");
    chooseLogPath(log);
    random_.faces(6, {6});
    roll("1d6");

    roll("1d6", "+"); // refused
    roll("1d1");      // stopped at the limit
    roll("16");       // stopped silently
    QCOMPARE(fileBytes(log), oneDieRecord(6));
    QVERIFY(tumo_->chkSave->isChecked());
}

void tst_tumo_roll::unwritableWorkFileReportedOnce() {
    const QString log = dir_->filePath("rolllog.txt");
    chooseLogPath(log);
    QVERIFY(QFile::remove("temp.txt"));
    QVERIFY(QDir().mkdir("temp.txt"));

    ModalWatch watch;
    QByteArray totalsBehindMessage;
    watch.onMessageBox = [&] { totalsBehindMessage = paneText(tumo_->txtTotal); };
    random_.faces(6, {1, 4, 5});
    tumo_->chkReroll->setChecked(true);
    roll("2d6");
    QCOMPARE(watch.messages.size(), 1);
    QVERIFY2(watch.messages.first().contains("temp.txt"), qPrintable(watch.messages.first()));
    // The message is read over the roll it concerns, not over the previous one.
    QCOMPARE(totalsBehindMessage, exampleTotals);
    QCOMPARE(paneText(tumo_->txtTotal), exampleTotals);
    QCOMPARE(paneText(tumo_->txtDice), exampleDice);
    QCOMPARE(fileBytes("tempt.txt"), exampleTotals);

    random_.faces(6, {2, 3});
    roll("2d6");
    QCOMPARE(watch.messages.size(), 1); // not again for the second roll
    QVERIFY(paneText(tumo_->txtDice).startsWith("d6(1)>  2\r\n"));

    QCOMPARE(fileBytes(log).count("Rolled: 2d6\r\n"), 2);
    QVERIFY(fileBytes(log).startsWith(exampleRecord));
    QVERIFY(tumo_->chkSave->isChecked());
}

void tst_tumo_roll::unwritableLogClearsSaveResults_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("readOnlyContent"); // a read-only log already holding this
    QTest::addRow("directory") << QStringLiteral("<dir>") << QByteArray();
    QTest::addRow("missing folder") << QStringLiteral("<dir>/missing/rolllog.txt") << QByteArray();
    QTest::addRow("empty path") << QString() << QByteArray();
    if (QFile::exists("/dev/full"))
        QTest::addRow("full disk") << QStringLiteral("/dev/full") << QByteArray();
    QTest::addRow("read-only file")
        << QStringLiteral("<dir>/kept.txt") << recordLines({"Rolled: 1d4", doubleRuleLine});
}

void tst_tumo_roll::unwritableLogClearsSaveResults() {
    QFETCH(QString, path);
    QFETCH(QByteArray, readOnlyContent);
    path.replace("<dir>", dir_->path());
    const WithoutRootOverride permissionsCount;
    if (!readOnlyContent.isEmpty()) {
        if (!permissionsCount.permissionsApply())
            QSKIP("Read-only files take writes here (root, or Wine run by root).");
        QVERIFY(writeBytes(path, readOnlyContent));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    }

    // A log that worked before must survive the failing one untouched.
    const QString goodLog = dir_->filePath("rolllog.txt");
    chooseLogPath(goodLog);
    random_.faces(6, {3});
    roll("1d6");
    QCOMPARE(fileBytes(goodLog), oneDieRecord(3));

    tumo_->chkSave->setChecked(false);
    chooseLogPath(path);
    ModalWatch watch;
    random_.faces(6, {1, 4, 5});
    tumo_->chkReroll->setChecked(true);
    roll("2d6");

    QCOMPARE(watch.messages.size(), 1);
    if (!path.isEmpty())
        QVERIFY2(watch.messages.first().contains(path), qPrintable(watch.messages.first()));
    QVERIFY(!tumo_->chkSave->isChecked());
    QCOMPARE(paneText(tumo_->txtTotal), exampleTotals);
    QCOMPARE(paneText(tumo_->txtDice), exampleDice);
    QCOMPARE(fileBytes("temp.txt"), exampleRecord);
    QCOMPARE(fileBytes(goodLog), oneDieRecord(3));

    // With the box cleared the next roll neither logs nor complains.
    random_.faces(6, {2, 3});
    roll("2d6");
    QCOMPARE(watch.messages.size(), 1);
    QCOMPARE(fileBytes(goodLog), oneDieRecord(3));
    if (!readOnlyContent.isEmpty())
        QCOMPARE(fileBytes(path), readOnlyContent);
}

QTEST_MAIN(tst_tumo_roll)
#include "tst_tumo_roll.moc"

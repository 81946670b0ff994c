// The main window's function keys: quick formulas, presets, their labels and the setup round
// trip.
#include "frm_setup.h"
#include "key_map.h"
#include "modal_watch.h"
#include "mouse_label.h"
#include "patience.h"
#include "preset_file.h"
#include "preset_tooltip.h"
#include "result_pane.h"
#include "tumo.h"
#include "work_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

namespace {

// A presets table whose preset n rolls "<n>d6" with nothing else set, except as changed.
PresetTable plainPresets() {
    PresetTable table;
    for (int n = 1; n <= presetCount; ++n)
        table.at(n).formula = QStringLiteral("%1d6").arg(n);
    return table;
}

// The "Rolled: " headings in a log, in order.
QStringList headings(const QString& logPath) {
    QStringList found;
    for (const QByteArray& line : fileBytes(logPath).split('\n'))
        if (line.startsWith("Rolled: "))
            found += QString::fromLatin1(line.trimmed());
    return found;
}

} // namespace

class TstTumoKeys : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void functionKeyRollsItsQuickFormula();
    void shiftFunctionKeyRollsTwice();
    void otherModifiersRollTheQuickFormulaOnly_data();
    void otherModifiersRollTheQuickFormulaOnly();
    void enterRollsFromTheButtonAndTheOptionBoxes_data();
    void enterRollsFromTheButtonAndTheOptionBoxes();
    void emptyPresetFormulaClearsTheBoxAndStopsSilently();
    void presetFlagsFollowOnlyTheirOwnValue();
    void labelsShowCaptionsAndPresetToolTips();
    void doubleClickOnALabelRolls();
    void tabIntoABoxSelectsItsText();
    void setupCloseLeavesTheFileAndReloads();
    void setupSaveUpdatesTheToolTipsAtOnce();
    void ctrlFOpensTheSetupOnce();
    void startWithoutAReadablePresetsFileIsRefused_data();
    void startWithoutAReadablePresetsFileIsRefused();
    void unusualPresetsFilesLoad_data();
    void unusualPresetsFilesLoad();
    void presetsFileLostBeforeSetupEndsTheProgram();

private:
    void loadTumo();
    void logRolls();

    std::unique_ptr<TemporaryWorkDir> dir_;
    std::unique_ptr<Tumo> tumo_;
};

void TstTumoKeys::init() {
    dir_ = std::make_unique<TemporaryWorkDir>(TemporaryWorkDir::Empty);
    QVERIFY(!writePresetFile(plainPresets()));
}

void TstTumoKeys::cleanup() {
    tumo_.reset();
    dir_.reset();
}

void TstTumoKeys::loadTumo() {
    tumo_ = std::make_unique<Tumo>();
    QVERIFY(tumo_->Form_Load());
    tumo_->show();
    QApplication::setActiveWindow(tumo_.get());
    QVERIFY(QTest::qWaitForWindowActive(tumo_.get(), patienceMs));
}

// Every roll from here on is appended to a log in the work directory.
void TstTumoKeys::logRolls() {
    tumo_->logPath = dir_->filePath(QStringLiteral("rolllog.txt"));
    const QSignalBlocker noDialog(tumo_->chkSave);
    tumo_->chkSave->setChecked(true);
}

void TstTumoKeys::functionKeyRollsItsQuickFormula() {
    loadTumo();
    logRolls();
    tumo_->txtAdd->setText(QStringLiteral("+2"));
    tumo_->chkDropLow->setChecked(true);

    QTest::keyClick(tumo_->txtAdd, Qt::Key_F9);

    QCOMPARE(headings(tumo_->logPath), QStringList{"Rolled: (3d6)+2"});
    QVERIFY(fileBytes(tumo_->logPath).contains("Dropped the Result of: "));
    QCOMPARE(tumo_->txtInput->text(), QString("3d6"));
    QCOMPARE(tumo_->txtInput->selectedText(), QString("3d6"));
    QCOMPARE(tumo_->txtAdd->text(), QString("+2"));
    QVERIFY(tumo_->chkDropLow->isChecked());
}

void TstTumoKeys::shiftFunctionKeyRollsTwice() {
    PresetTable presets = plainPresets();
    presets.at(9) = {QStringLiteral("2d10"), 0, 1, 1, QStringLiteral("-1")};
    QVERIFY(!writePresetFile(presets));
    loadTumo();
    logRolls();
    tumo_->txtAdd->setText(QStringLiteral("+4"));

    QTest::keyClick(tumo_->txtInput, Qt::Key_F9, Qt::ShiftModifier);

    // The quick formula with the settings before the key, then the preset with its own.
    QCOMPARE(headings(tumo_->logPath), (QStringList{"Rolled: (3d6)+4", "Rolled: (2d10)-1"}));
    QCOMPARE(tumo_->txtInput->text(), QString("2d10"));
    QCOMPARE(tumo_->txtInput->selectedText(), QString("2d10"));
    QCOMPARE(tumo_->txtAdd->text(), QString("-1"));
    QVERIFY(!tumo_->chkDropLow->isChecked());
    QVERIFY(tumo_->chkDropHigh->isChecked());
    QVERIFY(tumo_->chkReroll->isChecked());
}

void TstTumoKeys::otherModifiersRollTheQuickFormulaOnly_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::addRow("Alt") << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::addRow("Ctrl+Shift") << (Qt::ControlModifier | Qt::ShiftModifier);
    QTest::addRow("Shift+Alt") << (Qt::ShiftModifier | Qt::AltModifier);
}

void TstTumoKeys::otherModifiersRollTheQuickFormulaOnly() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    loadTumo();
    logRolls();
    QTest::keyClick(tumo_->txtInput, Qt::Key_F5, modifiers);
    QCOMPARE(headings(tumo_->logPath), QStringList{"Rolled: 1d5"});
}

void TstTumoKeys::enterRollsFromTheButtonAndTheOptionBoxes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("rolls");
    const Qt::KeyboardModifiers none;
    QTest::addRow("Enter on the button") << "cmdRoll" << int(Qt::Key_Return) << none << true;
    QTest::addRow("keypad Enter on the button")
        << "cmdRoll" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
    QTest::addRow("Enter on Drop Lowest") << "chkDropLow" << int(Qt::Key_Return) << none << true;
    QTest::addRow("Enter on Times") << "chkTimes" << int(Qt::Key_Return) << none << true;
    QTest::addRow("Ctrl+Enter on the button")
        << "cmdRoll" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    QTest::addRow("Enter in the dice pane") << "txtDice" << int(Qt::Key_Return) << none << false;
}

void TstTumoKeys::enterRollsFromTheButtonAndTheOptionBoxes() {
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, rolls);
    loadTumo();
    logRolls();
    tumo_->txtInput->setText(QStringLiteral("2d6"));
    const QHash<QString, QWidget*> controls{{"cmdRoll", tumo_->cmdRoll},
                                            {"chkDropLow", tumo_->chkDropLow},
                                            {"chkTimes", tumo_->chkTimes},
                                            {"txtDice", tumo_->txtDice}};
    QWidget* target = controls.value(control);
    target->setFocus();
    const bool wasChecked = tumo_->chkDropLow->isChecked() || tumo_->chkTimes->isChecked();

    QTest::keyClick(target, Qt::Key(key), modifiers);

    QCOMPARE(headings(tumo_->logPath), rolls ? QStringList{"Rolled: 2d6"} : QStringList{});
    // Enter does not tick a box.
    QCOMPARE(tumo_->chkDropLow->isChecked() || tumo_->chkTimes->isChecked(), wasChecked);
}

void TstTumoKeys::emptyPresetFormulaClearsTheBoxAndStopsSilently() {
    PresetTable presets = plainPresets();
    presets.at(4).formula.clear();
    QVERIFY(!writePresetFile(presets));
    loadTumo();
    logRolls();

    tumo_->applyPreset(4);

    QCOMPARE(tumo_->txtInput->text(), QString());
    QVERIFY(headings(tumo_->logPath).isEmpty());
    QCOMPARE(tumo_->txtTotal->text(), std::string());
}

// A hand-edited flag of 2 reads as clear, so the box is not ticked.
void TstTumoKeys::presetFlagsFollowOnlyTheirOwnValue() {
    QByteArray bytes = fileBytes(presetFileName);
    QList<QByteArray> lines = bytes.split('\n');
    lines[6 * 2 + 2] = " 2 \r"; // preset 3, drop low
    lines[6 * 2 + 4] = "1\r";   // preset 3, reroll ones, without blanks
    QVERIFY(writeBytes(presetFileName, lines.join('\n')));
    loadTumo();
    tumo_->chkDropLow->setChecked(true);

    tumo_->applyPreset(3);

    QVERIFY(!tumo_->chkDropLow->isChecked());
    QVERIFY(tumo_->chkReroll->isChecked());
    QCOMPARE(tumo_->lblFunc(3)->toolTip(), QString("[Shift] = 3d6, 1s"));
}

void TstTumoKeys::labelsShowCaptionsAndPresetToolTips() {
    PresetTable presets = plainPresets();
    presets.at(12) = {QStringLiteral(" 4d6"), 1, 1, 1, QStringLiteral(" -1 ")};
    presets.at(11).formula = QStringLiteral("<b>2d6</b>   x");
    QVERIFY(!writePresetFile(presets));
    loadTumo();
    for (int n = 1; n <= presetCount; ++n) {
        QCOMPARE(tumo_->lblFunc(n)->text(), functionKeyCaption(n));
        QVERIFY(tumo_->lblFunc(n)->isVisible());
        // Every caption fits its label, in Courier New or its metric twin.
        const QString family = QFontInfo(tumo_->lblFunc(n)->font()).family();
        if (family == QLatin1String("Courier New") || family == QLatin1String("Liberation Mono"))
            QVERIFY(tumo_->lblFunc(n)->sizeHint().width() <= tumo_->lblFunc(n)->width());
    }
    QCOMPARE(tumo_->lblFunc(1)->toolTip(), QString("[Shift] = 1d6"));
    QCOMPARE(tumo_->lblFunc(12)->toolTip(), QString("[Shift] =  4d6, L, H, 1s, -1"));
    // A formula that looks like markup is shown as typed, blanks kept, as the tool tip shows it.
    const QString tip = tumo_->lblFunc(11)->toolTip();
    QTextDocument shown;
    if (Qt::mightBeRichText(tip))
        shown.setHtml(tip);
    else
        shown.setPlainText(tip);
    QCOMPARE(shown.toPlainText(), QString("[Shift] = <b>2d6</b>   x"));
    QCOMPARE(tumo_->lblFunc(11)->accessibleDescription(), QString("[Shift] = <b>2d6</b>   x"));
}

void TstTumoKeys::doubleClickOnALabelRolls() {
    loadTumo();
    logRolls();
    tumo_->txtAdd->setText(QStringLiteral("+2"));

    QTest::mouseClick(tumo_->lblFunc(7), Qt::LeftButton);
    QVERIFY(headings(tumo_->logPath).isEmpty());

    QTest::mouseDClick(tumo_->lblFunc(7), Qt::LeftButton);
    QCOMPARE(headings(tumo_->logPath), QStringList{"Rolled: (1d4+1)+2"});
    QCOMPARE(tumo_->txtAdd->text(), QString("+2"));
}

void TstTumoKeys::tabIntoABoxSelectsItsText() {
    loadTumo();
    tumo_->txtInput->setText(QStringLiteral("3d6"));
    tumo_->txtAdd->setText(QStringLiteral("+12"));
    tumo_->txtInput->setFocus();
    QTest::keyClick(tumo_->txtInput, Qt::Key_Tab);
    QVERIFY(tumo_->txtAdd->hasFocus());
    QCOMPARE(tumo_->txtAdd->selectedText(), QString("+12"));

    tumo_->chkTimes->setChecked(true);
    tumo_->txtTimes->setText(QStringLiteral("6"));
    tumo_->txtTotal->setFocus();
    QTest::keyClick(tumo_->txtTotal, Qt::Key_Tab);
    QVERIFY(tumo_->txtTimes->hasFocus());
    QCOMPARE(tumo_->txtTimes->selectedText(), QString("6"));
}

void TstTumoKeys::setupCloseLeavesTheFileAndReloads() {
    loadTumo();
    // The file changes behind the window's back; Close must not write, but the reload sees it.
    PresetTable changed = plainPresets();
    changed.at(2).formula = QStringLiteral("9d9");
    QVERIFY(!writePresetFile(changed));
    const QByteArray before = fileBytes(presetFileName);

    const int seen = closeModalsDuring([&] { tumo_->mnusub4_click(); },
                                       [](QWidget* modal) {
                                           auto* setup = qobject_cast<frmSetup*>(modal);
                                           QVERIFY(setup);
                                           setup->txtF1(2)->setText(QStringLiteral("1d2"));
                                           setup->chkLow(2)->setChecked(true);
                                           setup->cmdClose->click();
                                       });

    QCOMPARE(seen, 1);
    QCOMPARE(fileBytes(presetFileName), before);
    QCOMPARE(tumo_->lblFunc(2)->toolTip(), QString("[Shift] = 9d9"));
    QCOMPARE(tumo_->presets.at(2).formula, QString("9d9"));
    QVERIFY(tumo_->isLoaded());
}

void TstTumoKeys::setupSaveUpdatesTheToolTipsAtOnce() {
    loadTumo();
    logRolls();
    closeModalsDuring([&] { tumo_->mnusub4_click(); },
                      [](QWidget* modal) {
                          auto* setup = qobject_cast<frmSetup*>(modal);
                          QVERIFY(setup);
                          setup->txtF1(5)->setText(QStringLiteral("4d8"));
                          setup->chkHigh(5)->setChecked(true);
                          setup->txtAS(5)->setText(QStringLiteral("  +3 "));
                          setup->cmdSave->click();
                      });

    QCOMPARE(tumo_->lblFunc(5)->toolTip(), QString("[Shift] = 4d8, H, +3"));
    // The reload also put the log path back to its default; log into the work folder again.
    logRolls();
    QTest::keyClick(tumo_->txtInput, Qt::Key_F5, Qt::ShiftModifier);
    QCOMPARE(headings(tumo_->logPath), (QStringList{"Rolled: 1d5", "Rolled: (4d8)+3"}));
}

void TstTumoKeys::ctrlFOpensTheSetupOnce() {
    loadTumo();
    QCOMPARE(closeModalsDuring(
                 [&] { QTest::keyClick(tumo_->txtInput, Qt::Key_F, Qt::ControlModifier); }),
             1);
    QCOMPARE(closeModalsDuring([&] {
                 QTest::keyClick(tumo_->txtInput, Qt::Key_F,
                                 Qt::ControlModifier | Qt::ShiftModifier);
             }),
             0);
}

void TstTumoKeys::startWithoutAReadablePresetsFileIsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("named");
    QTest::addRow("missing") << QByteArray() << QString("tumosetup.dat");
    QTest::addRow("short") << QByteArray("F 1\r\n1d6\r\n 0 \r\n")
                           << QString("tumosetup.dat, line 4");
    QTest::addRow("flag not a number")
        << QByteArray("F 1\r\n1d6\r\n yes \r\n") << QString("tumosetup.dat, line 3");
    // Bytes 0 to 255: the CR at 13 ends line 2, and line 3 is no number.
    QByteArray binary;
    for (int code = 0; code < 256; ++code)
        binary += char(code);
    QTest::addRow("binary") << binary.repeated(64) << QString("tumosetup.dat, line 3");
    // Reading stops at the line limit instead of taking the whole line into memory.
    QTest::addRow("10 MB in one line")
        << QByteArray(10 * 1024 * 1024, 'x')
        << QString("tumosetup.dat, line 1: the line is longer than 65536 characters");
}

void TstTumoKeys::unusualPresetsFilesLoad_data() {
    QTest::addColumn<QString>("kind");
    QTest::addRow("LF-only lines") << "LF only";
    QTest::addRow("72 lines, then 10 MB of junk") << "junk after";
}

void TstTumoKeys::unusualPresetsFilesLoad() {
    QFETCH(QString, kind);
    QByteArray bytes = fileBytes(presetFileName);
    if (kind == "LF only") {
        bytes.replace("\r\n", "\n");
    } else {
        QByteArray junk(10 * 1024 * 1024, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i)
            junk[i] = char(i * 7919 % 251);
        bytes += junk;
    }
    QVERIFY(writeBytes(presetFileName, bytes));
    Tumo tumo;
    ModalWatch watch;
    QVERIFY(tumo.Form_Load());
    QCOMPARE(watch.seen(), 0);
    QCOMPARE(tumo.presets, plainPresets());
    QCOMPARE(tumo.lblFunc(12)->toolTip(), QString("[Shift] = 12d6"));
    // Loading never writes the file.
    QCOMPARE(fileBytes(presetFileName), bytes);
}

void TstTumoKeys::startWithoutAReadablePresetsFileIsRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, named);
    QFile::remove(presetFileName);
    if (!bytes.isEmpty())
        QVERIFY(writeBytes(presetFileName, bytes));

    Tumo tumo;
    ModalWatch watch;
    QVERIFY(!tumo.Form_Load());
    QCOMPARE(watch.seen(), 1);
    QCOMPARE(watch.messages.size(), 1);
    QVERIFY2(watch.messages.front().contains(named), qPrintable(watch.messages.front()));
    QVERIFY(!tumo.isLoaded());
    // Nothing of the later start-up steps happened.
    QVERIFY(!QFile::exists(QStringLiteral("temp.txt")));
}

void TstTumoKeys::presetsFileLostBeforeSetupEndsTheProgram() {
    loadTumo();
    QSignalSpy ended(tumo_.get(), &Tumo::noWindowLeft);
    QFile::remove(presetFileName);

    ModalWatch watch;
    tumo_->mnusub4_click();

    QCOMPARE(watch.seen(), 1);
    QCOMPARE(watch.messages.size(), 1);
    QVERIFY(watch.messages.front().contains("tumosetup.dat"));
    QVERIFY(!tumo_->isLoaded());
    QVERIFY(!tumo_->isVisible());
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TstTumoKeys)
#include "tst_tumo_keys.moc"

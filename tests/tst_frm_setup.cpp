#include "frm_setup.h"
#include "modal_watch.h"
#include "patience.h"
#include "preset_test_files.h"
#include "typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace preset_test;

namespace {

// A hand-edited file: odd headers, flags without blanks, a padded amount, LF line ends and a
// stray line after the last record.
QByteArray handEditedFile() {
    QList<QByteArray> lines = plainLines();
    const QList<QByteArray> third = record("", "4d6", "1", " 0", "  1 ", " +2 ");
    for (int i = 0; i < 6; ++i)
        lines[12 + i] = third[i];
    lines += "left over";
    return joined(lines, "\n");
}

} // namespace

class TestFrmSetup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fillsTheGridFromTheFile();
    void opensTopMostAtTheTopLeftCorner();
    void tabOrderRunsThroughTheTextBoxesToSave();
    void closeLeavesTheFileAsItWas_data();
    void closeLeavesTheFileAsItWas();
    void saveWritesTheGrid();
    void saveThatCannotWriteKeepsWindowAndFile();
    void charactersTheFileCannotHoldAreRefused();
    void unreadableFileIsReportedToTheOpener_data();
    void unreadableFileIsReportedToTheOpener();

private:
    QTemporaryDir dir_;
    QString previousDir_;
};

void TestFrmSetup::init() {
    QVERIFY(dir_.isValid());
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
    QVERIFY(writeBytes(presetFileName, handEditedFile()));
}

void TestFrmSetup::cleanup() {
    QDir::setCurrent(previousDir_);
}

void TestFrmSetup::fillsTheGridFromTheFile() {
    frmSetup setup;
    QVERIFY(!setup.loadError());
    QCOMPARE(setup.txtF1(3)->text(), QStringLiteral("4d6"));
    QVERIFY(setup.chkLow(3)->isChecked());
    QVERIFY(!setup.chkHigh(3)->isChecked());
    QVERIFY(setup.chkOne(3)->isChecked());
    QCOMPARE(setup.txtAS(3)->text(), QStringLiteral(" +2 "));
    QCOMPARE(setup.txtF1(12)->text(), QStringLiteral("1d12"));
    QVERIFY(!setup.chkLow(12)->isChecked());
    for (int n = 1; n <= presetCount; ++n)
        QCOMPARE(setup.Label(n)->text(), QStringLiteral("F%1").arg(n));
    QCOMPARE(setup.cmdSave->text(), QStringLiteral("&Save"));
    QCOMPARE(setup.cmdSave->toolTip(), QStringLiteral("Save changes and exit."));
    QCOMPARE(setup.cmdClose->text(), QStringLiteral("&Close"));

    // What the grid shows is what Save would write.
    PresetTable expected = plainTable();
    expected.at(3) = {QStringLiteral("4d6"), 1, 0, 1, QStringLiteral(" +2 ")};
    QCOMPARE(setup.read(), expected);
}

void TestFrmSetup::opensTopMostAtTheTopLeftCorner() {
    frmSetup setup;
    setup.show();
    QVERIFY(QTest::qWaitForWindowExposed(&setup, patienceMs));
    QVERIFY(setup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(setup.frameGeometry().topLeft(),
             QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    QVERIFY(setup.cmdSave->x() < setup.cmdClose->x());
}

void TestFrmSetup::tabOrderRunsThroughTheTextBoxesToSave() {
    frmSetup setup;
    QList<QWidget*> expected;
    for (int n = 1; n <= presetCount; ++n)
        expected << setup.txtF1(n) << setup.txtAS(n);
    expected << setup.cmdSave;
    for (qsizetype i = 0; i + 1 < expected.size(); ++i)
        QCOMPARE(expected[i]->nextInFocusChain(), expected[i + 1]);
}

void TestFrmSetup::closeLeavesTheFileAsItWas_data() {
    QTest::addColumn<QString>("how");
    QTest::addRow("Close button") << "button";
    QTest::addRow("Esc") << "escape";
    QTest::addRow("window close") << "window";
}

void TestFrmSetup::closeLeavesTheFileAsItWas() {
    QFETCH(QString, how);
    const QByteArray before = fileBytes(presetFileName);
    frmSetup setup;
    setup.show();
    setup.txtF1(1)->setText(QStringLiteral("9d9"));
    setup.chkHigh(3)->setChecked(true);
    if (how == u"button")
        setup.cmdClose->click();
    else if (how == u"escape")
        QTest::keyClick(setup.txtF1(1), Qt::Key_Escape);
    else
        setup.close();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.result(), int(QDialog::Rejected));
    QCOMPARE(fileBytes(presetFileName), before);

    frmSetup reopened;
    QCOMPARE(reopened.txtF1(1)->text(), QStringLiteral("1d1"));
    QVERIFY(!reopened.chkHigh(3)->isChecked());
}

void TestFrmSetup::saveWritesTheGrid() {
    frmSetup setup;
    setup.show();
    setup.txtAS(3)->setText(QStringLiteral("  -1  "));
    setup.txtAS(4)->setText(QStringLiteral("   "));
    setup.txtF1(5)->setText(QString());
    setup.chkHigh(5)->setChecked(true);
    setup.cmdSave->click();
    QVERIFY(!setup.isVisible());
    QCOMPARE(setup.result(), int(QDialog::Accepted));

    QList<QByteArray> lines = plainLines();
    const QList<QByteArray> third = record("F 3", "4d6", " 1 ", " 0 ", " 1 ", "-1");
    const QList<QByteArray> fifth = record("F 5", "", " 0 ", " 1 ", " 0 ", "");
    for (int i = 0; i < 6; ++i) {
        lines[12 + i] = third[i];
        lines[24 + i] = fifth[i];
    }
    QCOMPARE(fileBytes(presetFileName), joined(lines));

    frmSetup reopened;
    QCOMPARE(reopened.txtAS(3)->text(), QStringLiteral("-1"));
    QCOMPARE(reopened.txtAS(4)->text(), QString());
    QVERIFY(reopened.chkHigh(5)->isChecked());
}

void TestFrmSetup::saveThatCannotWriteKeepsWindowAndFile() {
    // Root ignores permissions, so the save is made to fail by turning the file's folder into a
    // plain file after the window has read it.
    QVERIFY(QDir().mkdir(QStringLiteral("keys")));
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("keys/tumosetup.dat"));
    QVERIFY(writeBytes(path, handEditedFile()));
    frmSetup setup(nullptr, path);
    QVERIFY(!setup.loadError());
    setup.show();
    QVERIFY(QDir().rename(QStringLiteral("keys"), QStringLiteral("kept")));
    QVERIFY(writeBytes(QStringLiteral("keys"), "not a folder"));

    setup.txtF1(2)->setText(QStringLiteral("7d7"));
    ModalWatch watch;
    setup.cmdSave->click();

    QCOMPARE(watch.seen(), 1);
    QCOMPARE(watch.messages.size(), 1);
    QVERIFY2(watch.messages.front().contains(path), qPrintable(watch.messages.front()));
    QVERIFY(setup.isVisible());
    QCOMPARE(setup.txtF1(2)->text(), QStringLiteral("7d7"));
    QCOMPARE(fileBytes(QStringLiteral("kept/tumosetup.dat")), handEditedFile());

    // Once the folder is back, the same window saves the edits.
    QVERIFY(QFile::remove(QStringLiteral("keys")));
    QVERIFY(QDir().rename(QStringLiteral("kept"), QStringLiteral("keys")));
    setup.cmdSave->click();
    QVERIFY(!setup.isVisible());
    QVERIFY(fileBytes(path).contains("\r\n7d7\r\n"));
}

void TestFrmSetup::charactersTheFileCannotHoldAreRefused() {
    frmSetup setup;
    setup.show();
    // Typed, such a character is refused as it comes; the rest goes in.
    typeText(setup.txtAS(5), QStringLiteral("+2\u20ac"));
    QCOMPARE(setup.txtAS(5)->text(), QStringLiteral("+2"));

    // Put there by other means, Save names the key and the character and stays open.
    setup.txtF1(7)->setText(QStringLiteral("2d6\u2013"));
    ModalWatch watch;
    setup.cmdSave->click();
    QCOMPARE(watch.messages.size(), 1);
    const QString& message = watch.messages.front();
    QVERIFY2(message.contains(QStringLiteral("F7 formula")) && message.contains(u'\u2013'),
             qPrintable(message));
    QVERIFY(setup.isVisible());
    QCOMPARE(fileBytes(presetFileName), handEditedFile());
}

void TestFrmSetup::unreadableFileIsReportedToTheOpener_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addRow("missing") << QByteArray() << QString();
    QList<QByteArray> lines = plainLines();
    lines[4] = "x";
    QTest::addRow("malformed flag")
        << joined(lines) << "tumosetup.dat, line 5: a number was expected";
}

void TestFrmSetup::unreadableFileIsReportedToTheOpener() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    if (bytes.isEmpty())
        QVERIFY(QFile::remove(presetFileName));
    else
        QVERIFY(writeBytes(presetFileName, bytes));
    frmSetup setup;
    QVERIFY(setup.loadError());
    if (message.isEmpty())
        QVERIFY(setup.loadError()->message().startsWith(QStringLiteral("tumosetup.dat: ")));
    else
        QCOMPARE(setup.loadError()->message(), message);
}

QTEST_MAIN(TestFrmSetup)
#include "tst_frm_setup.moc"

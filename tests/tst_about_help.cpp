// The about box and the help window.
#include "frm_about.h"
#include "frm_help.h"
#include "modal_watch.h"
#include "mouse_label.h"
#include "patience.h"
#include "tumo.h"
#include "work_dir.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWindow>

class TstAboutHelp : public QObject {
    Q_OBJECT

private slots:
    void init() { workDir_ = std::make_unique<TemporaryWorkDir>(); }
    void cleanup() { workDir_.reset(); }

    void aboutOpensModallyOverTheMainWindow();
    void aboutHidesTheLinkWithoutAWebAddress();
    void aboutCloses_data();
    void aboutCloses();
    void helpShowsTheFileAsItIs();
    void helpShowsUnusualFiles_data();
    void helpShowsUnusualFiles();
    void helpReportsAFileItCannotShow_data();
    void helpReportsAFileItCannotShow();
    void helpRereadsTheFileOnlyAfterItWasClosed();
    void helpCloses_data();
    void helpCloses();
    void helpStaysAboveATopMostMainWindow_data();
    void helpStaysAboveATopMostMainWindow();

private:
    std::unique_ptr<TemporaryWorkDir> workDir_;
};

void TstAboutHelp::aboutOpensModallyOverTheMainWindow() {
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.move(140, 95);
    tumo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tumo, patienceMs));

    QPoint aboutPosition;
    bool topMost = false;
    QSize size;
    QString version;
    const int seen =
        closeModalsDuring([&] { tumo.mnusub3->trigger(); },
                          [&](QWidget* modal) {
                              auto* about = qobject_cast<frmAbout*>(modal);
                              QVERIFY(about);
                              aboutPosition = about->pos();
                              topMost = about->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                              size = about->size();
                              version = about->Label7->text();
                          });
    QCOMPARE(seen, 1);
    QCOMPARE(aboutPosition, tumo.pos());
    QVERIFY(topMost);
    QCOMPARE(size, QSize(321, 274));
    QCOMPARE(version, QStringLiteral("Version 1.5"));
}

void TstAboutHelp::aboutHidesTheLinkWithoutAWebAddress() {
    frmAbout about(nullptr);
    about.show();
    // This build has no web address: the invitation and the link are not shown.
    QVERIFY(about.Label6->isHidden());
    QVERIFY(about.Label4->isHidden());
    // The notice tells what the MIT licence allows: selling included.
    QVERIFY(about.Label3->text().contains(QStringLiteral("MIT licence")));
    QVERIFY(about.Label3->text().contains(QStringLiteral("sell")));
    QVERIFY(!about.Label3->text().contains(QStringLiteral("not be sold")));
    QCOMPARE(about.cmdClose->text(), QStringLiteral("&Close"));
}

void TstAboutHelp::aboutCloses_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
    QTest::addRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::addRow("Alt+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::AltModifier);
}

void TstAboutHelp::aboutCloses() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    frmAbout about(nullptr);
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about, patienceMs));
    QTest::keyClick(&about, Qt::Key(key), modifiers);
    // Alt+C animates a click on the button, which ends in a later event.
    QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), patienceMs);
}

void TstAboutHelp::helpShowsTheFileAsItIs() {
    // CR LF and LF line ends, a blank line, a Latin-1 letter and more lines than fit.
    QByteArray bytes("Rollbox help\r\n\r\nCaf\xe9 rules\nlast of the first part\r\n");
    for (int i = 0; i < 60; ++i)
        bytes += "filler line " + QByteArray::number(i) + "\r\n";
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), bytes));

    frmHelp help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help, patienceMs));
    const QString shown = help.txtHelp->toPlainText();
    QVERIFY(shown.startsWith(
        QStringLiteral("Rollbox help\n\nCaf\u00e9 rules\nlast of the first part\n")));
    QCOMPARE(help.txtHelp->document()->blockCount(), 4 + 60 + 1);
    QVERIFY(help.txtHelp->isReadOnly());
    QCOMPARE(help.txtHelp->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(help.txtHelp->verticalScrollBar()->maximum() > 0);
    QCOMPARE(help.size(), QSize(514, 441));
}

void TstAboutHelp::helpShowsUnusualFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    // Every byte value, NUL included, stands for the character of that code; the CR (13) is
    // a line break. Nothing after the NUL is lost.
    QByteArray everyByte;
    for (int code = 0; code < 256; ++code)
        everyByte += char(code);
    everyByte += "after";
    QString everyCharacter = QString::fromLatin1(everyByte);
    everyCharacter[13] = u'\n';
    QTest::addRow("binary") << everyByte << everyCharacter;

    // At most the first mebibyte is shown, and the window says that the rest was left out; a
    // CR LF cut in two shows as one line break.
    QByteArray manyLines;
    while (manyLines.size() < 10 * 1024 * 1024)
        manyLines += "Help line " + QByteArray::number(manyLines.size()) + "\r\n";
    const QByteArray firstMebibyte = manyLines.left(1024 * 1024);
    QTest::addRow("10 MB of lines")
        << manyLines
        << QString::fromLatin1(firstMebibyte).replace("\r\n", "\n").replace(u'\r', u'\n') +
               QStringLiteral("\n\n[The help file \"tumoinfo.dat\" is longer than 1 MiB: the "
                              "rest of it was left out.]");

    // At most 65536 lines are shown, however short.
    QTest::addRow("1 MiB of LF")
        << QByteArray(1024 * 1024, '\n')
        << QString(65535, u'\n') +
               QStringLiteral("\n\n[The help file \"tumoinfo.dat\" has more than 65536 lines: "
                              "the rest of it was left out.]");

    // A line too long to lay out in one piece is shown in pieces of 4096 characters.
    const QByteArray piece(4096, 'x');
    QString pieces = QString::fromLatin1(piece);
    for (int i = 1; i < 256; ++i)
        pieces += u'\n' + QString::fromLatin1(piece);
    QTest::addRow("1 MiB in one line") << piece.repeated(256) << pieces;
    // Cut after the last blank where the piece has one.
    const QByteArray words = QByteArray(4000, 'a') + ' ' + QByteArray(200, 'b');
    QTest::addRow("long line with a blank")
        << words << QString(4000, u'a') + QStringLiteral(" \n") + QString(200, u'b');
}

void TstAboutHelp::helpShowsUnusualFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), bytes));
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();

    QCOMPARE(closeModalsDuring([&] { tumo.mnusub7_click(); }), 0);

    QVERIFY(tumo.helpWindow && tumo.helpWindow->isVisible());
    QVERIFY(tumo.isLoaded());
    // The raw text, so that no-break spaces and NULs are seen as they are.
    const QString raw =
        tumo.helpWindow->txtHelp->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    QCOMPARE(raw.size(), shown.size());
    QVERIFY(raw == shown);
}

void TstAboutHelp::helpReportsAFileItCannotShow_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    QTest::addRow("missing") << "missing"
                             << "could not be read";
    QTest::addRow("a folder") << "folder"
                              << "could not be read";
    QTest::addRow("empty") << "empty"
                           << "is empty";
}

void TstAboutHelp::helpReportsAFileItCannotShow() {
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(QStringLiteral("tumoinfo.dat")));
    else if (kind == QLatin1String("empty"))
        QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), {}));

    frmHelp help;
    const QString shown = help.txtHelp->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("\"tumoinfo.dat\"")), qPrintable(shown));
    QVERIFY2(shown.contains(expected), qPrintable(shown));
}

void TstAboutHelp::helpRereadsTheFileOnlyAfterItWasClosed() {
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "First text\r\n"));
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();

    tumo.mnusub7_click();
    QPointer<frmHelp> first = tumo.helpWindow;
    QVERIFY(first);
    QCOMPARE(first->txtHelp->toPlainText(), QStringLiteral("First text\n"));

    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "Second text\r\n"));
    tumo.mnusub7_click();
    QCOMPARE(tumo.helpWindow.data(), first.data());
    QCOMPARE(first->txtHelp->toPlainText(), QStringLiteral("First text\n"));

    first->cmdClose->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!tumo.helpWindow);

    tumo.mnusub7_click();
    QVERIFY(tumo.helpWindow);
    QCOMPARE(tumo.helpWindow->txtHelp->toPlainText(), QStringLiteral("Second text\n"));
}

void TstAboutHelp::helpCloses_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
    QTest::addRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::addRow("Alt+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::AltModifier);
}

void TstAboutHelp::helpCloses() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QVERIFY(writeBytes(QStringLiteral("tumoinfo.dat"), "Help.\r\n"));
    QPointer<frmHelp> help = new frmHelp;
    help->show();
    help->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(help, patienceMs));
    QTest::keyClick(help, Qt::Key(key), modifiers);
    // Closing deletes the window, so that the next Help reads the file again.
    QTRY_VERIFY_WITH_TIMEOUT(!help, patienceMs);
}

void TstAboutHelp::helpStaysAboveATopMostMainWindow_data() {
    QTest::addColumn<bool>("openedFirst");
    QTest::addRow("opened after Set to Top") << false;
    QTest::addRow("open before Set to Top") << true;
}

// The window manager keeps a transient window above its owner, and a top-most one above the
// normal windows; offscreen shows both as the window's own properties.
void TstAboutHelp::helpStaysAboveATopMostMainWindow() {
    QFETCH(bool, openedFirst);
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tumo, patienceMs));
    auto topMost = [](QWidget* window) {
        return window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    };

    if (openedFirst)
        tumo.mnusub7->trigger();
    tumo.mnusub5->trigger();
    if (!openedFirst)
        tumo.mnusub7->trigger();
    frmHelp* help = tumo.helpWindow;
    QVERIFY(help && help->isVisible());
    QVERIFY(topMost(&tumo));
    QVERIFY(topMost(help));
    // A window is mapped with its transient parent: the one opened now is the main window's
    // dialog.
    if (!openedFirst) {
        QCOMPARE(help->windowHandle()->transientParent(), tumo.windowHandle());
        QCOMPARE(help->windowHandle()->type(), Qt::Dialog);
    }

    // Back to normal, the help window is normal too; opened afresh, independent of the main
    // window again.
    tumo.mnusub6->trigger();
    QVERIFY(!topMost(&tumo));
    QVERIFY(!topMost(help));
    help->close();
    QTRY_VERIFY_WITH_TIMEOUT(!tumo.helpWindow, patienceMs);
    tumo.mnusub7->trigger();
    QVERIFY(tumo.helpWindow && !topMost(tumo.helpWindow));
    QCOMPARE(tumo.helpWindow->windowHandle()->transientParent(), nullptr);
    tumo.helpWindow->close();
}

QTEST_MAIN(TstAboutHelp)
#include "tst_about_help.moc"

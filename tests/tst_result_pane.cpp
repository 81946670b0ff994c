// The result pane as a read-only text box: exact text, wrap, scrolling, selection, clipboard,
// context menu and accessibility, on the offscreen platform.
#include "pane_layout.h"
#include "patience.h"
#include "result_pane.h"
#include "roll_request.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <memory>
#include <string>

namespace {

QString latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A record of a million die lines, as 1000d1000 rolled 1000 times would show them.
std::string millionLines() {
    std::string text;
    text.reserve(20'000'000);
    for (int k = 1; k <= 1'000'000; ++k)
        text.append("d1000(")
            .append(std::to_string(k))
            .append(")>  ")
            .append(std::to_string(k % 997 + 1))
            .append("\r\n");
    return text;
}

const std::string smallRecord = "Rolled: 3d6\r\n==========================\r\nTotal:  9\r\n";

} // namespace

class TestResultPane : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wrapLine_data();
    void wrapLine();
    void lineIndex_data();
    void lineIndex();
    void wrappedRowsCoverEveryOffset();

    void textRoundTrips_data();
    void textRoundTrips();
    void refusalWrapsAndIsFullyVisible_data();
    void refusalWrapsAndIsFullyVisible();
    void selectAllThenCopyTakesWholeText();
    void shiftArrowsSelectAndCopyPart();
    void paneKeysWinOverWindowShortcuts();
    void shiftDownSelectsLineWithItsBreak();
    void mouseDragSelects();
    void doubleClickSelectsWord();
    void ctrlEndShowsLastLineOfMillion();
    void pageDownMovesByVisibleRows();
    void wheelScrollsRows();
    void downMovesThroughWrappedRows();
    void newTextResetsScrollAndSelection();
    void contextMenuHasCopyAndSelectAll();
    void tabMovesFocusOn();
    void accessibleInterfaceGivesWholeText();

private:
    std::unique_ptr<QWidget> window_;
    QLineEdit* before_ = nullptr;
    ResultPane* pane_ = nullptr;
    QLineEdit* after_ = nullptr;
};

// A window like the main one around a pane of the totals pane's size, with a box on each side
// in the tab order.
void TestResultPane::init() {
    window_ = std::make_unique<QWidget>();
    window_->resize(400, 200);
    before_ = new QLineEdit(window_.get());
    before_->setGeometry(10, 10, 100, 24);
    pane_ = new ResultPane(window_.get());
    pane_->setGeometry(10, 40, 330, 120);
    pane_->setToolTip(QStringLiteral("Total of formula."));
    after_ = new QLineEdit(window_.get());
    after_->setGeometry(10, 166, 100, 24);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get(), patienceMs));
    QGuiApplication::clipboard()->clear();
}

void TestResultPane::cleanup() {
    window_.reset();
}

void TestResultPane::wrapLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("rowStarts");
    QTest::addRow("fits") << "Total:  9" << 9 << QList<int>{0};
    QTest::addRow("breaks after a blank") << "word1 word2" << 8 << QList<int>{0, 6};
    QTest::addRow("blank at the edge hangs") << "word1 word2" << 5 << QList<int>{0, 6};
    QTest::addRow("long word breaks anywhere") << "abcdefghij" << 4 << QList<int>{0, 4, 8};
    QTest::addRow("run of blanks hangs") << "ab   cd" << 3 << QList<int>{0, 5};
    QTest::addRow("trailing blanks hang") << "abc   " << 3 << QList<int>{0};
    QTest::addRow("word after leading blanks") << "  abcdef" << 4 << QList<int>{0, 2, 6};
}

void TestResultPane::wrapLine() {
    QFETCH(QString, line);
    QFETCH(int, columns);
    QFETCH(QList<int>, rowStarts);
    const QByteArray bytes = line.toLatin1();
    std::vector<std::size_t> starts;
    ::wrapLine(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
               static_cast<std::size_t>(columns), starts);
    QList<int> got;
    for (std::size_t s : starts)
        got << static_cast<int>(s);
    QCOMPARE(got, rowStarts);
}

void TestResultPane::lineIndex_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addRow("empty") << QByteArray() << QStringList{""};
    QTest::addRow("final CR LF gives an empty last line")
        << QByteArray("ab\r\ncd\r\n") << QStringList{"ab", "cd", ""};
    QTest::addRow("no final break") << QByteArray("ab\r\ncd") << QStringList{"ab", "cd"};
    QTest::addRow("LF alone") << QByteArray("ab\ncd\n") << QStringList{"ab", "cd", ""};
    QTest::addRow("lone CR stays in the line") << QByteArray("a\rb\r\n") << QStringList{"a\rb", ""};
    QTest::addRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", "", ""};
    QTest::addRow("past a 16-byte block") << QByteArray("0123456789abcdefghij\r\nxyz\r\n")
                                          << QStringList{"0123456789abcdefghij", "xyz", ""};
}

void TestResultPane::lineIndex() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    PaneLayout layout;
    layout.setText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    layout.setColumns(80);
    QCOMPARE(layout.lineCount(), static_cast<std::size_t>(lines.size()));
    QCOMPARE(layout.rowCount(), static_cast<std::size_t>(lines.size()));
    for (std::size_t i = 0; i < layout.lineCount(); ++i) {
        const auto start = static_cast<qsizetype>(layout.lineStart(i));
        const auto length = static_cast<qsizetype>(layout.lineEnd(i)) - start;
        QCOMPARE(QString::fromLatin1(text.mid(start, length)), lines.at(static_cast<qsizetype>(i)));
    }
}

// Rows of wrapped lines follow each other without gap or overlap, and every caret offset is
// found in the row that holds it.
void TestResultPane::wrappedRowsCoverEveryOffset() {
    std::string text = "Rolled: 3d6\r\n";
    text.append(formulaMessage).append("\r\n\r\n").append(addMessage).append("\n");
    text.append(std::string(45, 'x')).append("\r\n").append(timesMessage);
    PaneLayout layout;
    layout.setText(text);
    layout.setColumns(20);
    QVERIFY(layout.rowCount() > layout.lineCount());
    std::size_t expectedStart = 0;
    for (std::size_t r = 0; r < layout.rowCount(); ++r) {
        const PaneLayout::Row row = layout.row(r);
        QCOMPARE(row.start, expectedStart);
        QVERIFY(row.end >= row.start);
        const bool lastOfLine = row.end == layout.lineEnd(row.line);
        expectedStart = lastOfLine && row.line + 1 < layout.lineCount()
                            ? layout.lineStart(row.line + 1)
                            : row.end;
        for (std::size_t offset = row.start; offset < row.end; ++offset)
            QCOMPARE(layout.rowOf(offset), r);
        if (lastOfLine)
            QCOMPARE(layout.rowOf(row.end), r);
    }
    QCOMPARE(expectedStart, text.size());
}

void TestResultPane::textRoundTrips_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addRow("record with final CR LF") << QByteArray::fromStdString(smallRecord);
    QTest::addRow("refusal without a break")
        << QByteArray(formulaMessage.data(), formulaMessage.size());
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("every byte value") << [] {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        return all;
    }();
}

void TestResultPane::textRoundTrips() {
    QFETCH(QByteArray, text);
    const std::string bytes = text.toStdString();
    pane_->setText(bytes);
    QCOMPARE(pane_->text(), bytes);

    std::string taken = pane_->takeText();
    QCOMPARE(taken, bytes);
    QVERIFY(pane_->text().empty());
    pane_->adoptText(std::move(taken));
    QCOMPARE(pane_->text(), bytes);
    QCOMPARE(pane_->toPlainText(),
             latin1(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestResultPane::refusalWrapsAndIsFullyVisible_data() {
    QTest::addColumn<QString>("message");
    QTest::addRow("formula") << latin1(formulaMessage);
    QTest::addRow("add box") << latin1(addMessage);
    QTest::addRow("count box") << latin1(timesMessage);
}

void TestResultPane::refusalWrapsAndIsFullyVisible() {
    QFETCH(QString, message);
    pane_->setText(message.toStdString());
    const PaneLayout& layout = pane_->layout();
    QCOMPARE(layout.lineCount(), std::size_t{1});
    QVERIFY(layout.rowCount() > 1);
    QVERIFY(layout.rowCount() <= pane_->visibleRowCount());
    QCOMPARE(pane_->verticalScrollBar()->maximum(), 0);

    // Every row fits the width (blanks at a break may hang), and together they show every word.
    const QStringList rows = pane_->visibleRows();
    QCOMPARE(static_cast<std::size_t>(rows.size()), layout.rowCount());
    for (const QString& row : rows)
        QVERIFY2(static_cast<std::size_t>(row.trimmed().size()) <= layout.columns(),
                 qPrintable(row));
    QCOMPARE(rows.join(QString()), message);
    const QRect lastCharacter = pane_->characterRect(message.size() - 1);
    QVERIFY(pane_->viewport()->rect().contains(lastCharacter));
}

void TestResultPane::selectAllThenCopyTakesWholeText() {
    pane_->setText(smallRecord);
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), latin1(smallRecord));
}

void TestResultPane::shiftArrowsSelectAndCopyPart() {
    pane_->setText(smallRecord);
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(pane_, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(pane_->selectedText(), QStringLiteral("Rolled"));
    QTest::keyClick(pane_, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(pane_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Rolle"));

    // Without Shift an arrow drops the selection.
    QTest::keyClick(pane_, Qt::Key_Right);
    QVERIFY(!pane_->hasSelection());
}

void TestResultPane::paneKeysWinOverWindowShortcuts() {
    int triggered = 0;
    auto* action = new QAction(window_.get());
    action->setShortcut(QKeySequence::SelectAll);
    window_->addAction(action);
    connect(action, &QAction::triggered, this, [&] { ++triggered; });
    pane_->setText(smallRecord);
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(pane_->selectedText(), latin1(smallRecord));
    QCOMPARE(triggered, 0);
    // With the focus elsewhere the same keys reach the window's shortcut.
    window_->setFocusPolicy(Qt::StrongFocus);
    window_->setFocus();
    QTest::keyClick(window_.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(triggered, 1);
}

void TestResultPane::shiftDownSelectsLineWithItsBreak() {
    pane_->setText(smallRecord);
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(pane_->selectedText(), QStringLiteral("Rolled: 3d6\r\n"));
    QTest::keyClick(pane_, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pane_->selectedText(), latin1(smallRecord));
}

void TestResultPane::mouseDragSelects() {
    pane_->setText(smallRecord);
    const QPoint from =
        pane_->characterRect(0).center() - QPoint(pane_->characterRect(0).width() / 2, 0);
    const QPoint to =
        pane_->characterRect(6).center() - QPoint(pane_->characterRect(6).width() / 2, 0);
    QTest::mousePress(pane_->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(pane_->viewport(), to);
    QTest::mouseRelease(pane_->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(pane_->selectedText(), QStringLiteral("Rolled"));
    QVERIFY(pane_->hasFocus());
}

void TestResultPane::doubleClickSelectsWord() {
    pane_->setText(smallRecord);
    const std::size_t total = smallRecord.find("Total");
    QTest::mouseDClick(pane_->viewport(), Qt::LeftButton, {},
                       pane_->characterRect(total + 2).center());
    QCOMPARE(pane_->selectedText(), QStringLiteral("Total"));
}

void TestResultPane::ctrlEndShowsLastLineOfMillion() {
    const std::string record = millionLines();
    pane_->setText(record);
    QCOMPARE(pane_->text().size(), record.size());
    QCOMPARE(pane_->layout().rowCount(), std::size_t{1'000'001});
    QVERIFY(pane_->visibleRows().contains(QStringLiteral("d1000(1)>  2")));

    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(pane_->caretPosition(), record.size());
    QCOMPARE(pane_->verticalScrollBar()->value(), pane_->verticalScrollBar()->maximum());
    const QStringList rows = pane_->visibleRows();
    QVERIFY2(rows.contains(QStringLiteral("d1000(1000000)>  %1").arg(1'000'000 % 997 + 1)),
             qPrintable(rows.join(QLatin1Char('|'))));

    QTest::keyClick(pane_, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(pane_->verticalScrollBar()->value(), 0);
}

void TestResultPane::pageDownMovesByVisibleRows() {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text.append("line ").append(std::to_string(i)).append("\r\n");
    pane_->setText(text);
    pane_->setFocus();
    const auto page = static_cast<int>(pane_->visibleRowCount());
    QTest::keyClick(pane_, Qt::Key_PageDown);
    QCOMPARE(pane_->layout().lineOf(pane_->caretPosition()), static_cast<std::size_t>(page));
    QCOMPARE(pane_->verticalScrollBar()->value(), page);
    QTest::keyClick(pane_, Qt::Key_PageUp);
    QCOMPARE(pane_->caretPosition(), std::size_t{0});
    QCOMPARE(pane_->verticalScrollBar()->value(), 0);
}

void TestResultPane::wheelScrollsRows() {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text.append("line ").append(std::to_string(i)).append("\r\n");
    pane_->setText(text);
    const QPointF at = pane_->viewport()->rect().center();
    QWheelEvent down(at, pane_->viewport()->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pane_->viewport(), &down);
    const int scrolled = pane_->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    QCOMPARE(pane_->visibleRows().first(), QStringLiteral("line %1").arg(scrolled));
}

void TestResultPane::downMovesThroughWrappedRows() {
    pane_->setText(formulaMessage);
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_Down);
    const PaneLayout& layout = pane_->layout();
    QCOMPARE(layout.rowOf(pane_->caretPosition()), std::size_t{1});
    QCOMPARE(pane_->caretPosition(), layout.row(1).start);
}

void TestResultPane::newTextResetsScrollAndSelection() {
    auto lines = [](const char* word) {
        std::string text = smallRecord;
        for (int i = 0; i < 100; ++i)
            text.append(word).append(std::to_string(i)).append("\r\n");
        return text;
    };
    pane_->setText(lines("old "));
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(pane_->verticalScrollBar()->value() > 0);
    QVERIFY(pane_->hasSelection());

    // The new text scrolls as far, so only a reset brings it back to the top.
    pane_->setText(lines("new "));
    QCOMPARE(pane_->verticalScrollBar()->value(), 0);
    QVERIFY(!pane_->hasSelection());
    QCOMPARE(pane_->caretPosition(), std::size_t{0});
    QCOMPARE(pane_->visibleRows().first(), QStringLiteral("Rolled: 3d6"));
}

void TestResultPane::contextMenuHasCopyAndSelectAll() {
    pane_->setText(smallRecord);
    std::unique_ptr<QMenu> menu(pane_->createContextMenu(nullptr));
    QAction* copy = nullptr;
    QAction* selectAll = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("&Copy"))
            copy = action;
        else if (action->text() == QStringLiteral("Select All"))
            selectAll = action;
    }
    QVERIFY(copy && selectAll);
    QVERIFY(!copy->isEnabled()); // nothing selected yet
    selectAll->trigger();
    QCOMPARE(pane_->selectedText(), latin1(smallRecord));

    menu.reset(pane_->createContextMenu(nullptr));
    copy = menu->actions().first();
    QVERIFY(copy->isEnabled());
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), latin1(smallRecord));
}

void TestResultPane::tabMovesFocusOn() {
    QCOMPARE(pane_->focusPolicy(), Qt::StrongFocus);
    before_->setFocus();
    QTest::keyClick(before_, Qt::Key_Tab);
    QVERIFY(pane_->hasFocus());
    QTest::keyClick(pane_, Qt::Key_Tab);
    QVERIFY(after_->hasFocus());
}

void TestResultPane::accessibleInterfaceGivesWholeText() {
    const std::string record = smallRecord + "d6(1)>  4\r\n";
    pane_->setText(record);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(pane_);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().readOnly);
    QVERIFY(accessible->state().multiLine);
    QCOMPARE(accessible->text(QAccessible::Value), latin1(record));
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("Total of formula."));

    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), static_cast<int>(record.size()));
    QCOMPARE(text->text(0, text->characterCount()), latin1(record));
    text->setSelection(0, 0, 6);
    QCOMPARE(pane_->selectedText(), QStringLiteral("Rolled"));
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 0);
    QCOMPARE(end, 6);
}

QTEST_MAIN(TestResultPane)
#include "tst_result_pane.moc"

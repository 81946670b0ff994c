// Screen readers and keyboards: every control of every window has a name, descriptions are the
// tooltips, and the mini roller's popup menu opens from the keyboard.
#include "accessible_names.h"
#include "frm_about.h"
#include "frm_help.h"
#include "frm_odds.h"
#include "frm_save.h"
#include "frm_setup.h"
#include "mini.h"
#include "mini_about.h"
#include "mouse_label.h"
#include "result_pane.h"
#include "tumo.h"

#include "patience.h"
#include "work_dir.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

class TstAccessibility : public QObject {
    Q_OBJECT

private slots:
    void init() { workDir_ = std::make_unique<TemporaryWorkDir>(); }
    void cleanup() { workDir_.reset(); }

    void namingRules_data();
    void namingRules();
    void givenNamesAreKept();
    void partsOfAControlAreLeftAlone();

    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void boxesAreNamedByTheirCaptions();
    void setupGridNamesRowAndColumn();
    void menuKeyOpensTheMiniMenu();
    void menuKeyOpensTheMainMenu();

private:
    std::unique_ptr<TemporaryWorkDir> workDir_;
};

namespace {

using WindowMaker = std::function<std::unique_ptr<QWidget>()>;

QString spokenName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

QString spokenDescription(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Description) : QString();
}

bool insideAControl(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

// What a user can read, press, tick, type into or reach with Tab.
bool isControl(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || w->focusPolicy() != Qt::NoFocus;
}

QString describe(const QWidget* w) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    const QRect r = w->geometry();
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(QString::fromLatin1(w->metaObject()->className()), text)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

} // namespace

// A window placed by hand, as most of the program's windows are.
void TstAccessibility::namingRules_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("expected");
    QTest::addRow("button: access key dropped") << "button"
                                                << "&Roll!"
                                                << ""
                                                << "Roll!";
    QTest::addRow("button: doubled ampersand") << "button"
                                               << "Salt && &Pepper"
                                               << ""
                                               << "Salt & Pepper";
    QTest::addRow("button: no caption, tooltip") << "button"
                                                 << ""
                                                 << "Close"
                                                 << "Close";
    QTest::addRow("check box") << "check"
                               << "Drop &Lowest"
                               << "Drop the lowest."
                               << "Drop Lowest";
    QTest::addRow("label: text in one line") << "label"
                                             << "Add/\nSubtract"
                                             << ""
                                             << "Add/ Subtract";
    QTest::addRow("label: rich text read plain") << "label"
                                                 << "<b>Dice</b> here"
                                                 << ""
                                                 << "Dice here";
    QTest::addRow("picture: tooltip") << "picture"
                                      << ""
                                      << "Minimize"
                                      << "Minimize";
    QTest::addRow("box: buddy on its left") << "box buddy left"
                                            << "+/-"
                                            << "Amount."
                                            << "+/-";
    QTest::addRow("box: buddy above") << "box buddy above"
                                      << "Enter the formula:"
                                      << "Example: 3d6"
                                      << "Enter the formula:";
    QTest::addRow("box: buddy far away") << "box buddy far"
                                         << "Far"
                                         << "Formula"
                                         << "Far";
    QTest::addRow("box: buddy's access key dropped") << "box buddy left"
                                                     << "&Path"
                                                     << "Where"
                                                     << "Path";
    // Where the controls lie says nothing: a caption that is no buddy does not name the box.
    QTest::addRow("box: label beside, tooltip") << "box left"
                                                << "+/-"
                                                << "Amount."
                                                << "Amount.";
    QTest::addRow("box: label above, tooltip") << "box above"
                                               << "Enter the formula:"
                                               << "Example: 3d6"
                                               << "Example: 3d6";
    QTest::addRow("box: check box beside, tooltip") << "box check left"
                                                    << "Times"
                                                    << "How often"
                                                    << "How often";
    QTest::addRow("box: nothing at all") << "box left"
                                         << "Beside"
                                         << ""
                                         << "";
}

void TstAccessibility::namingRules() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(QString, expected);

    QWidget window;
    window.resize(400, 200);
    QWidget* control = nullptr;
    if (kind == "button") {
        control = new QPushButton(caption, &window);
    } else if (kind == "check") {
        control = new QCheckBox(caption, &window);
    } else if (kind == "label" || kind == "picture") {
        auto* label = new QLabel(caption, &window);
        if (kind == "picture") {
            QPixmap picture(19, 19);
            picture.fill(Qt::yellow);
            label->setPixmap(picture);
        }
        control = label;
    } else {
        auto* box = new QLineEdit(&window);
        box->setGeometry(100, 50, 120, 30);
        QWidget* captionWidget = nullptr;
        if (kind.contains("check"))
            captionWidget = new QCheckBox(caption, &window);
        else
            captionWidget = new QLabel(caption, &window);
        if (kind.endsWith("left"))
            captionWidget->setGeometry(40, 54, 56, 22);
        else if (kind.endsWith("above"))
            captionWidget->setGeometry(100, 26, 200, 20);
        else if (kind.endsWith("far"))
            captionWidget->setGeometry(300, 160, 90, 22);
        if (kind.contains("buddy"))
            static_cast<QLabel*>(captionWidget)->setBuddy(box);
        control = box;
    }
    control->setToolTip(toolTip);

    QCOMPARE(derivedAccessibleName(control), expected);
    nameControlsForAccessibility(&window);
    QCOMPARE(control->accessibleName(), expected);
    if (!expected.isEmpty())
        QCOMPARE(spokenName(control), expected);
    // The description is the tooltip, as a screen reader gets it.
    QCOMPARE(spokenDescription(control), toolTip);
}

void TstAccessibility::givenNamesAreKept() {
    QWidget window;
    auto* button = new QPushButton("&Okay", &window);
    button->setAccessibleName("Confirm");
    auto* inLayout = new QLineEdit(&window);
    auto* caption = new QLabel("Beside", &window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(caption);
    layout->addWidget(inLayout);
    inLayout->setToolTip("Path of the log");

    nameControlsForAccessibility(&window);
    QCOMPARE(button->accessibleName(), QString("Confirm"));
    // The caption beside it is no buddy: the tooltip names the box.
    QCOMPARE(inLayout->accessibleName(), QString("Path of the log"));
}

void TstAccessibility::partsOfAControlAreLeftAlone() {
    QWidget window;
    auto* text = new QPlainTextEdit(&window);
    text->setToolTip("Die results.");
    nameControlsForAccessibility(&window);
    QCOMPARE(text->accessibleName(), QString("Die results."));
    for (QWidget* part : text->findChildren<QWidget*>())
        QVERIFY2(part->accessibleName().isEmpty(), qPrintable(describe(part)));
}

void TstAccessibility::everyControlIsNamed_data() {
    QTest::addColumn<WindowMaker>("makeWindow");
    QTest::addRow("Tumo") << WindowMaker([] {
        auto tumo = std::make_unique<Tumo>();
        return std::unique_ptr<QWidget>(std::move(tumo));
    });
    QTest::addRow("frmSave") << WindowMaker(
        [] { return std::unique_ptr<QWidget>(std::make_unique<frmSave>("rolllog.txt", nullptr)); });
    QTest::addRow("frmSetup") << WindowMaker(
        [] { return std::unique_ptr<QWidget>(std::make_unique<frmSetup>(nullptr)); });
    QTest::addRow("frmAbout") << WindowMaker(
        [] { return std::unique_ptr<QWidget>(std::make_unique<frmAbout>(nullptr)); });
    QTest::addRow("frmOdds") << WindowMaker([] {
        auto odds = std::make_unique<frmOdds>([] { return QStringLiteral("rolllog.txt"); });
        odds->setAttribute(Qt::WA_DeleteOnClose, false);
        return std::unique_ptr<QWidget>(std::move(odds));
    });
    QTest::addRow("frmHelp") << WindowMaker([] {
        auto help = std::make_unique<frmHelp>();
        help->setAttribute(Qt::WA_DeleteOnClose, false);
        return std::unique_ptr<QWidget>(std::move(help));
    });
    QTest::addRow("Mini") << WindowMaker(
        [] { return std::unique_ptr<QWidget>(std::make_unique<Mini>()); });
    QTest::addRow("MiniAbout") << WindowMaker(
        [] { return std::unique_ptr<QWidget>(std::make_unique<MiniAbout>()); });
}

void TstAccessibility::everyControlIsNamed() {
    QFETCH(WindowMaker, makeWindow);
    const std::unique_ptr<QWidget> window = makeWindow();
    int controls = 0;
    QStringList unnamed;
    QStringList wrongDescription;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window.get() || insideAControl(w) || !w->isVisibleTo(window.get()) ||
            !isControl(w))
            continue;
        ++controls;
        const QString name = spokenName(w);
        if (name.trimmed().isEmpty())
            unnamed << describe(w);
        if (!w->toolTip().isEmpty() && w->toolTip() != name && spokenDescription(w) != w->toolTip())
            wrongDescription << describe(w);
    }
    QVERIFY(controls > 2);
    QVERIFY2(unnamed.isEmpty(), qPrintable("no name: " + unnamed.join("; ")));
    QVERIFY2(wrongDescription.isEmpty(),
             qPrintable("description is not the tooltip: " + wrongDescription.join("; ")));
}

// Each box is named by its own caption, and a screen reader is told which label that is.
void TstAccessibility::boxesAreNamedByTheirCaptions() {
    Tumo tumo;
    frmSave save("rolllog.txt", nullptr);
    const QList<std::pair<QWidget*, QLabel*>> labelled = {{tumo.txtInput, tumo.Label1},
                                                          {tumo.txtAdd, tumo.lblAdd},
                                                          {tumo.txtTotal, tumo.Label2},
                                                          {tumo.txtDice, tumo.Label3},
                                                          {save.txtSaveFile, save.Label1}};
    for (const auto& [box, label] : labelled) {
        QCOMPARE(spokenName(box), label->text());
        const auto labels =
            QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), label);
    }
    QCOMPARE(spokenName(tumo.txtTimes), tumo.chkTimes->text());
}

void TstAccessibility::setupGridNamesRowAndColumn() {
    frmSetup setup(nullptr);
    QCOMPARE(spokenName(setup.txtF1(5)), QString("F5 formula"));
    QCOMPARE(spokenName(setup.txtAS(5)), QString("F5 add/subtract"));
    QCOMPARE(spokenName(setup.chkLow(12)), QString("F12 drop low"));
    QCOMPARE(spokenName(setup.chkHigh(1)), QString("F1 drop high"));
    QCOMPARE(spokenName(setup.chkOne(7)), QString("F7 reroll 1's"));
    QCOMPARE(spokenName(setup.cmdSave), QString("Save"));
}

void TstAccessibility::menuKeyOpensTheMiniMenu() {
    Mini mini;
    QList<QMenu*> shown;
    mini.setPopupShower([&shown](QMenu* menu, QPoint) { shown << menu; });
    mini.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mini, patienceMs));

    // The window system hands the context-menu key to the focused control as a context-menu
    // event from the keyboard.
    QContextMenuEvent fromKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              mini.txtDie->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(mini.txtDie, &fromKey);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first(), mini.mnufile);
    QVERIFY(fromKey.isAccepted());

    // A right click keeps the text box's own menu.
    QContextMenuEvent fromMouse(QContextMenuEvent::Mouse, QPoint(5, 5),
                                mini.txtNum->mapToGlobal(QPoint(5, 5)));
    fromMouse.ignore();
    QApplication::sendEvent(mini.txtNum, &fromMouse);
    QCOMPARE(shown.size(), 1);
    auto* editMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(editMenu);
    QVERIFY(editMenu != mini.mnufile);
    editMenu->close();
}

void TstAccessibility::menuKeyOpensTheMainMenu() {
    Tumo tumo;
    tumo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tumo, patienceMs));
    QVERIFY(!tumo.mnufile->isVisible());

    QContextMenuEvent fromKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              tumo.txtInput->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(tumo.txtInput, &fromKey);
    QVERIFY(tumo.mnufile->isVisible());
    // Below the die picture, where a click on it would open the menu too.
    QCOMPARE(tumo.mnufile->pos().x(), tumo.Image1->mapToGlobal(QPoint(0, 0)).x());
    tumo.mnufile->close();
}

QTEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"

// Creation and arrangement of the main window's roll controls.
#include "tumo.h"

#include "artwork.h"
#include "contrast.h"
#include "courier_font.h"
#include "keyboard.h"
#include "preset_file.h"
#include "result_pane.h"
#include "select_all_on_focus.h"
#include "single_byte_text_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

QLabel* label(const QString& caption, qreal pointSize, QRect where, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setFont(courierFont(pointSize));
    l->setGeometry(where);
    return l;
}

QLineEdit* textBox(const QString& toolTip, QRect where, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setFont(courierFont(14.25));
    box->setToolTip(toolTip);
    box->setGeometry(where);
    selectAllOnFocus(box);
    // A preset's text fits whole, and nothing is typed that the roll would read changed.
    box->setMaxLength(presetLineLimit);
    acceptLatin1Only(box);
    return box;
}

// The option boxes stand on the window's green, so every colour they may be drawn with is the
// window's own: styles draw a box's caption with one text role or another, and its square and
// tick with the base and text roles. A theme's colour among them would be lost on the green.
QPalette optionBoxColours() {
    QPalette colours;
    const QColor dimmed = mixed(Colours::lightYellow, Colours::green, 0.6);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText,
              QPalette::HighlightedText, QPalette::PlaceholderText})
            colours.setColor(group, role, disabled ? dimmed : Colours::lightYellow);
        for (QPalette::ColorRole role :
             {QPalette::Window, QPalette::Button, QPalette::Light, QPalette::Midlight})
            colours.setColor(group, role, Colours::green);
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::AlternateBase, QPalette::Mid,
                                         QPalette::Dark, QPalette::Highlight})
            colours.setColor(group, role, Colours::darkGreen);
        colours.setColor(group, QPalette::Shadow, Qt::black);
        colours.setColor(group, QPalette::Link, Colours::lightYellow);
        colours.setColor(group, QPalette::LinkVisited, Colours::lightYellow);
        colours.setColor(group, QPalette::ToolTipBase, Colours::paleYellow);
        colours.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    return colours;
}

QCheckBox* checkBox(const QString& caption, const QString& toolTip, QRect where, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setPalette(optionBoxColours());
    box->setToolTip(toolTip);
    box->setGeometry(where);
    return box;
}

// The window's green and light-yellow are for its own surface and captions; a scroll bar in
// them would hide its arrows. Each role is set explicitly, so that the window's colours are not
// inherited.
void keepStandardColours(QWidget* widget) {
    QPalette standard = QApplication::palette(widget);
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText,
          QPalette::Light, QPalette::Dark, QPalette::Mid, QPalette::Shadow})
        standard.setColor(role, standard.color(role));
    widget->setPalette(standard);
}

ResultPane* pane(const QString& toolTip, QRect where, QWidget* parent) {
    auto* p = new ResultPane(parent);
    p->setToolTip(toolTip);
    p->setGeometry(where);
    keepStandardColours(p->verticalScrollBar());
    return p;
}

} // namespace

void Tumo::createRollControls() {
    // Formula and add/subtract boxes at the top left, the panes below them, the button and
    // the option boxes in a column on the right.
    Label1 = label(tr("Enter the formula:"), 12, {12, 36, 220, 20}, this);
    txtInput = textBox(tr("Formula Example: 3d6+2"), {12, 58, 196, 30}, this);
    Label1->setBuddy(txtInput);
    lblAdd = label(tr("+/-"), 14.25, {214, 62, 40, 22}, this);
    txtAdd = textBox(tr("Number to be added or subtracted from total."), {256, 58, 86, 30}, this);
    lblAdd->setBuddy(txtAdd);

    cmdRoll = new QPushButton(tr("&Roll!"), this);
    cmdRoll->setToolTip(tr("Roll the desired formula."));
    cmdRoll->setGeometry(356, 36, 146, 34);

    const QString timesCaption = tr("Times");
    chkTimes = checkBox(timesCaption, tr("Roll multiple times."), {356, 76, 80, 24}, this);
    txtTimes = textBox(QString(), {440, 74, 62, 28}, this);
    txtTimes->setEnabled(false);
    // The check box before it is its caption; a check box cannot be a label's buddy.
    txtTimes->setAccessibleName(timesCaption);
    chkReroll = checkBox(tr("Reroll 1's"), tr("Reroll all dice that come up 1."),
                         {356, 104, 146, 22}, this);
    chkDropLow = checkBox(tr("Drop Lowest"), tr("Drop the lowest of the dice rolled."),
                          {356, 126, 146, 22}, this);
    chkDropHigh = checkBox(tr("Drop Highest"), tr("Drop the highest of the dice rolled"),
                           {356, 148, 146, 22}, this);
    chkDShow = checkBox(tr("Don't Show Dice"), tr("Don't show individual dice."),
                        {356, 170, 146, 22}, this);
    chkSave =
        checkBox(tr("Save Results"), tr("Save roll results to file."), {356, 192, 146, 22}, this);

    Label2 = label(tr("Totals"), 12, {12, 94, 120, 20}, this);
    txtTotal = pane(tr("Total of formula."), {12, 116, 330, 120}, this);
    Label2->setBuddy(txtTotal);
    Label3 = label(tr("Dice"), 12, {12, 240, 120, 20}, this);
    txtDice = pane(tr("Die results."), {12, 262, 330, 130}, this);
    Label3->setBuddy(txtDice);

    setTabOrder(txtInput, txtAdd);
    setTabOrder(txtAdd, cmdRoll);
    setTabOrder(cmdRoll, txtTotal);
    setTabOrder(txtTotal, txtTimes);
    setTabOrder(txtTimes, chkTimes);
    setTabOrder(chkTimes, chkDropLow);
    setTabOrder(chkDropLow, chkDropHigh);
    setTabOrder(chkDropHigh, chkReroll);
    setTabOrder(chkReroll, chkDShow);
    setTabOrder(chkDShow, chkSave);
    setTabOrder(chkSave, txtDice);
}

void Tumo::connectRollControls() {
    connect(cmdRoll, &QPushButton::clicked, this, &Tumo::cmdRoll_Click);
    connect(chkTimes, &QCheckBox::toggled, this, &Tumo::chkTimes_Click);
    connect(chkSave, &QCheckBox::toggled, this, &Tumo::chkSave_Click);
    // Enter in any of the three boxes rolls, as a click on the button would; so does Enter on
    // the button itself and on the option boxes. The panes keep their own keys.
    for (QLineEdit* box : {txtInput, txtAdd, txtTimes})
        connect(box, &QLineEdit::returnPressed, this, &Tumo::cmdRoll_Click);
    new EnterKey(
        {cmdRoll, chkTimes, chkReroll, chkDropLow, chkDropHigh, chkDShow, chkSave},
        [this] { cmdRoll_Click(); }, this);
}

#include "mini.h"

#include "accessible_names.h"
#include "artwork.h"
#include "bring_forward.h"
#include "frame_lines.h"
#include "key_table.h"
#include "keyboard.h"
#include "mini_about.h"
#include "mini_mod.h"
#include "mini_rolls.h"
#include "mouse_label.h"
#include "program_identity.h"
#include "random_source.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTimer>

Mini::Mini(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint), random_(&processGenerator()),
      popupShower_([](QMenu* menu, QPoint at) { menu->popup(at); }) {
    setWindowTitle(ProgramIdentity::miniTitle);
    setWindowIcon(dieIcon());
    setFixedSize(258, 73);
    // The "=" between the boxes is black on the green whatever the theme's text colour, which on
    // a dark theme would be light; the boxes keep the theme's colours, text and background both.
    setColours(this, Colours::green, Qt::black);

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    createControls();
    createMenu();
    connectControls();
    auto* keyPreview =
        new KeyPreview([this](int keyCode, int shift) { Form_KeyDown(keyCode, shift); }, this);
    keyPreview->installOn(this);
    handActivationToModal(this);
    new MenuKey(
        this, [this] { popupShower_(mnufile, Image1->mapToGlobal(QPoint(0, Image1->height()))); });
    nameControlsForAccessibility(this);
    Timer1->start();
    txtDie->setFocus();
}

Mini::~Mini() {
    unhookWindow(MiniMod::prevWndProc);
}

void Mini::setRandomSource(RandomSource* random) {
    random_ = random;
}

void Mini::setPopupShower(std::function<void(QMenu*, QPoint)> shower) {
    popupShower_ = std::move(shower);
}

void Mini::Form_Load() {
    processGenerator().seed(secondsSinceMidnight());
    hookWindow(MiniMod::prevWndProc, this, [this](int a) { MiniMod::windowProc(*this, a); });
    mnusub1_click();
}

void Mini::Timer1_Timer() {
    processGenerator().seed(secondsSinceMidnight());
}

void Mini::showRoll(const MiniRoll& roll) {
    txtDie->setText(QString::fromStdString(roll.die));
    txtNum->setText(QString::fromStdString(roll.num));
}

void Mini::Form_KeyDown(int keyCode, int shift) {
    if (const auto roll = rollForFunctionKey(keyCode, *random_))
        showRoll(*roll);
    // Exactly Ctrl: Ctrl+Shift or Ctrl+Alt with the same letter is no command.
    if (keyCode == setToTopKey.keyCode() && shift == ctrlMask)
        mnusub1_click();
    if (keyCode == setToNormalKey.keyCode() && shift == ctrlMask)
        mnusub2_click();
    if (keyCode == exitKey.keyCode() && shift == ctrlMask)
        mnusub3_click();
}

void Mini::lblT_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
    if (button == Qt::LeftButton)
        dragWindow(this);
}

void Mini::Picture1_Click() {
    close();
}

void Mini::Image1_mousedown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
    // The menu is only ever a popup; a press closes one still open.
    mnufile->hide();
    if (button == Qt::LeftButton)
        popupShower_(mnufile, Image1->mapToGlobal(position));
}

void Mini::mnusub1_click() {
    setTopMost(this, true);
    MiniMod::onTop = 1;
    mnusub1->setEnabled(false);
    mnusub2->setEnabled(true);
}

void Mini::mnusub2_click() {
    setTopMost(this, false);
    MiniMod::onTop = 0;
    mnusub2->setEnabled(false);
    mnusub1->setEnabled(true);
}

void Mini::mnusub3_click() {
    close();
}

void Mini::mnusub4_click() {
    MiniAbout about(this);
    about.Form_Load(*this);
    about.exec();
}

void Mini::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Mini::paintEvent(QPaintEvent*) {
    // The thin fixed frame: a one-pixel edge, so that the window stands out on any desktop.
    QPainter painter(this);
    drawFrameLines(painter, rect(), Qt::black, 1);
}

void Mini::Form_Unload() {
    unhookWindow(MiniMod::prevWndProc);
}

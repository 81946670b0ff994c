// The main window's chrome: title strip, frame, static labels and their handlers.
#include "tumo.h"

#include "artwork.h"
#include "bring_forward.h"
#include "courier_font.h"
#include "frame_lines.h"
#include "frm_help.h"
#include "keyboard.h"
#include "last_roll_chart.h"
#include "mouse_label.h"
#include "tumo_func.h"
#include "web_link.h"
#include "window_ops.h"

#include <QMenu>
#include <QPainter>

namespace {

constexpr int frameWidth = 5;
constexpr int boxLineWidth = 3;
// The box at the lower right that holds the web link, marked off by Line7 and Line6.
constexpr int boxLeft = 348;
constexpr int boxTop = 326;

QLabel* staticLabel(const QString& caption, QRect where, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setFont(courierFont(8.25));
    label->setWordWrap(true);
    label->setGeometry(where);
    return label;
}

} // namespace

void Tumo::createChrome() {
    const qreal ratio = devicePixelRatioF();

    Image1 = new MouseLabel(this);
    Image1->setPixmap(dieImage(32, ratio));
    Image1->setGeometry(0, 0, 32, 32);
    Image1->setAccessibleName(tr("Popup menu"));

    lblTitle = new MouseLabel(windowTitle(), this);
    lblTitle->setFont(courierFont(14.25));
    lblTitle->setGeometry(32, 0, width() - 32, 25);
    lblTitle->setContentsMargins(6, 0, 0, 0);
    lblTitle->setAutoFillBackground(true);
    TumoFunc::windowProc(lblTitle, 1);

    imgMin = new MouseLabel(this);
    imgMin->setPixmap(minimiseGlyph(mainGlyphColours(), ratio));
    imgMin->setToolTip(tr("Minimize"));
    imgMin->setGeometry(width() - 46, 3, 19, 19);

    imgClose = new MouseLabel(this);
    imgClose->setPixmap(closeGlyph(mainGlyphColours(), ratio));
    imgClose->setToolTip(tr("Close"));
    imgClose->setGeometry(width() - 25, 3, 19, 19);

    Label4 = staticLabel(tr("For help click on the 6 Sider at the top or press [Ctrl] + H."),
                         {12, 394, 330, 30}, this);
    Label5 = staticLabel(tr("Visit my webpage for updates!"), {356, 334, 146, 30}, this);
    Label5->setVisible(hasWebAddress());
    Label6 = webLinkLabel(this);
    Label6->setFont(courierFont(8.25));
    Label6->setGeometry(356, 368, 146, 54);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Without a web address the box is free for the odds of the last roll.
    if (!hasWebAddress()) {
        imgOdds = new LastRollChart(sharedOdds, this);
        imgOdds->setGeometry(boxLeft + boxLineWidth, boxTop + boxLineWidth,
                             width() - frameWidth - boxLeft - boxLineWidth,
                             height() - frameWidth - boxTop - boxLineWidth);
    }
}

void Tumo::connectChrome() {
    connect(lblTitle, &MouseLabel::mouseDown, this,
            [this](Qt::MouseButton button) { lblTitle_MouseDown(button); });
    connect(imgMin, &MouseLabel::clicked, this, &Tumo::imgMin_Click);
    connect(imgClose, &MouseLabel::clicked, this, &Tumo::imgClose_Click);
    connect(Label6, &MouseLabel::clicked, this, &Tumo::Label6_Click);
    connect(Image1, &MouseLabel::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
                Image1_mousedown(button, position);
            });
    // The keyboard's way to the popup menu, opened below the die picture.
    new MenuKey(this, [this] { mnufile->popup(Image1->mapToGlobal(QPoint(0, Image1->height()))); });
}

void Tumo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrameLines(painter, rect(), Colours::brown, frameWidth);
    // Line7 (vertical) and Line6 (horizontal).
    painter.fillRect(boxLeft, boxTop, boxLineWidth, height() - boxTop, Colours::brown);
    painter.fillRect(boxLeft, boxTop, width() - boxLeft, boxLineWidth, Colours::brown);
}

void Tumo::lblTitle_MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        dragWindow(this);
}

void Tumo::imgMin_Click() {
    // Only hide when the tray icon is really shown; otherwise the window could never come back.
    if (TumoFunc::trayIconShown())
        hide();
    else
        showMinimized();
}

void Tumo::imgClose_Click() {
    close();
}

void Tumo::Label6_Click() {
    TumoFunc::shellOpen(webAddress());
}

void Tumo::bringForwardMainOrHelpWindow() {
    if (loaded_)
        bringForward(this);
    else if (helpWindow)
        bringForward(helpWindow);
}

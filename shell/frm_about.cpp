#include "frm_about.h"

#include "accessible_names.h"
#include "artwork.h"
#include "courier_font.h"
#include "frame_lines.h"
#include "mouse_label.h"
#include "program_identity.h"
#include "program_texts.h"
#include "tumo_func.h"
#include "web_link.h"
#include "window_ops.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

template <typename Label = QLabel>
Label* label(const QString& caption, qreal pointSize, QRect where, QWidget* parent) {
    auto* l = new Label(caption, parent);
    l->setFont(courierFont(pointSize));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setWordWrap(true);
    l->setGeometry(where);
    return l;
}

} // namespace

frmAbout::frmAbout(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(tr("About %1").arg(ProgramIdentity::rollboxTitle));
    // Modal to the main window only, so that the tray icon still answers while it is open.
    setWindowModality(Qt::WindowModal);
    setFixedSize(321, 274);
    setFont(courierFont(9.75));
    setColours(this, Colours::paleYellow, Colours::green);

    Label1 = label<MouseLabel>(windowTitle(), 12, {8, 10, 305, 22}, this);
    Label7 =
        label(tr("Version %1").arg(ProgramIdentity::shortVersion), 9.75, {8, 34, 305, 18}, this);
    Label3 = label(tr("%1 is free software under the MIT licence: you may use, copy, change "
                      "and sell it, keeping its notice.  No warranty.")
                       .arg(ProgramIdentity::rollboxTitle),
                   9.75, {10, 58, 301, 64}, this);
    Label5 = label(ProgramIdentity::organisation, 14.25, {8, 126, 305, 26}, this);
    QPalette black = Label5->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label5->setPalette(black);
    Label6 = label(tr("Visit my website for updates and other programs!  Click on the link "
                      "below to connect."),
                   9.75, {10, 156, 301, 46}, this);
    Label6->setVisible(hasWebAddress());
    Label4 = webLinkLabel(this);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setGeometry(10, 204, 301, 28);
    QPalette blue = Label4->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label4->setPalette(blue);
    Label2 = label(ProgramTexts::ownershipNotice(), 8.25, {10, 236, 214, 30}, this);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setGeometry(231, 238, 80, 28);
    cmdClose->setDefault(true);

    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::cmdClose_Click);
    connect(Label4, &MouseLabel::clicked, this, &frmAbout::Label4_Click);
    connect(Label1, &MouseLabel::mouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            dragWindow(this);
    });

    // Opens over the main window with the same top-left corner.
    if (mainWindow)
        move(mainWindow->window()->pos());

    nameControlsForAccessibility(this);
}

void frmAbout::cmdClose_Click() {
    accept();
}

void frmAbout::Label4_Click() {
    TumoFunc::shellOpen(webAddress());
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrameLines(painter, rect(), Qt::black, 5);
}

#include "mini_about.h"

#include "accessible_names.h"
#include "artwork.h"
#include "courier_font.h"
#include "frame_lines.h"
#include "program_identity.h"
#include "window_ops.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

QLabel* notice(const QString& text, bool bold, QRect where, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(courierFont(8.25, bold));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

} // namespace

MiniAbout::MiniAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint) {
    setWindowTitle(tr("About %1").arg(ProgramIdentity::miniTitle));
    setFixedSize(312, 133);
    setColours(this, Colours::paleYellow, Colours::green);

    Label1 = notice(tr("This program is not intended to be used as a stand alone program.  "
                       "Although you can run it as such, it is intended to be controlled by %1.")
                        .arg(ProgramIdentity::rollboxTitle),
                    true, {8, 8, 296, 72}, this);
    Label2 = notice(tr("Copyright (C) the %1 project").arg(ProgramIdentity::rollboxName), false,
                    {8, 92, 200, 34}, this);

    cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setGeometry(222, 96, 82, 28);
    cmdClose->setDefault(true);
    cmdClose->setFocus();
    connect(cmdClose, &QPushButton::clicked, this, &MiniAbout::cmdClose_Click);
    nameControlsForAccessibility(this);
}

void MiniAbout::Form_Load(const QWidget& mini) {
    move(mini.pos());
    setTopMost(this, true);
}

void MiniAbout::cmdClose_Click() {
    accept();
}

void MiniAbout::paintEvent(QPaintEvent*) {
    // The thin fixed frame, as on the mini window.
    QPainter painter(this);
    drawFrameLines(painter, rect(), Qt::black, 1);
}

// Creation and arrangement of the mini window's controls and its popup menu.
#include "mini.h"

#include "artwork.h"
#include "courier_font.h"
#include "key_table.h"
#include "mouse_label.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

QLineEdit* resultBox(QRect where, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setFont(courierFont(24));
    box->setGeometry(where);
    return box;
}

} // namespace

void Mini::createControls() {
    // The die picture in the top-left corner, the title strip beside it up to the close glyph
    // in the top-right corner; below them the kind, "=" and the result: d20 = 17.
    txtNum = resultBox({144, 33, 111, 38}, this);
    txtDie = resultBox({3, 33, 111, 38}, this);
    txtDie->setAccessibleName(tr("Die"));
    txtNum->setAccessibleName(tr("Result"));

    Label2 = new QLabel(tr("="), this);
    Label2->setFont(courierFont(18));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(114, 33, 30, 38);

    Image1 = new MouseLabel(this);
    Image1->setPixmap(dieImage(32, devicePixelRatioF()));
    // The top row stays clear of the window's one-pixel edge.
    Image1->setGeometry(1, 1, 32, 32);
    Image1->setAccessibleName(tr("Popup menu"));

    lblT = new MouseLabel(windowTitle(), this);
    lblT->setFont(courierFont(8.25));
    lblT->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblT->setIndent(4);
    lblT->setAutoFillBackground(true);
    lblT->setGeometry(33, 1, 258 - 33 - 20, 19);
    setTitleColours(Colours::darkGreen, Colours::lightYellow);

    Picture1 = new MouseLabel(this);
    Picture1->setPixmap(closeGlyph(miniGlyphColours(), devicePixelRatioF()));
    Picture1->setGeometry(258 - 20, 1, 19, 19);
    Picture1->setAccessibleName(tr("Close"));

    setTabOrder(txtDie, txtNum);
}

void Mini::createMenu() {
    mnufile = new QMenu(tr("Popup Menu"), this);
    mnusub1 = mnufile->addAction(tr("Set to Top"));
    mnusub2 = mnufile->addAction(tr("Set to Normal"));
    mnufile->addSeparator();
    mnusub4 = mnufile->addAction(tr("About..."));
    mnufile->addSeparator();
    // The shortcut is only shown: the key dispatch runs Exit, so one press exits once.
    mnusub3 = mnufile->addAction(tr("Exit") + QLatin1Char('\t') +
                                 QString::fromStdString(exitKey.shortcutText()));
}

void Mini::connectControls() {
    connect(Timer1, &QTimer::timeout, this, &Mini::Timer1_Timer);
    connect(lblT, &MouseLabel::mouseDown, this, &Mini::lblT_MouseDown);
    connect(Image1, &MouseLabel::mouseDown, this, &Mini::Image1_mousedown);
    connect(Picture1, &MouseLabel::clicked, this, &Mini::Picture1_Click);
    connect(mnusub1, &QAction::triggered, this, &Mini::mnusub1_click);
    connect(mnusub2, &QAction::triggered, this, &Mini::mnusub2_click);
    connect(mnusub3, &QAction::triggered, this, &Mini::mnusub3_click);
    connect(mnusub4, &QAction::triggered, this, &Mini::mnusub4_click);
}

void Mini::setTitleColours(const QColor& background, const QColor& text) {
    setColours(lblT, background, text);
}

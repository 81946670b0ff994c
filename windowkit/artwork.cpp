#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

QPixmap canvas(int size, qreal ratio) {
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A die seen from above and the front-right: the front face shows five, the top three and the
// side two pips. Drawn on a 32-unit grid and scaled.
void paintDie(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.fillRect(QRectF(0, 0, 32, 32), Colours::green);

    const QPen edge(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(edge);

    const QPolygonF top({{4, 9}, {10, 3}, {29, 3}, {23, 9}});
    const QPolygonF side({{23, 9}, {29, 3}, {29, 23}, {23, 29}});
    const QRectF front(4, 9, 19, 20);
    p.setBrush(QColor(235, 235, 235));
    p.drawPolygon(top);
    p.setBrush(QColor(205, 205, 205));
    p.drawPolygon(side);
    p.setBrush(Qt::white);
    p.drawRect(front);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const auto pip = [&p](QPointF centre, qreal r) { p.drawEllipse(centre, r, r); };
    for (QPointF c : {QPointF(8.5, 13.5), QPointF(18.5, 13.5), QPointF(13.5, 19),
                      QPointF(8.5, 24.5), QPointF(18.5, 24.5)})
        pip(c, 1.9);
    for (QPointF c : {QPointF(11, 7.5), QPointF(16.5, 6), QPointF(22, 4.5)})
        pip(c, 1.1);
    for (QPointF c : {QPointF(25, 12), QPointF(27, 21)})
        pip(c, 1.1);
}

QPixmap glyph(const GlyphColours& colours, qreal ratio, bool closeMark) {
    constexpr int size = 19;
    QPixmap pixmap = canvas(size, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, size, size), colours.background);
    p.setPen(QPen(colours.ink, 1.6));
    p.setBrush(colours.disc);
    p.drawEllipse(QRectF(1.5, 1.5, 16, 16));
    p.setPen(QPen(colours.ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (closeMark) {
        p.drawLine(QPointF(6.5, 6.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 6.5), QPointF(6.5, 12.5));
    } else {
        p.drawLine(QPointF(6.5, 12), QPointF(12.5, 12));
    }
    return pixmap;
}

} // namespace

QPixmap dieImage(int size, qreal devicePixelRatio) {
    QPixmap pixmap = canvas(size, devicePixelRatio);
    QPainter p(&pixmap);
    paintDie(p, size);
    return pixmap;
}

QIcon dieIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(dieImage(size));
    return icon;
}

GlyphColours mainGlyphColours() {
    return {Colours::lightYellow, Colours::brown, Colours::darkGreen};
}

GlyphColours miniGlyphColours() {
    return {QColor(255, 255, 127), QColor(127, 63, 0), QColor(0, 63, 0)};
}

QPixmap minimiseGlyph(const GlyphColours& colours, qreal devicePixelRatio) {
    return glyph(colours, devicePixelRatio, false);
}

QPixmap closeGlyph(const GlyphColours& colours, qreal devicePixelRatio) {
    return glyph(colours, devicePixelRatio, true);
}

void setColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

QCursor pointingHandCursor() {
    constexpr int size = 32;
    QPixmap pixmap = canvas(size, 1.0);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Index finger up with its tip at (12, 9), three folded fingers and the thumb to the left.
    QPainterPath hand;
    hand.moveTo(10, 10);
    hand.quadTo(10, 7, 12, 7);
    hand.quadTo(14, 7, 14, 10);
    hand.lineTo(14, 16);
    hand.quadTo(16, 15, 17.5, 16.5);
    hand.quadTo(19.5, 15.5, 21, 17.5);
    hand.quadTo(23, 17, 24, 19);
    hand.lineTo(24, 24);
    hand.quadTo(24, 28, 20, 30);
    hand.lineTo(13, 30);
    hand.quadTo(10, 28, 7, 23);
    hand.lineTo(5.5, 20);
    hand.quadTo(5.5, 18, 7.5, 18.5);
    hand.lineTo(10, 21);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.drawLine(QPointF(14, 16), QPointF(14, 20));
    p.drawLine(QPointF(17.5, 16.5), QPointF(17.5, 20));
    p.drawLine(QPointF(21, 17.5), QPointF(21, 20.5));
    p.end();
    return QCursor(pixmap, 12, 9);
}

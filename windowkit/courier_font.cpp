#include "courier_font.h"

#include <QFontDatabase>
#include <QFontInfo>

QFont courierFont(qreal pointSize, bool bold) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

#include "frame_lines.h"

#include <QPainter>

void drawFrameLines(QPainter& painter, const QRect& area, const QColor& colour, int width) {
    painter.fillRect(area.left(), area.top(), area.width(), width, colour);
    painter.fillRect(area.left(), area.bottom() - width + 1, area.width(), width, colour);
    painter.fillRect(area.left(), area.top(), width, area.height(), colour);
    painter.fillRect(area.right() - width + 1, area.top(), width, area.height(), colour);
}

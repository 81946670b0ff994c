#pragma once

#include <QColor>

class QPainter;
class QRect;

// The frame that the frameless windows draw along their four edges.
void drawFrameLines(QPainter& painter, const QRect& area, const QColor& colour, int width);

#pragma once

#include <QColor>

// Contrast between two colours as the accessibility guidelines measure it: from 1 (the same
// luminance) to 21 (black on white). Text wants 4.5, marks and lines 3.

double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);

// The colour itself where it stands out against background by at least ratio; otherwise the
// same colour mixed with black (on a light background) or white (on a dark one), only as much as
// it takes.
QColor shadeAgainst(const QColor& colour, const QColor& background, double ratio);

// A share of colour laid over background (share 0 gives background, 1 colour).
QColor mixed(const QColor& colour, const QColor& background, double share);

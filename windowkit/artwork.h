#pragma once

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>

class QWidget;

// The artwork of both programs, drawn in code so that it stays crisp at any scale.

// The die icon: a white six-sided die with black edges and pips on a green square. The icon
// holds the usual sizes from 16 to 256 pixels; dieImage draws one size for a label.
QIcon dieIcon();
QPixmap dieImage(int size, qreal devicePixelRatio = 1.0);

// The round glyphs of the title strips (19 x 19 logical pixels): a light disc with a brown
// rim on the strip's dark green, marked with a short bar (minimise) or an X (close).
struct GlyphColours {
    QColor disc;
    QColor ink;
    QColor background;
};
GlyphColours mainGlyphColours();
GlyphColours miniGlyphColours();
QPixmap minimiseGlyph(const GlyphColours& colours, qreal devicePixelRatio = 1.0);
QPixmap closeGlyph(const GlyphColours& colours, qreal devicePixelRatio = 1.0);

// The pointer shown over web links: a pointing hand, 32 x 32 with the hot spot at the
// fingertip (12, 9).
QCursor pointingHandCursor();

// Gives a widget its own background (filled) and text colour, as the windows and their title
// strips are painted.
void setColours(QWidget* widget, const QColor& background, const QColor& text);

// The design colours shared by the windows.
namespace Colours {
inline const QColor green{0, 128, 0};
inline const QColor darkGreen{0, 64, 0};
inline const QColor lightYellow{255, 255, 128};
inline const QColor paleYellow{255, 255, 192};
inline const QColor brown{128, 64, 0};
inline const QColor grey{128, 128, 128};
} // namespace Colours

#include "contrast.h"

#include <cmath>

namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor mixed(const QColor& colour, const QColor& background, double share) {
    const QColor c = colour.toRgb();
    const QColor b = background.toRgb();
    auto mix = [share](double x, double y) { return x * share + y * (1 - share); };
    return QColor::fromRgbF(float(mix(c.redF(), b.redF())), float(mix(c.greenF(), b.greenF())),
                            float(mix(c.blueF(), b.blueF())));
}

QColor shadeAgainst(const QColor& colour, const QColor& background, double ratio) {
    if (contrastRatio(colour, background) >= ratio)
        return colour;
    const QColor towards =
        contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background)
            ? QColor(Qt::black)
            : QColor(Qt::white);
    constexpr int steps = 20;
    for (int step = 1; step < steps; ++step) {
        const QColor shade = mixed(towards, colour, double(step) / steps);
        if (contrastRatio(shade, background) >= ratio)
            return shade;
    }
    return towards;
}

#include "preset_tooltip.h"

QString presetToolTip(const Preset& preset) {
    QString tip = QStringLiteral("[Shift] = ") + preset.formula;
    if (preset.dropLow == 1)
        tip += QStringLiteral(", L");
    if (preset.dropHigh == 1)
        tip += QStringLiteral(", H");
    if (preset.rerollOnes == 1)
        tip += QStringLiteral(", 1s");
    const QString amount = withoutSurroundingBlanks(preset.addSubtract);
    if (!amount.isEmpty())
        tip += QStringLiteral(", ") + amount;
    return tip;
}

#pragma once

#include "preset.h"

#include <QString>

// The tooltip of a function-key label: "[Shift] = " and the formula as stored, then ", L",
// ", H" and ", 1s" for the flags that equal 1, then ", " and the amount when it is not blank.
// Example: "[Shift] = 3d6, H, 1s, +2".
QString presetToolTip(const Preset& preset);

#pragma once

#include <QString>

#include <array>

// The twelve user presets behind Shift+F1 to Shift+F12. The main window and the setup window
// each keep their own PresetTable; the presets file is the only store, read whole and written
// whole (preset_file.h).

// A check-box state: 0 unchecked, 1 checked. A table read from the file holds only these two.
using CheckBoxState = int;

struct Preset {
    QString formula; // dice formula exactly as typed, never checked here
    CheckBoxState dropLow = 0;
    CheckBoxState dropHigh = 0;
    CheckBoxState rerollOnes = 0;
    QString addSubtract; // "+2", "-1" or empty

    friend bool operator==(const Preset&, const Preset&) = default;
};

inline constexpr int presetCount = 12;

// Presets 1 to 12, one for each function key; index n belongs to Fn.
struct PresetTable {
    std::array<Preset, presetCount> presets;

    Preset& at(int n) { return presets.at(static_cast<std::size_t>(n - 1)); }
    const Preset& at(int n) const { return presets.at(static_cast<std::size_t>(n - 1)); }

    friend bool operator==(const PresetTable&, const PresetTable&) = default;
};

// Removes blanks (the space character only; tabs stay) from both ends of text.
QString withoutSurroundingBlanks(const QString& text);

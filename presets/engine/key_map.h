#pragma once

#include "key_table.h"

#include <QString>

#include <vector>

// The main window's keyboard dispatch as data: given a key code and a modifier mask, the
// actions to run, in order. The window turns each key press into these two numbers, runs every
// action returned, and never consumes the key.
//
// Tests, in this order, each on its own:
//   F1-F12, any modifiers      quick formula n (so Ctrl+F5 and Alt+F5 still roll 1d5)
//   F1-F12, exactly Shift      preset n (Shift+Fn rolls twice: the quick formula, then the preset)
//   X, M, H, F, D, exactly Ctrl   Exit, Show Mini Roller, Help, Set Up Function Keys, Show Odds

enum class KeyAction {
    QuickFormula,      // runQuickFormula(index)
    ApplyPreset,       // applyPreset(index)
    Exit,              // mnusub1_click
    ShowMiniRoller,    // mnusub2_click
    Help,              // mnusub7_click
    SetUpFunctionKeys, // mnusub4_click
    ShowOdds,          // mnusub8_click
};

struct KeyCommand {
    KeyAction action;
    int index = 0; // function key 1 to 12 for QuickFormula and ApplyPreset; 0 otherwise

    friend bool operator==(const KeyCommand&, const KeyCommand&) = default;
};

std::vector<KeyCommand> keyCommands(int keyCode, int modifierMask);

// Quick formula n ("1d20" for F1 ... "1d12" for F12); empty when n is not 1 to 12.
QString quickFormula(int n);

// Caption of function-key label n ("F01 = d20" ... "F12 = d12"); empty when n is not 1 to 12.
QString functionKeyCaption(int n);

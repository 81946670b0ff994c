// The main window's key handler: sees every key press first and never consumes it. Which
// commands a key runs, and in which order, is the key map's to say.
#include "tumo.h"

#include "key_map.h"

void Tumo::Form_KeyDown(int keyCode, int shift) {
    for (const KeyCommand& command : keyCommands(keyCode, shift)) {
        switch (command.action) {
        case KeyAction::QuickFormula:
            runQuickFormula(command.index);
            break;
        case KeyAction::ApplyPreset:
            applyPreset(command.index);
            break;
        case KeyAction::Exit:
            mnusub1_click();
            break;
        case KeyAction::ShowMiniRoller:
            mnusub2_click();
            break;
        case KeyAction::Help:
            mnusub7_click();
            break;
        case KeyAction::SetUpFunctionKeys:
            mnusub4_click();
            break;
        case KeyAction::ShowOdds:
            mnusub8_click();
            break;
        }
    }
}

#include "key_map.h"

#include <array>

namespace {

struct QuickKey {
    const char* caption;
    const char* formula;
};

constexpr std::array<QuickKey, 12> quickKeys{{
    {"F01 = d20", "1d20"},
    {"F02 = d2", "1d2"},
    {"F03 = d3", "1d3"},
    {"F04 = d4", "1d4"},
    {"F05 = d5", "1d5"},
    {"F06 = d6", "1d6"},
    {"F07 = d4+1", "1d4+1"},
    {"F08 = d8", "1d8"},
    {"F09 = 3d6", "3d6"},
    {"F10 = d10", "1d10"},
    {"F11 = d100", "1d100"},
    {"F12 = d12", "1d12"},
}};

struct CtrlCommand {
    int keyCode;
    KeyAction action;
};

constexpr std::array<CtrlCommand, 5> ctrlCommands{{
    {exitKey.keyCode(), KeyAction::Exit},
    {miniRollerKey.keyCode(), KeyAction::ShowMiniRoller},
    {helpKey.keyCode(), KeyAction::Help},
    {setUpFunctionKeysKey.keyCode(), KeyAction::SetUpFunctionKeys},
    {oddsKey.keyCode(), KeyAction::ShowOdds},
}};

bool isQuickKeyIndex(int n) {
    return n >= 1 && n <= static_cast<int>(quickKeys.size());
}

} // namespace

std::vector<KeyCommand> keyCommands(int keyCode, int modifierMask) {
    std::vector<KeyCommand> commands;
    if (keyCode >= keyCodeF1 && keyCode <= keyCodeF12) {
        const int n = keyCode - keyCodeF1 + 1;
        commands.push_back({KeyAction::QuickFormula, n});
        if (modifierMask == shiftMask)
            commands.push_back({KeyAction::ApplyPreset, n});
    }
    if (modifierMask == ctrlMask) {
        for (const CtrlCommand& key : ctrlCommands) {
            if (key.keyCode == keyCode)
                commands.push_back({key.action, 0});
        }
    }
    return commands;
}

QString quickFormula(int n) {
    if (!isQuickKeyIndex(n))
        return {};
    return QString::fromLatin1(quickKeys[static_cast<std::size_t>(n - 1)].formula);
}

QString functionKeyCaption(int n) {
    if (!isQuickKeyIndex(n))
        return {};
    return QString::fromLatin1(quickKeys[static_cast<std::size_t>(n - 1)].caption);
}

#pragma once

#include <string>

// The keys both programs answer, written once: the key codes and modifier masks in which the
// windows' key preview hands on every key press, and the Ctrl commands with the shortcut texts
// that the popup menus show beside them. Plain C++, shared by the engines and the windows.

// Key codes: those of the keys, not of characters, so Caps Lock makes no difference. Any other
// key has the code 0.
inline constexpr int keyCodeF1 = 112; // F1-F12 are 112-123
inline constexpr int keyCodeF12 = 123;
inline constexpr int keyCodeA = 65; // A-Z are 65-90, a letter's upper-case ASCII code
inline constexpr int keyCodeZ = 90;
inline constexpr int keyCode0 = 48; // 0-9 are 48-57

// Modifier mask bits; Meta and the keypad are left out.
inline constexpr int shiftMask = 1;
inline constexpr int ctrlMask = 2;
inline constexpr int altMask = 4;

// A command run by exactly Ctrl with a letter: Ctrl+Shift or Ctrl+Alt with it is no command.
struct CtrlKey {
    char letter;

    constexpr int keyCode() const { return letter; }
    // What the menus show beside the command; the key handler runs it, not the menu.
    std::string shortcutText() const { return std::string("Ctrl+") + letter; }
};

// The main window's.
inline constexpr CtrlKey exitKey{'X'};
inline constexpr CtrlKey miniRollerKey{'M'};
inline constexpr CtrlKey helpKey{'H'};
inline constexpr CtrlKey setUpFunctionKeysKey{'F'};
inline constexpr CtrlKey oddsKey{'D'};
// The mini roller's, beside exitKey.
inline constexpr CtrlKey setToTopKey{'T'};
inline constexpr CtrlKey setToNormalKey{'N'};

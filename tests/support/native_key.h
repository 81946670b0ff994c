#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Key presses as X11 and Wayland deliver them: the layout's own character together with the
// native scan code (the XKB key code) of the physical key. Under a Russian layout the key
// labelled X on a US keyboard gives "Ч" with scan code 53.
namespace NativeKey {

constexpr quint32 scanX = 53;
constexpr quint32 scanH = 43;
constexpr quint32 scanN = 57;
constexpr quint32 scanY = 29;
constexpr quint32 scanSemicolon = 47;

// The Russian letters on those keys, as Qt reports them.
constexpr int cyrillicChe = 0x427; // the X key
constexpr int cyrillicEr = 0x420;  // the H key
constexpr int cyrillicTe = 0x422;  // the N key
constexpr int cyrillicZhe = 0x416; // the semicolon key
constexpr int greekChi = 0x3A7;    // the X key under a Greek layout

inline void click(QWidget* target, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(target, &release);
}

} // namespace NativeKey

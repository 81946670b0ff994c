#pragma once

class QKeyEvent;

// The Latin letter (Qt::Key_A to Qt::Key_Z) written on the physical key that an event came
// from, as a US keyboard labels it; 0 when that key has no letter or the platform does not say.
// It lets letter keys keep their meaning under layouts whose letters are not Latin (Cyrillic,
// Greek, ...), where the event itself carries only the layout's own character.
int latinLetterOfKey(const QKeyEvent* event);

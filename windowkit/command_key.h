#pragma once

#include <Qt>

class QWidget;

// Ctrl with the key is a command of the window, run by its key preview, which has seen the key
// press before the box does. The box's own binding for the same keys is kept from running: on
// X11 Ctrl+D deletes the selection of a line edit, which would take the formula with it.
void keepCommandKeyFromBox(QWidget* box, Qt::Key key);

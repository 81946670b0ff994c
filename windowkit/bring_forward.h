#pragma once

class QWidget;

// Giving a window back to the user, and keeping the keyboard where input is possible.

// Shows the window if it is hidden, restores it if minimised, raises and activates it, with the
// keyboard focus on the control that had it. A modal window that blocks it (its setup window,
// say) comes forward above it and takes the input.
void bringForward(QWidget* window);

// When the window manager activates the window while a modal window of the program blocks it
// (a click on the main window behind its About box, say), the modal window takes the
// activation and the keyboard back, so that no key is lost behind it.
void handActivationToModal(QWidget* window);

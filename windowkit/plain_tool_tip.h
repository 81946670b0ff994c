#pragma once

class QString;
class QWidget;

// Gives the control a tool tip that shows the text exactly as typed: markup such as "<b>" is
// shown as written and runs of blanks are kept. Screen readers get the same text as the
// control's description.
void setPlainToolTip(QWidget* control, const QString& text);

#pragma once

class QString;
class QWidget;

// Gives every control of a window a name for screen readers, taken from what a sighted user
// reads on or beside it. Run at the end of a window's construction; controls that already have
// a name keep it, so a window names its special cases first.
//
//   buttons and check boxes   their caption without the access-key "&"
//   labels                    their text; a picture without text its tooltip
//   text boxes                the label set as their buddy; else, in windows placed by hand
//                             (no layout), the caption right beside them on their left or just
//                             above them, aligned with their left edge; else their tooltip
//
// Descriptions are not set: a control without one reports its current tooltip as description,
// so tooltips that change later (the function-key labels) stay current.
void nameControlsForAccessibility(QWidget* window);

// The name nameControlsForAccessibility would give one control; empty when it finds none.
QString derivedAccessibleName(const QWidget* control);

#pragma once

class QString;
class QWidget;

// Gives every control of a window a name for screen readers, taken from what a sighted user
// reads on it or from the label the window says belongs to it. Run at the end of a window's
// construction; controls that already have a name keep it, so a window names its special
// cases first.
//
//   buttons and check boxes   their caption without the access-key "&"
//   labels                    their text; a picture without text its tooltip
//   text boxes                the label whose buddy they are (QLabel::setBuddy); else their
//                             tooltip. Where a box's caption is no label (a check box), the
//                             window sets the box's name itself.
//
// Names never depend on where the controls lie, so a screen reader hears the same name
// whatever the layout. Descriptions are not set: a control without one reports its current
// tooltip as description, so tooltips that change later (the function-key labels) stay
// current.
void nameControlsForAccessibility(QWidget* window);

// The name nameControlsForAccessibility would give one control; empty when it finds none.
QString derivedAccessibleName(const QWidget* control);

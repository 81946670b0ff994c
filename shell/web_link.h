#pragma once

#include <QString>

class MouseLabel;
class QWidget;

// The author's web page. Its address is chosen when the program is built; while it is empty
// the links and the sentences that invite a visit are not shown.
QString webAddress();
bool hasWebAddress();

// A label showing the web address with the pointing hand over it, hidden while the address is
// empty. Its click is the window's to connect to shellOpen.
MouseLabel* webLinkLabel(QWidget* parent);

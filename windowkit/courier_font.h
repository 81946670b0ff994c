#pragma once

#include <QFont>

// Every text of both programs is Courier New; where it is not installed, the system's
// fixed-pitch font stands in.
QFont courierFont(qreal pointSize, bool bold = true);

#include "web_link.h"

#include "artwork.h"
#include "mouse_label.h"

// ROLLBOX_WEB_ADDRESS is a string literal given by the build.
QString webAddress() {
    return QStringLiteral(ROLLBOX_WEB_ADDRESS).trimmed();
}

bool hasWebAddress() {
    return !webAddress().isEmpty();
}

MouseLabel* webLinkLabel(QWidget* parent) {
    auto* link = new MouseLabel(webAddress(), parent);
    link->setCursor(pointingHandCursor());
    link->setWordWrap(true);
    link->setVisible(hasWebAddress());
    return link;
}

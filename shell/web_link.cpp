#include "web_link.h"

#include "artwork.h"
#include "mouse_label.h"
#include "program_identity.h"

QString webAddress() {
    return QString(ProgramIdentity::webAddress).trimmed();
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

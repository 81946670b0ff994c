#include "command_key.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

class CommandKeyFilter : public QObject {
public:
    CommandKeyFilter(Qt::Key key, QObject* parent) : QObject(parent), key_(key) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* press = static_cast<const QKeyEvent*>(event);
        return press->key() == key_ &&
               (press->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    }

private:
    Qt::Key key_;
};

} // namespace

void keepCommandKeyFromBox(QWidget* box, Qt::Key key) {
    box->installEventFilter(new CommandKeyFilter(key, box));
}

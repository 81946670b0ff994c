#include "enter_key.h"

#include <QKeyEvent>
#include <QWidget>

EnterKey::EnterKey(std::initializer_list<QWidget*> controls, std::function<void()> action,
                   QObject* parent)
    : QObject(parent), action_(std::move(action)) {
    for (QWidget* control : controls)
        control->installEventFilter(this);
}

bool EnterKey::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    action_();
    return true;
}

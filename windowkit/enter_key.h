#pragma once

#include <QObject>

#include <functional>
#include <initializer_list>

class QWidget;

// Enter, or the keypad's Enter, pressed on one of the given controls runs the action (a roll
// from the Roll button or an option box, say) instead of being passed on. Other keys, and Enter
// with Ctrl, Shift or Alt, reach the controls as usual.
class EnterKey : public QObject {
    Q_OBJECT
public:
    EnterKey(std::initializer_list<QWidget*> controls, std::function<void()> action,
             QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> action_;
};

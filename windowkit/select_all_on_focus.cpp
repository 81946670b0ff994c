#include "select_all_on_focus.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

class SelectAllOnFocusFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            box->selectAll();
            // A mouse press that brought the focus would place the caret right after this
            // handler; select again once it has.
            QPointer<QLineEdit> guarded(box);
            QTimer::singleShot(0, box, [guarded] {
                if (guarded && guarded->hasFocus())
                    guarded->selectAll();
            });
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new SelectAllOnFocusFilter(box));
}

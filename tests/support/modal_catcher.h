#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// While alive, hands every modal window that opens to a handler, which must close it.
// Message boxes need no handler: their text is recorded in messages and they are closed.
// The modal windows run their own event loops, so the catcher polls from a timer that those
// loops serve.
class ModalCatcher : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;

    explicit ModalCatcher(Handler handler = {}) : handler_(std::move(handler)) {
        connect(&poll_, &QTimer::timeout, this, &ModalCatcher::check);
        poll_.start(10);
    }

    QStringList messages;               // texts of the message boxes seen, in order
    std::function<void()> onMessageBox; // runs while each message box is open
    int handled = 0; // modal windows other than message boxes handed to the handler

private:
    void check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last_)
            return;
        last_ = modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.append(box->text());
            if (onMessageBox)
                onMessageBox();
            box->done(QMessageBox::Ok);
        } else if (handler_) {
            ++handled;
            handler_(modal);
        }
    }

    Handler handler_;
    QTimer poll_;
    QPointer<QWidget> last_;
};

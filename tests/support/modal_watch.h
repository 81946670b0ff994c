#pragma once

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// While alive, answers every modal window that opens, so that a test goes on past code that
// shows one. A message box has its text recorded in messages, and onMessageBox runs while it is
// open; any other modal window is handed to the handler. Whatever is still open afterwards is
// closed: a dialog is rejected.
// Modal windows run event loops of their own, so the watch polls from a timer that those loops
// serve. Each window is answered from a timer event of its own, so that a modal window opened
// by the handler (a message box on Save, say) is answered as well.
class ModalWatch : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;

    explicit ModalWatch(Handler handler = {}) : handler_(std::move(handler)) {
        connect(&poll_, &QTimer::timeout, this, &ModalWatch::check);
        poll_.start(10);
    }

    QStringList messages;               // texts of the message boxes seen, in order
    std::function<void()> onMessageBox; // runs while each message box is open
    int windows = 0;                    // modal windows other than message boxes

    int seen() const { return windows + int(messages.size()); }

private:
    void check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered_.contains(modal))
            return;
        answered_.append(modal);
        QTimer::singleShot(0, this, [this, modal = QPointer<QWidget>(modal)] { answer(modal); });
    }

    void answer(const QPointer<QWidget>& modal) {
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal.data())) {
            messages.append(box->text());
            if (onMessageBox)
                onMessageBox();
        } else {
            ++windows;
            if (handler_)
                handler_(modal);
        }
        if (!modal || !modal->isVisible())
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
            dialog->reject();
        else
            modal->close();
    }

    Handler handler_;
    QTimer poll_;
    QList<QPointer<QWidget>> answered_;
};

// Runs trigger under a ModalWatch with the given handler; returns how many modal windows,
// message boxes included, it answered.
inline int closeModalsDuring(const std::function<void()>& trigger,
                             ModalWatch::Handler handler = {}) {
    ModalWatch watch(std::move(handler));
    trigger();
    return watch.seen();
}

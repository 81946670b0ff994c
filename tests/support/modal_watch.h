#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs trigger, which may open modal windows; each modal window that opens meanwhile is handed
// to inspect and then rejected, so that the test goes on. Returns how many were seen.
inline int closeModalsDuring(const std::function<void()>& trigger,
                             const std::function<void(QWidget*)>& inspect = {}) {
    int seen = 0;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        ++seen;
        if (inspect)
            inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    watch.start();
    trigger();
    watch.stop();
    return seen;
}

#pragma once

#include "bench_support.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <vector>

namespace bench {

// Notes which of the watched widgets have been painted since the last reset.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::vector<QWidget*> widgets) : widgets_(std::move(widgets)) {
        reset();
        for (QWidget* w : widgets_)
            w->installEventFilter(this);
    }
    ~PaintWatch() override {
        for (QWidget* w : widgets_)
            w->removeEventFilter(this);
    }
    void reset() { painted_.assign(widgets_.size(), false); }
    bool painted(std::size_t i) const { return painted_[i]; }
    QWidget* widget(std::size_t i) const { return widgets_[i]; }
    std::size_t size() const { return widgets_.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (std::size_t i = 0; i < widgets_.size(); ++i)
                painted_[i] = painted_[i] || widgets_[i] == watched;
        }
        return false;
    }

private:
    std::vector<QWidget*> widgets_;
    std::vector<bool> painted_;
};

// Shows a window and lets events run until it has been painted for the first time: on the
// offscreen platform, as on a real one, painting waits for the window to be exposed.
inline void showAndPaint(QWidget* window) {
    const PaintWatch watch({window});
    window->show();
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (!watch.painted(0) && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace bench

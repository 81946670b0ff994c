#pragma once

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <stop_token>
#include <utility>

// Runs one piece of work at a time off the user-interface thread. A newer start stops the
// unfinished work (its stop token fires) and replaces it: only the latest work's result is
// handed back, on the user-interface thread, so a window never waits and never shows an answer
// to a question it no longer asks.
class LatestTask : public QObject {
    Q_OBJECT
public:
    explicit LatestTask(QObject* parent = nullptr);
    // Stops the unfinished work and waits for it; the work must honour its stop token.
    ~LatestTask() override;

    // work(std::stop_token) runs on a worker thread and returns a value; deliver(value) then
    // runs on this object's thread, unless a newer start or stop came first.
    template <class Work, class Deliver> void start(Work work, Deliver deliver) {
        run([work = std::move(work),
             deliver = std::move(deliver)](std::stop_token stop) mutable -> std::function<void()> {
            auto value = work(stop);
            return [deliver, value = std::move(value)]() mutable { deliver(std::move(value)); };
        });
    }

    // Stops the unfinished work; nothing more is delivered.
    void stop();
    // Work has started and its result has not been delivered yet.
    bool isBusy() const { return busy_; }

signals:
    // The latest work failed (ran out of memory, for example); what says why.
    void failed(const QString& what);

private:
    using Job = std::function<std::function<void()>(std::stop_token)>;
    void run(Job job);
    void finish(quint64 generation, const std::function<void()>& deliver);
    void fail(quint64 generation, const QString& what);

    QThreadPool pool_;
    std::stop_source stop_;
    quint64 generation_ = 0;
    bool busy_ = false;
};

#include "latest_task.h"

#include <exception>

LatestTask::LatestTask(QObject* parent) : QObject(parent) {
    // One worker: a replaced piece of work ends at its next look at the token, and the next one
    // starts on the same thread instead of competing with it.
    pool_.setMaxThreadCount(1);
}

LatestTask::~LatestTask() {
    stop();
    pool_.clear();
    pool_.waitForDone();
}

void LatestTask::stop() {
    stop_.request_stop();
    ++generation_;
    busy_ = false;
}

void LatestTask::run(Job job) {
    stop();
    stop_ = std::stop_source();
    busy_ = true;
    const quint64 generation = generation_;
    pool_.start([this, job = std::move(job), stop = stop_.get_token(), generation] {
        if (stop.stop_requested())
            return;
        try {
            std::function<void()> deliver = job(stop);
            if (stop.stop_requested())
                return;
            // Queued to this object: the destructor waits for the worker, so this is alive.
            QMetaObject::invokeMethod(
                this,
                [this, generation, deliver = std::move(deliver)] { finish(generation, deliver); },
                Qt::QueuedConnection);
        } catch (const std::exception& error) {
            const QString what = QString::fromLocal8Bit(error.what());
            QMetaObject::invokeMethod(
                this, [this, generation, what] { fail(generation, what); }, Qt::QueuedConnection);
        }
    });
}

void LatestTask::finish(quint64 generation, const std::function<void()>& deliver) {
    if (generation != generation_)
        return;
    busy_ = false;
    deliver();
}

void LatestTask::fail(quint64 generation, const QString& what) {
    if (generation != generation_)
        return;
    busy_ = false;
    emit failed(what);
}

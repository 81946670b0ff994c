#include "shared_odds.h"

#include "latest_task.h"
#include "roll_made.h"

#include <QTimer>

#include <algorithm>

// One question and its answer, or the task working it out.
struct SharedOdds::Work {
    OddsQuestion question;
    Answer answer;
    LatestTask* task = nullptr; // while the answer is worked out; null until work starts
};

namespace {

// Questions share an answer when they read the same request, so that the texts taken from the
// answer (the formula as typed) are each view's own too. A question not formed has its answer
// at once and is not worth sharing.
bool sameQuestion(const OddsQuestion& a, const OddsQuestion& b) {
    return a.read.ending == RollEnding::Formed && b.read.ending == RollEnding::Formed &&
           sameOdds(a.read.request, a.options, b.read.request, b.options) &&
           a.read.request.displayFormula == b.read.request.displayFormula &&
           a.read.request.addText == b.read.request.addText;
}

template <class Askers> auto askerOfView(Askers& askers, const QObject* view) {
    return std::find_if(askers.begin(), askers.end(),
                        [view](const auto& asker) { return asker.view == view; });
}

} // namespace

SharedOdds::SharedOdds(QObject* parent) : QObject(parent), startTurn_(new QTimer(this)) {
    startTurn_->setSingleShot(true);
    startTurn_->setInterval(0);
    connect(startTurn_, &QTimer::timeout, this, &SharedOdds::startWaiting);
}

// The tasks are children: they stop their work and wait for it as they go.
SharedOdds::~SharedOdds() = default;

void SharedOdds::ask(QObject* view, const OddsQuestion& question, Deliver deliver, Fail fail) {
    Asker& asker = askerOf(view);
    std::shared_ptr<Work> work = workOn(question);
    if (!work) {
        work = std::make_shared<Work>(Work{question, nullptr, nullptr});
        if (!startTurn_->isActive())
            startTurn_->start();
    }
    asker.deliver = deliver;
    asker.fail = std::move(fail);
    drop(std::exchange(asker.work, work));
    if (work->answer)
        deliver(work->answer);
}

bool SharedOdds::isWorking(const QObject* view) const {
    const auto asker = askerOfView(askers_, view);
    return asker != askers_.end() && asker->work && !asker->work->answer;
}

SharedOdds::Asker& SharedOdds::askerOf(QObject* view) {
    const auto known = askerOfView(askers_, view);
    if (known != askers_.end())
        return *known;
    connect(view, &QObject::destroyed, this, [this, view] {
        const auto gone = askerOfView(askers_, view);
        std::shared_ptr<Work> work = std::move(gone->work);
        askers_.erase(gone);
        drop(std::move(work));
    });
    return askers_.emplace_back(Asker{view, nullptr, {}, {}});
}

std::shared_ptr<SharedOdds::Work> SharedOdds::workOn(const OddsQuestion& question) const {
    for (const Asker& asker : askers_) {
        if (asker.work && sameQuestion(asker.work->question, question))
            return asker.work;
    }
    return nullptr;
}

// The questions asked since the event loop last came round, and still asked.
void SharedOdds::startWaiting() {
    for (const Asker& asker : askers_) {
        if (asker.work && !asker.work->answer && !asker.work->task)
            start(asker.work);
    }
}

void SharedOdds::start(const std::shared_ptr<Work>& work) {
    if (idle_.empty()) {
        auto* task = new LatestTask(this);
        connect(task, &LatestTask::failed, this,
                [this, task](const QString& what) { failed(task, what); });
        idle_.push_back(task);
    }
    work->task = idle_.back();
    idle_.pop_back();
    ++workStarted_;
    work->task->start(
        [question = work->question](std::stop_token stop) {
            return std::make_shared<const OddsTable>(
                oddsTable(question.read, question.options, stop));
        },
        [this, weak = std::weak_ptr<Work>(work)](const Answer& answer) {
            if (const std::shared_ptr<Work> done = weak.lock())
                answered(done, answer);
        });
}

// A question no view asks any more: its work stops, and its task is free again.
void SharedOdds::drop(std::shared_ptr<Work> work) {
    if (!work || work.use_count() > 1 || !work->task)
        return;
    work->task->stop();
    idle_.push_back(std::exchange(work->task, nullptr));
}

void SharedOdds::answered(const std::shared_ptr<Work>& work, const Answer& answer) {
    work->answer = answer;
    idle_.push_back(std::exchange(work->task, nullptr));
    // A view may ask anew while it is handed the answer: the list is not walked then.
    std::vector<Deliver> waiting;
    for (const Asker& asker : askers_) {
        if (asker.work == work)
            waiting.push_back(asker.deliver);
    }
    for (const Deliver& deliver : waiting)
        deliver(answer);
}

void SharedOdds::failed(LatestTask* task, const QString& what) {
    std::vector<Fail> waiting;
    for (Asker& asker : askers_) {
        if (asker.work && asker.work->task == task) {
            waiting.push_back(asker.fail);
            asker.work.reset();
        }
    }
    idle_.push_back(task);
    for (const Fail& fail : waiting)
        fail(what);
}

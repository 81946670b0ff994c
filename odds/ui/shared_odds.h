#pragma once

#include "odds_table.h"
#include "roll_request.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class LatestTask;
class QTimer;

// A question to the odds: the inputs as readRollRequest read them, and the option boxes.
struct OddsQuestion {
    RollRequestResult read;
    RollOptions options;
};

// The odds that the views of one main window show, worked out once per question: the odds
// window asks about what the Roll button would roll now, the chart of the last roll about what
// was rolled, and where both ask the same, one answer serves both. Each view has one question
// at a time; asking again drops the former one, whose work stops once no view waits for it.
// Work starts when the event loop comes round, so that a function key, which sets several
// boxes (each a new question) and rolls twice, starts the work of its last question only. The
// work runs off the user-interface thread (LatestTask); answers are handed over on it.
class SharedOdds : public QObject {
    Q_OBJECT
public:
    using Answer = std::shared_ptr<const OddsTable>;
    using Deliver = std::function<void(const Answer&)>;
    using Fail = std::function<void(const QString&)>;

    explicit SharedOdds(QObject* parent = nullptr);
    ~SharedOdds() override;

    // view's question. deliver receives the answer, at once when it is already known; fail says
    // why none came. Both are dropped with the question, and when view is destroyed.
    void ask(QObject* view, const OddsQuestion& question, Deliver deliver, Fail fail);
    // view's question is still being worked out.
    bool isWorking(const QObject* view) const;
    // How many times work has started: once per question that no view was waiting on already.
    int workStarted() const { return workStarted_; }

private:
    struct Work;
    struct Asker {
        QObject* view = nullptr;
        std::shared_ptr<Work> work;
        Deliver deliver;
        Fail fail;
    };

    Asker& askerOf(QObject* view);
    std::shared_ptr<Work> workOn(const OddsQuestion& question) const;
    void startWaiting();
    void start(const std::shared_ptr<Work>& work);
    void drop(std::shared_ptr<Work> work);
    void answered(const std::shared_ptr<Work>& work, const Answer& answer);
    void failed(LatestTask* task, const QString& what);

    std::vector<Asker> askers_;
    std::vector<LatestTask*> idle_; // tasks free for the next question
    QTimer* startTurn_;
    int workStarted_ = 0;
};

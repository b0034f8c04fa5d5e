#pragma once
// A window's background work: the window's side of a WorkLane. Jobs run one after the other
// on the lane's thread, in the order they were posted. Each gets a RunControl (its cancel
// flag and its progress) and returns what the GUI thread then does with its result; that
// step runs on the GUI thread through a queued call, and never for work that was cancelled
// or superseded meanwhile (unless the job reports its own end, Mode::Report). A job owns its
// input: what it reads and the state it keeps between jobs are never touched by the GUI
// thread. Jobs are grouped in kLanes lanes, each cancelled and watched on its own.
#include <QObject>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "core/analysis/RunControl.h"
#include "gui/common/WorkLane.h"

namespace zuohao::gui {

class BackgroundWork : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void()>;                         // on the GUI thread
    using Job = std::function<Apply(const RunControl& control)>; // on the worker
    // What a job tells while it runs, in its own terms (the rows written so far): a step for
    // the GUI thread, passed on at the pace of progress and dropped once the job is cancelled.
    using Tell = std::function<void(Apply step)>;
    using TellingJob = std::function<Apply(const RunControl& control, const Tell& tell)>;
    // Supersede: the lane's earlier work is cancelled and its results dropped.
    // Follow: runs after the lane's earlier work, whose results still apply.
    // Report: as Follow, but the job always runs and its result always applies, cancelled or
    // not: it looks at its cancel flag itself and says in its result how it ended.
    enum class Mode { Supersede, Follow, Report };
    static constexpr int kLanes = 4;

    explicit BackgroundWork(QObject* parent = nullptr);
    // Cancels all work and waits for the job that runs (it stops at its next look).
    ~BackgroundWork() override;

    void post(int lane, Job job, Mode mode = Mode::Supersede);
    void post(int lane, TellingJob job, Mode mode);
    // Stops the lane's work: the running job at its next look, the queued ones before they
    // start; none of their results applies (but those of Mode::Report).
    void cancel(int lane);
    // Work of the lane is queued or running.
    bool busy(int lane) const { return m_lanes.at(std::size_t(lane)).pending > 0; }
    // Waits until every job posted so far has run to its end; from then on no result applies
    // and no job starts. For an owner's last job before it goes (a writer's last write); it
    // blocks the caller.
    void finishPosted();

signals:
    // The lane's running job reached `percent` (0-100); once per change, the first change
    // at once and the next ones at most every few tens of milliseconds.
    void progress(int lane, int percent);
    // The lane's work has ended (applied, dropped or cancelled) and none waits.
    void idle(int lane);

private:
    struct Ticket {
        std::atomic<bool> cancel{false};
        int lane = 0;
        bool report = false;
    };
    struct Lane {
        int pending = 0;
        std::vector<std::shared_ptr<Ticket>> tickets; // posted, not yet finished
    };
    void run(const std::shared_ptr<Ticket>& ticket, const TellingJob& job);
    void finish(const std::shared_ptr<Ticket>& ticket, const Apply& apply);

    std::array<Lane, kLanes> m_lanes;
    std::atomic<bool> m_closing{false}; // no job starts any more, no result applies
    WorkLane m_lane;                    // last: its thread ends before the rest goes
};

} // namespace zuohao::gui

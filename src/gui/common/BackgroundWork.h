#pragma once
// A window's worker thread for work that takes longer than a frame. Jobs run one after the
// other on the worker, in the order they were posted. Each gets a RunControl (its cancel
// flag and its progress) and returns what the GUI thread then does with its result; that
// step runs on the GUI thread through a queued call, and never for work that was cancelled
// or superseded meanwhile. A job owns its input: what it reads and the state it keeps
// between jobs are never touched by the GUI thread.
#include <QObject>
#include <QThread>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "core/analysis/RunControl.h"

namespace zuohao::gui {

class BackgroundWork : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void()>;                         // on the GUI thread
    using Job = std::function<Apply(const RunControl& control)>; // on the worker
    // Supersede: the lane's earlier work is cancelled and its results dropped.
    // Follow: runs after the lane's earlier work, whose results still apply.
    enum class Mode { Supersede, Follow };
    static constexpr int kLanes = 4;

    explicit BackgroundWork(QObject* parent = nullptr);
    // Cancels all work and waits for the job that runs (it stops at its next look).
    ~BackgroundWork() override;

    void post(int lane, Job job, Mode mode = Mode::Supersede);
    // Stops the lane's work: the running job at its next look, the queued ones before they
    // start; none of their results applies.
    void cancel(int lane);
    // Work of the lane is queued or running.
    bool busy(int lane) const { return m_lanes.at(std::size_t(lane)).pending > 0; }

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
    };
    struct Lane {
        int pending = 0;
        std::vector<std::shared_ptr<Ticket>> tickets; // posted, not yet finished
    };
    void run(const std::shared_ptr<Ticket>& ticket, const Job& job);
    void finish(const std::shared_ptr<Ticket>& ticket, const Apply& apply);

    QThread m_thread;
    QObject* m_worker = nullptr; // lives on m_thread
    std::array<Lane, kLanes> m_lanes;
};

} // namespace zuohao::gui

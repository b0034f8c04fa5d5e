#include "gui/common/BackgroundWork.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zuohao::gui {

namespace {
// Progress reaches the window at most this often: each shown change repaints the bar at
// once, and a job that moves a percent every millisecond would keep the GUI thread busy.
// The first change always goes through, so progress shows from the first percent.
constexpr std::chrono::milliseconds kProgressInterval{25};

// Passes a report on when it is the first or the interval has passed since the last one.
class Pace {
public:
    bool due() {
        const auto now = std::chrono::steady_clock::now();
        if (m_passed && now - m_at < kProgressInterval) return false;
        m_passed = true;
        m_at = now;
        return true;
    }

private:
    bool m_passed = false;
    std::chrono::steady_clock::time_point m_at;
};
} // namespace

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork() {
    m_closing.store(true);
    for (int lane = 0; lane < kLanes; ++lane)
        cancel(lane);
    // m_lane then runs what is queued (each skips at once) and ends its thread, before this
    // object's queued calls are dropped with it.
}

void BackgroundWork::post(int lane, Job job, Mode mode) {
    post(
        lane,
        [job = std::move(job)](const RunControl& control, const Tell&) { return job(control); },
        mode);
}

void BackgroundWork::post(int lane, TellingJob job, Mode mode) {
    if (mode == Mode::Supersede) cancel(lane);
    Lane& l = m_lanes.at(std::size_t(lane));
    auto ticket = std::make_shared<Ticket>();
    ticket->lane = lane;
    ticket->report = mode == Mode::Report;
    l.tickets.push_back(ticket);
    ++l.pending;
    m_lane.post([this, ticket, job = std::move(job)] { run(ticket, job); });
}

void BackgroundWork::cancel(int lane) {
    for (const auto& t : m_lanes.at(std::size_t(lane)).tickets)
        t->cancel.store(true, std::memory_order_relaxed);
}

void BackgroundWork::finishPosted() {
    m_lane.finishPosted();
    m_closing.store(true);
}

// On the worker.
void BackgroundWork::run(const std::shared_ptr<Ticket>& ticket, const TellingJob& job) {
    Apply apply;
    const bool skip = ticket->cancel.load(std::memory_order_relaxed) && !ticket->report;
    if (!skip && !m_closing.load()) {
        int shown = -1;
        Pace percentPace; // from the first percent on: a start at 0 is shown beside it
        RunControl control{&ticket->cancel, [this, ticket, &shown, &percentPace](double share) {
                               const int percent =
                                   int(std::floor(100.0 * std::clamp(share, 0.0, 1.0)));
                               if (percent == shown) return;
                               if (percent > 0 && !percentPace.due()) return;
                               shown = percent;
                               QMetaObject::invokeMethod(
                                   this,
                                   [this, ticket, percent] {
                                       if (!ticket->cancel.load(std::memory_order_relaxed))
                                           emit progress(ticket->lane, percent);
                                   },
                                   Qt::QueuedConnection);
                           }};
        Pace stepPace;
        const Tell tell = [this, ticket, &stepPace](Apply step) {
            if (!step || !stepPace.due()) return;
            QMetaObject::invokeMethod(
                this,
                [ticket, step = std::move(step)] {
                    if (!ticket->cancel.load(std::memory_order_relaxed)) step();
                },
                Qt::QueuedConnection);
        };
        apply = job(control, tell);
    }
    QMetaObject::invokeMethod(
        this, [this, ticket, apply = std::move(apply)] { finish(ticket, apply); },
        Qt::QueuedConnection);
}

void BackgroundWork::finish(const std::shared_ptr<Ticket>& ticket, const Apply& apply) {
    Lane& l = m_lanes.at(std::size_t(ticket->lane));
    l.tickets.erase(std::remove(l.tickets.begin(), l.tickets.end(), ticket), l.tickets.end());
    --l.pending;
    const bool applies = ticket->report || !ticket->cancel.load(std::memory_order_relaxed);
    if (apply && applies && !m_closing.load()) apply();
    if (l.pending == 0) emit idle(ticket->lane);
}

} // namespace zuohao::gui

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
} // namespace

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent), m_worker(new QObject) {
    m_thread.setObjectName(QStringLiteral("BackgroundWork"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

BackgroundWork::~BackgroundWork() {
    for (int lane = 0; lane < kLanes; ++lane)
        cancel(lane);
    m_thread.quit();
    m_thread.wait();
    delete m_worker; // with the jobs still queued for it
}

void BackgroundWork::post(int lane, Job job, Mode mode) {
    if (mode == Mode::Supersede) cancel(lane);
    Lane& l = m_lanes.at(std::size_t(lane));
    auto ticket = std::make_shared<Ticket>();
    ticket->lane = lane;
    l.tickets.push_back(ticket);
    ++l.pending;
    QMetaObject::invokeMethod(
        m_worker, [this, ticket, job = std::move(job)] { run(ticket, job); }, Qt::QueuedConnection);
}

void BackgroundWork::cancel(int lane) {
    for (const auto& t : m_lanes.at(std::size_t(lane)).tickets)
        t->cancel.store(true, std::memory_order_relaxed);
}

// On the worker.
void BackgroundWork::run(const std::shared_ptr<Ticket>& ticket, const Job& job) {
    Apply apply;
    if (!ticket->cancel.load(std::memory_order_relaxed)) {
        int shown = -1;
        std::chrono::steady_clock::time_point shownAt;
        RunControl control{&ticket->cancel, [this, ticket, &shown, &shownAt](double share) {
                               const int percent =
                                   int(std::floor(100.0 * std::clamp(share, 0.0, 1.0)));
                               if (percent == shown) return;
                               const auto now = std::chrono::steady_clock::now();
                               if (shown > 0 && now - shownAt < kProgressInterval) return;
                               shown = percent;
                               shownAt = now;
                               QMetaObject::invokeMethod(
                                   this,
                                   [this, ticket, percent] {
                                       if (!ticket->cancel.load(std::memory_order_relaxed))
                                           emit progress(ticket->lane, percent);
                                   },
                                   Qt::QueuedConnection);
                           }};
        apply = job(control);
    }
    QMetaObject::invokeMethod(
        this, [this, ticket, apply = std::move(apply)] { finish(ticket, apply); },
        Qt::QueuedConnection);
}

void BackgroundWork::finish(const std::shared_ptr<Ticket>& ticket, const Apply& apply) {
    Lane& l = m_lanes.at(std::size_t(ticket->lane));
    l.tickets.erase(std::remove(l.tickets.begin(), l.tickets.end(), ticket), l.tickets.end());
    --l.pending;
    if (apply && !ticket->cancel.load(std::memory_order_relaxed)) apply();
    if (l.pending == 0) emit idle(ticket->lane);
}

} // namespace zuohao::gui

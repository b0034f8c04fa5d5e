#include "gui/common/WorkLane.h"

#include <utility>

namespace zuohao::gui {

WorkLane::WorkLane() : WorkLane(Between{}) {}

WorkLane::WorkLane(Between between)
    : m_between(std::move(between)), m_thread([this] { serve(); }) {}

WorkLane::~WorkLane() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void WorkLane::post(Task task) {
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        ++m_posted;
    }
    m_wake.notify_all();
}

void WorkLane::finishPosted() {
    std::unique_lock lock(m_mutex);
    const std::uint64_t target = m_posted;
    m_done.wait(lock, [&] { return m_finished >= target; });
}

void WorkLane::serve() {
    const bool between = m_between.task && m_between.every.count() > 0;
    for (;;) {
        Task task;
        bool took = false;
        {
            std::unique_lock lock(m_mutex);
            const auto ready = [&] { return m_stop || !m_tasks.empty(); };
            if (between)
                m_wake.wait_for(lock, m_between.every, ready);
            else
                m_wake.wait(lock, ready);
            if (m_tasks.empty() && m_stop) return;
            if (!m_tasks.empty()) {
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
                took = true;
            }
        }
        if (took) {
            if (task) task();
            task = nullptr; // what it holds goes on the lane, before the owner hears it ran
            {
                std::lock_guard lock(m_mutex);
                ++m_finished;
            }
            m_done.notify_all();
        }
        if (m_between.task) m_between.task();
    }
}

} // namespace zuohao::gui

#pragma once
// A serial lane of background work: tasks run one after the other, in the order they were
// posted, on a thread of the lane's own that lives as long as the lane. It is the program's
// one way to run work off the window's thread: windows use it through BackgroundWork (cancel,
// progress, results on the window's thread); code that keeps a connection or a library's
// context on one thread (the accessibility bus) uses it directly. Plain C++, no Qt.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zuohao::gui {

class WorkLane {
public:
    using Task = std::function<void()>;
    // Work the lane does between tasks: after each task, and whenever none came for `every`
    // (a library's main context that wants to be run now and then).
    struct Between {
        std::chrono::milliseconds every{0};
        Task task;
    };

    WorkLane();
    explicit WorkLane(Between between);
    // Runs the tasks still queued, then ends the thread.
    ~WorkLane();
    WorkLane(const WorkLane&) = delete;
    WorkLane& operator=(const WorkLane&) = delete;

    void post(Task task);
    // Waits until every task posted before the call has run. For an owner's last words (a
    // writer's last write before the program ends); never from a task of the lane.
    void finishPosted();
    // The caller runs on the lane's thread.
    bool onLane() const { return std::this_thread::get_id() == m_thread.get_id(); }

private:
    void serve();

    Between m_between;
    std::mutex m_mutex;
    std::condition_variable m_wake; // a task came, or the lane stops
    std::condition_variable m_done; // a task has run
    std::deque<Task> m_tasks;
    std::uint64_t m_posted = 0;
    std::uint64_t m_finished = 0;
    bool m_stop = false;
    std::thread m_thread; // last: starts when the rest is ready
};

} // namespace zuohao::gui

#pragma once
// The accessibility bus (AT-SPI) as a client: finds the text object at a screen point and
// reads its text. The calls into the AT-SPI library run on the session's work lane, whose
// thread also dispatches the library's D-Bus traffic on a main context of its own between
// calls; the caller waits for an answer at most the answer time and is never held longer.
//
// One step runs on the caller's thread: the library's start, which attaches its connection
// to the process's default GLib main context before it can be moved to the worker's. That
// context belongs to the thread that runs the window's event loop, so the session must be
// used from that thread; the start takes no bus round trip (the worker has reached the bus
// before). Plain C++: GLib's headers stay out of Qt code.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "gui/common/WorkLane.h"

namespace zuohao::gui::atspi {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// An accessible object found at a point: the session's number for it, where it lives on
// the bus, and its rectangle on the screen.
struct Found {
    int id = 0;
    std::string busName;
    std::string path;
    Rect rect;
};

enum class Outcome {
    Ok,
    Gone,        // the object or its program has gone
    NoAnswer,    // no answer within the answer time
    Unavailable, // no accessibility bus
};

template <class T> struct Answer {
    Outcome outcome = Outcome::Ok;
    T value{};
};

class Session {
public:
    explicit Session(std::chrono::milliseconds answerTime = std::chrono::milliseconds(2000));
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Waits until the bus has been reached or found missing, at most `limit`; true when
    // the session can be used.
    bool waitReady(std::chrono::milliseconds limit);
    // Why the bus cannot be used; empty while starting or when it can.
    std::string unavailableReason() const;

    // The text object under a screen point inside the window of process `pid` (0 when
    // unknown) whose screen rectangle is `window`: the deepest object there, or the nearest
    // object above it that has text (an inner viewport steps up to its text box).
    Answer<std::optional<Found>> accessibleAt(int x, int y, unsigned pid, Rect window);
    // The object's text (its name when it has no text), at most `maxChars` characters.
    Answer<std::string> readText(int id, int maxChars);
    // Lets go of an object found before.
    void forget(int id);

private:
    struct Worker;
    template <class T> Answer<T> call(std::function<T(Worker&, Outcome&)> job);
    void post(std::function<void(Worker&)> job, bool counted);
    void startLibraryIfDue();
    // Tasks of the lane, in this order: reach the bus (the session's first task), check the
    // registry (once the library has started), serve the jobs posted, let go of the objects
    // (the last task).
    void reachBus();
    void checkRegistry();
    void serveJobs();
    void releaseWorker();

    std::chrono::milliseconds m_answerTime;
    mutable std::mutex m_mutex;
    std::condition_variable m_readyChanged;
    std::deque<std::function<void(Worker&)>> m_jobs;
    int m_pending = 0; // counted jobs not yet finished
    enum class State {
        Starting,   // the lane reaches the bus
        BusReached, // the library waits to be started on the caller's thread
        Checking,   // the lane asks the registry
        Ready,
        Unavailable,
    } m_state = State::Starting;
    void* m_context = nullptr; // the lane's GMainContext
    std::string m_reason;
    bool m_stop = false;
    std::unique_ptr<Worker> m_worker; // used on the lane only
    bool m_usable = false;            // set on the lane: the registry answered
    WorkLane m_lane;                  // last: its thread ends before the rest goes
};

} // namespace zuohao::gui::atspi

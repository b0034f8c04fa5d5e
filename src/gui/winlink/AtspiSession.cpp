#ifdef ZUOHAO_HAVE_ATSPI
#include "gui/winlink/AtspiSession.h"

#include <atspi/atspi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace zuohao::gui::atspi {

namespace {
// An owned reference to a GObject of the AT-SPI library.
template <class T> struct Ref {
    T* p = nullptr;
    Ref() = default;
    explicit Ref(T* adopt) : p(adopt) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& o) noexcept : p(std::exchange(o.p, nullptr)) {}
    Ref& operator=(Ref&& o) noexcept {
        reset(std::exchange(o.p, nullptr));
        return *this;
    }
    ~Ref() { reset(); }
    void reset(T* adopt = nullptr) {
        if (p) g_object_unref(p);
        p = adopt;
    }
    T* release() { return std::exchange(p, nullptr); }
    explicit operator bool() const { return p != nullptr; }
};

Ref<AtspiAccessible> share(AtspiAccessible* a) {
    return Ref<AtspiAccessible>(a ? static_cast<AtspiAccessible*>(g_object_ref(a)) : nullptr);
}

// Clears a GError and tells whether it meant that the other side did not answer in time.
struct Error {
    GError* e = nullptr;
    ~Error() { clear(); }
    void clear() {
        if (e) g_error_free(e);
        e = nullptr;
    }
    explicit operator bool() const { return e != nullptr; }
    bool noAnswer() const {
        if (!e || !e->message) return false;
        const std::string m = e->message;
        return m.find("NoReply") != std::string::npos || m.find("Timeout") != std::string::npos ||
               m.find("did not receive a reply") != std::string::npos;
    }
};

std::optional<Rect> extents(AtspiAccessible* a) {
    Ref<AtspiComponent> comp(atspi_accessible_get_component_iface(a));
    if (!comp) return std::nullopt;
    Error err;
    AtspiRect* r = atspi_component_get_extents(comp.p, ATSPI_COORD_TYPE_SCREEN, &err.e);
    if (err || !r) {
        g_free(r);
        return std::nullopt;
    }
    Rect out{r->x, r->y, r->width, r->height};
    g_free(r);
    return out;
}

bool contains(const Rect& r, int x, int y) {
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}
} // namespace

struct Session::Worker {
    GMainContext* context = nullptr;
    std::map<int, AtspiAccessible*> objects;
    int nextId = 1;

    ~Worker() {
        for (auto& [id, a] : objects)
            g_object_unref(a);
    }

    // Lets the library handle what the bus has sent meanwhile (name changes of programs
    // that went away, cache updates); it is attached to this thread's own context.
    void drain() {
        while (g_main_context_iteration(context, FALSE)) {
        }
    }

    // The top-level object (frame, dialog) of the program of process `pid` that contains
    // the point and matches the window's rectangle best.
    Ref<AtspiAccessible> frameAt(int x, int y, unsigned pid, const Rect& window) {
        Ref<AtspiAccessible> desktop(atspi_get_desktop(0));
        if (!desktop) return {};
        Error err;
        const int apps = atspi_accessible_get_child_count(desktop.p, &err.e);
        Ref<AtspiAccessible> best;
        long bestScore = LONG_MAX;
        for (int i = 0; i < apps; ++i) {
            err.clear();
            Ref<AtspiAccessible> app(atspi_accessible_get_child_at_index(desktop.p, i, &err.e));
            if (!app) continue;
            if (pid != 0) {
                err.clear();
                const guint appPid = atspi_accessible_get_process_id(app.p, &err.e);
                if (err || appPid != pid) continue;
            }
            err.clear();
            const int frames = atspi_accessible_get_child_count(app.p, &err.e);
            for (int j = 0; j < frames; ++j) {
                err.clear();
                Ref<AtspiAccessible> frame(atspi_accessible_get_child_at_index(app.p, j, &err.e));
                if (!frame) continue;
                const std::optional<Rect> r = extents(frame.p);
                if (!r || !contains(*r, x, y)) continue;
                const long score = std::labs(long(r->x) - window.x) +
                                   std::labs(long(r->y) - window.y) +
                                   std::labs(long(r->width) - window.width) +
                                   std::labs(long(r->height) - window.height);
                if (score < bestScore) {
                    bestScore = score;
                    best = std::move(frame);
                }
            }
        }
        return best;
    }

    std::optional<Found> accessibleAt(int x, int y, unsigned pid, const Rect& window) {
        Ref<AtspiAccessible> frame = frameAt(x, y, pid, window);
        if (!frame) return std::nullopt;
        // Down to the deepest object at the point.
        Ref<AtspiAccessible> deepest = share(frame.p);
        for (int depth = 0; depth < 64; ++depth) {
            Ref<AtspiComponent> comp(atspi_accessible_get_component_iface(deepest.p));
            if (!comp) break;
            Error err;
            Ref<AtspiAccessible> child(atspi_component_get_accessible_at_point(
                comp.p, x, y, ATSPI_COORD_TYPE_SCREEN, &err.e));
            if (!child || err || child.p == deepest.p) break;
            deepest = std::move(child);
        }
        // Up to the object that holds the text, below the frame.
        Ref<AtspiAccessible> pick;
        for (Ref<AtspiAccessible> a = share(deepest.p); a && a.p != frame.p;) {
            if (Ref<AtspiText> text(atspi_accessible_get_text_iface(a.p)); text) {
                pick = std::move(a);
                break;
            }
            Error err;
            a.reset(atspi_accessible_get_parent(a.p, &err.e));
        }
        if (!pick) pick = share(deepest.p);
        Found found;
        if (auto r = extents(pick.p)) found.rect = *r;
        const AtspiObject* object = ATSPI_OBJECT(pick.p);
        if (object->app && object->app->bus_name) found.busName = object->app->bus_name;
        if (object->path) found.path = object->path;
        for (const auto& [id, a] : objects)
            if (a == pick.p) {
                found.id = id;
                return found;
            }
        found.id = nextId++;
        objects.emplace(found.id, pick.release());
        return found;
    }

    std::string readText(int id, int maxChars, Outcome& outcome) {
        auto it = objects.find(id);
        if (it == objects.end()) {
            outcome = Outcome::Gone;
            return {};
        }
        AtspiAccessible* a = it->second;
        Error err;
        std::string out;
        if (Ref<AtspiText> text(atspi_accessible_get_text_iface(a)); text) {
            const int count = atspi_text_get_character_count(text.p, &err.e);
            if (!err) {
                gchar* s = atspi_text_get_text(text.p, 0, std::min(count, maxChars), &err.e);
                if (s) out = s;
                g_free(s);
            }
        } else {
            gchar* s = atspi_accessible_get_name(a, &err.e);
            if (s) out = s;
            g_free(s);
        }
        if (err) {
            outcome = err.noAnswer() ? Outcome::NoAnswer : Outcome::Gone;
            return {};
        }
        return out;
    }
};

namespace {
// The lane runs the library's main context at least this often while no call comes.
constexpr std::chrono::milliseconds kDrainEvery{200};
} // namespace

Session::Session(std::chrono::milliseconds answerTime)
    : m_answerTime(answerTime), m_worker(std::make_unique<Worker>()),
      m_lane(WorkLane::Between{kDrainEvery, [this] {
                                   if (m_usable) m_worker->drain();
                               }}) {
    m_lane.post([this] { reachBus(); });
}

Session::~Session() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_readyChanged.notify_all();
    m_lane.post([this] { releaseWorker(); });
}

void Session::reachBus() {
    m_worker->context = g_main_context_new();
    g_main_context_push_thread_default(m_worker->context);
    // Reaching the bus is the slow part (session bus, bus address, connection); the library
    // keeps the connection for its start, which the caller's thread makes
    // (startLibraryIfDue) and which then posts the registry's check.
    std::string reason;
    if (!atspi_get_a11y_bus()) reason = "no accessibility bus";
    {
        std::lock_guard lock(m_mutex);
        m_context = m_worker->context;
        m_state = reason.empty() ? State::BusReached : State::Unavailable;
        m_reason = reason;
    }
    m_readyChanged.notify_all();
    serveJobs(); // drops what came meanwhile when the bus is missing
}

void Session::checkRegistry() {
    std::string reason;
    Ref<AtspiAccessible> desktop(atspi_get_desktop(0));
    Error err;
    if (!desktop)
        reason = "no accessibility registry";
    else if (atspi_accessible_get_child_count(desktop.p, &err.e); err)
        reason = std::string("accessibility registry does not answer: ") +
                 (err.e->message ? err.e->message : "");
    m_usable = reason.empty();
    {
        std::lock_guard lock(m_mutex);
        if (!m_stop) {
            m_state = reason.empty() ? State::Ready : State::Unavailable;
            m_reason = reason;
        }
    }
    m_readyChanged.notify_all();
    serveJobs();
}

void Session::serveJobs() {
    for (;;) {
        std::function<void(Worker&)> job;
        bool stopped = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_jobs.empty()) return;
            // Until the registry has answered, jobs wait; a missing bus drops them (their
            // callers hear Unavailable), and so does the session's end.
            const bool settled = m_usable || m_state == State::Unavailable || m_stop;
            if (!settled) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            stopped = m_stop;
        }
        if (m_usable && !stopped) job(*m_worker);
    }
}

void Session::releaseWorker() {
    m_usable = false;
    serveJobs(); // drops what still waits
    for (auto& [id, a] : m_worker->objects)
        g_object_unref(a);
    m_worker->objects.clear();
    g_main_context_pop_thread_default(m_worker->context);
    g_main_context_unref(m_worker->context);
    m_worker.reset();
}

void Session::startLibraryIfDue() {
    {
        std::lock_guard lock(m_mutex);
        if (m_state != State::BusReached) return;
        // Attaches the connection to the default context, which this thread runs, and moves
        // it to the worker's context before this thread gets back to its event loop: no
        // bus traffic is ever dispatched here.
        if (atspi_init() > 1) {
            m_state = State::Unavailable;
            m_reason = "accessibility library did not start";
            m_lane.post([this] { serveJobs(); }); // drops what waits
        } else {
            atspi_set_main_context(static_cast<GMainContext*>(m_context));
            // Each bus call gives up a little before the caller does. A job of several
            // calls to a silent program may hold the worker longer; calls made meanwhile
            // get no answer at once instead of queueing behind it.
            const int ms = int(std::max<long long>(100, m_answerTime.count() - 100));
            atspi_set_timeout(ms, ms);
            m_state = State::Checking;
            m_lane.post([this] { checkRegistry(); });
        }
    }
    m_readyChanged.notify_all();
}

bool Session::waitReady(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    {
        std::unique_lock lock(m_mutex);
        m_readyChanged.wait_until(lock, deadline, [&] { return m_state != State::Starting; });
    }
    startLibraryIfDue();
    std::unique_lock lock(m_mutex);
    m_readyChanged.wait_until(
        lock, deadline, [&] { return m_state == State::Ready || m_state == State::Unavailable; });
    return m_state == State::Ready;
}

std::string Session::unavailableReason() const {
    std::lock_guard lock(m_mutex);
    return m_reason;
}

void Session::post(std::function<void(Worker&)> job, bool counted) {
    {
        std::lock_guard lock(m_mutex);
        if (counted) ++m_pending;
        m_jobs.push_back(std::move(job));
    }
    m_lane.post([this] { serveJobs(); });
}

template <class T> Answer<T> Session::call(std::function<T(Worker&, Outcome&)> job) {
    startLibraryIfDue();
    {
        std::lock_guard lock(m_mutex);
        if (m_state == State::Unavailable) return {Outcome::Unavailable, {}};
        // Calls are made one at a time, so a job still pending is one whose caller gave up
        // waiting: the worker is held by a program that does not answer. Do not queue behind
        // it; this call gets no answer either, at once.
        if (m_pending > 0) return {Outcome::NoAnswer, {}};
    }
    auto promise = std::make_shared<std::promise<Answer<T>>>();
    std::future<Answer<T>> future = promise->get_future();
    post(
        [this, promise, job = std::move(job)](Worker& w) {
            Answer<T> answer;
            answer.value = job(w, answer.outcome);
            {
                std::lock_guard lock(m_mutex);
                --m_pending;
            }
            promise->set_value(std::move(answer));
        },
        true);
    // Waiting for the bus to come up at start counts into the answer time.
    if (future.wait_for(m_answerTime) != std::future_status::ready) return {Outcome::NoAnswer, {}};
    try {
        return future.get();
    } catch (const std::future_error&) {
        return {Outcome::Unavailable, {}}; // the bus turned out missing: the job was dropped
    }
}

Answer<std::optional<Found>> Session::accessibleAt(int x, int y, unsigned pid, Rect window) {
    return call<std::optional<Found>>(
        [=](Worker& w, Outcome&) { return w.accessibleAt(x, y, pid, window); });
}

Answer<std::string> Session::readText(int id, int maxChars) {
    return call<std::string>(
        [=](Worker& w, Outcome& outcome) { return w.readText(id, maxChars, outcome); });
}

void Session::forget(int id) {
    post(
        [id](Worker& w) {
            auto it = w.objects.find(id);
            if (it == w.objects.end()) return;
            g_object_unref(it->second);
            w.objects.erase(it);
        },
        false);
}

} // namespace zuohao::gui::atspi
#endif

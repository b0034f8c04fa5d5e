#include "gui/common/WorkGate.h"

#include <QString>
#include <QTimer>
#include <vector>

#include "gui/common/Seams.h"

namespace zuohao::gui {

namespace {
struct Deferred {
    QPointer<QObject> owner;
    int key = 0;
    std::function<void()> work;
};

int g_holds = 0;
bool g_flushQueued = false;
std::vector<Deferred> g_waiting;

void flushLater();

// Runs the oldest waiting work when nothing holds the gate; the rest follow one per turn of
// the event loop, so each starts with nothing else on the stack.
void flush() {
    g_flushQueued = false;
    if (g_holds > 0) return; // the last Hold to end queues the next attempt
    while (!g_waiting.empty()) {
        Deferred d = std::move(g_waiting.front());
        g_waiting.erase(g_waiting.begin());
        if (!d.owner) continue; // its window is gone
        d.work();
        break;
    }
    if (!g_waiting.empty()) flushLater();
}

void flushLater() {
    if (g_flushQueued || g_waiting.empty()) return;
    g_flushQueued = true;
    QTimer::singleShot(0, [] { flush(); });
}
} // namespace

WorkGate::Hold::Hold() {
    ++g_holds;
}

WorkGate::Hold::~Hold() {
    if (--g_holds == 0) flushLater();
}

bool WorkGate::busy() {
    return g_holds > 0;
}

int WorkGate::waiting() {
    return int(g_waiting.size());
}

void WorkGate::run(QObject* owner, int key, std::function<void()> work) {
    if (!busy()) {
        work();
        return;
    }
    for (const Deferred& d : g_waiting)
        if (d.owner == owner && d.key == key) return;
    g_waiting.push_back({owner, key, std::move(work)});
}

void informUser(QWidget* parent, const QString& text) {
    WorkGate::Hold hold;
    seams().information(parent, text);
}

std::optional<QString> askOpenFileName(QWidget* parent, const QString& startPath) {
    WorkGate::Hold hold;
    return seams().openFileName(parent, startPath);
}

std::optional<QString> askSaveFileName(QWidget* parent, const QString& suggestedName) {
    WorkGate::Hold hold;
    return seams().saveFileName(parent, suggestedName);
}

} // namespace zuohao::gui

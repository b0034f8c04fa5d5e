#pragma once
// One piece of work at a time. Timer work (a refresh tick, a countdown step) and a modal box
// hold the gate while they run; a timer that fires meanwhile (for instance inside a box's
// event loop or inside a tick's wait for the time service) does not run its work inside
// them: it leaves the work with the gate, which runs it once everything holding the gate has
// ended. Deferred work is never dropped; work deferred twice under one key runs once.
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;
class QString;

namespace zuohao::gui {

class WorkGate {
public:
    // While a Hold lives the program is busy.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

    static bool busy();
    // Runs `work` now when nothing holds the gate (holding it meanwhile), else later, on the
    // event loop, when nothing holds it any more. `owner` ends the deferred work with it;
    // a second deferral with the same owner and key while the first waits is merged into it.
    static void run(QObject* owner, int key, std::function<void()> work);
    // How many pieces of work wait.
    static int waiting();
};

// A modal information box in answer to the user; the gate is held while it is open.
void informUser(QWidget* parent, const QString& text);

} // namespace zuohao::gui

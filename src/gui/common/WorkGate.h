#pragma once
// Timer work and modal boxes. A modal box runs an event loop of its own, in which timers
// keep firing: timer work (a refresh step, a countdown step) that fires while a box is open
// is not run inside the box but left with the gate, which runs it once every box has been
// closed. Deferred work is never dropped; work deferred twice under one key runs once.
// Nothing else of the program runs an event loop of its own, so this is the only place
// where work can be held back.
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;
class QString;

namespace zuohao::gui {

class WorkGate {
public:
    // While a Hold lives a modal box is open.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

    static bool busy();
    // Runs `work` now when no box is open, else once every box has been closed, from the
    // event loop. `owner` ends the deferred work with it; a second deferral with the same
    // owner and key while the first waits is merged into it.
    static void run(QObject* owner, int key, std::function<void()> work);
    // How many pieces of work wait.
    static int waiting();
};

// The modal boxes of the program, each holding the gate while it is open.
// An information box in answer to the user.
void informUser(QWidget* parent, const QString& text);
// The open-file and the save-file dialog (Seams); nothing when cancelled.
std::optional<QString> askOpenFileName(QWidget* parent, const QString& startPath);
std::optional<QString> askSaveFileName(QWidget* parent, const QString& suggestedName);

} // namespace zuohao::gui

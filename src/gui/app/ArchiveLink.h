#pragma once
// The main window's link to the draw archive: every draw that enters a lottery waits in a
// bounded queue, in order, and a writer on a background lane of its own puts it into the
// archive (one transaction per lottery and poll). A busy, full or unreachable archive never stops
// the window and loses nothing: the draws wait and go in as soon as the archive takes writes again,
// and the status line says why they wait (and how many, if the queue had to drop any). A damaged
// archive is set aside and a fresh one begun. The "历史" window reads the archive through a
// read-only connection of its own.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "store/ArchiveWriter.h"
#include "store/DrawArchive.h"

class QPushButton;
class QWidget;

namespace zuohao::gui {

class ArchiveHistoryWindow;
class BackgroundWork;
class DemoFeed;
class LotteryForm;
struct AppOptions;

class ArchiveLink : public QObject {
    Q_OBJECT
public:
    // `window` parents the history window. `sourceName` names where a lottery's draws come from
    // (its draw file, or "demo"); `showStatus` writes the status line.
    using SourceName = std::function<std::string(const std::string& lottery)>;
    ArchiveLink(QWidget* window, SourceName sourceName,
                std::function<void(const QString&)> showStatus);
    // Writes what still waits (waiting at most the archive's busy wait) and stops the writer.
    ~ArchiveLink() override;

    // The main window's archive: --archive PATH, else the demo's own in its folder, else the
    // user's; draws are named after their lottery's draw file (or "demo"); the "历史" button goes
    // beside `beside` and opens the history of the active lottery.
    static std::unique_ptr<ArchiveLink> attach(LotteryForm& form, const AppOptions& options,
                                               const DemoFeed* demo, SourceName drawFileOf,
                                               QWidget* beside);

    // draws.sqlite in the user's data folder (made when missing).
    static QString defaultPath();
    // Starts the writer on the archive at `path` (called once); it opens the file on its own
    // lane. `demo`: the draws are the demo's, kept out of an archive that holds others.
    void open(const QString& path, bool demo = false);

    // A refresh's draws, handed on by the main window (gui/app/RefreshRouter.h).
    void drawEntered(const std::string& lottery, const std::string& qishu,
                     const std::string& haoma);
    void drawCorrected(const std::string& lottery, const std::string& qishu,
                       const std::string& newHaoma);
    // Hands the waiting draws to the writer, unless a round is already out; never waits. A
    // round that failed is tried again at the next call.
    void flush();

    // A short text for the end of the status line while something about the archive is worth
    // telling: as long as draws cannot be written (and why), and for a while after it was set
    // aside or corrected a number; empty otherwise.
    QString notice();

    // Puts the "历史" button beside `neighbour` in its layout.
    QPushButton* addHistoryButton(QWidget* neighbour);
    // Opens (or raises) the history window on `lottery`.
    void showHistory(const std::string& lottery);

    QString path() const { return m_path; }
    ArchiveHistoryWindow* historyWindow() const { return m_history; }
    // Draws not yet in the archive, and whether a round of the writer is out.
    std::size_t waiting() const { return m_pending.size(); }
    bool writing() const { return m_roundOut; }

signals:
    // A round of the writer came back (its outcome is in notice() and waiting()).
    void roundDone();

private:
    void startRound();
    void roundBack(const store::WriteRound& round);
    void note(const QString& text);
    QString troubleText() const;
    void openReader();

    QWidget* m_window;
    SourceName m_sourceName;
    std::function<void(const QString&)> m_showStatus;
    QString m_path;
    std::unique_ptr<store::ArchiveWriter> m_writer; // used on m_work's lane only
    store::PendingDraws m_pending;
    bool m_roundOut = false;    // a round of the writer is on its way
    bool m_open = false;        // the writer has the archive open
    bool m_demoRefused = false; // a demo keeps out of this archive for the whole run
    store::ArchiveTrouble m_trouble = store::ArchiveTrouble::None;
    QString m_why; // the last failure, in the store's words
    std::int64_t m_droppedShown = 0;
    QString m_note;                           // a passing notice
    int m_notePolls = 0;                      // polls it stays on
    std::unique_ptr<store::Archive> m_reader; // the history window's connection
    bool m_readerStale = false;               // the file it reads was set aside
    ArchiveHistoryWindow* m_history = nullptr;
    // The writer's lane: one round after the other, in order. Last, so that its thread has
    // ended before the writer goes.
    std::unique_ptr<BackgroundWork> m_work;
};

} // namespace zuohao::gui

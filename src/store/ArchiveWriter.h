#pragma once
// The desktop program's writing into the archive: draws wait in a bounded queue, in order,
// until the archive takes them; the writer opens the archive when it can (setting a damaged
// file aside), writes what waits, and says why it could not. Nothing here waits for long
// except the writer's own calls, which the window runs on a thread of their own. No Qt.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "store/DrawArchive.h"
#include "store/FileIdentity.h"

namespace zuohao::store {

// A draw waiting to be written.
struct PendingDraw {
    std::string lottery;
    std::string qishu;
    std::string haoma;
    std::string source;
    bool correction = false; // a stable re-read changed the number of a held period
};

// The draws not yet in the archive, oldest first. A round hands out the oldest and marks them
// as on their way; settle() removes those the archive took. When the queue is full the oldest
// draw not on its way is dropped, and counted.
class PendingDraws {
public:
    static constexpr std::size_t kLimit = 20000; // two weeks of minute draws

    explicit PendingDraws(std::size_t limit = kLimit) : m_limit(limit) {}
    void push(PendingDraw d);
    // Up to `most` of the oldest draws for a round (none while a round is out).
    std::vector<PendingDraw> takeRound(std::size_t most);
    // The round is back: its first `written` draws are in the archive.
    void settle(std::size_t written);
    bool roundOut() const { return m_out > 0; }
    // Every waiting draw, those on their way too (for a last write at the end).
    std::vector<PendingDraw> all() const { return {m_draws.begin(), m_draws.end()}; }
    std::size_t size() const { return m_draws.size(); }
    std::int64_t dropped() const { return m_dropped; }

private:
    std::deque<PendingDraw> m_draws;
    std::size_t m_limit;
    std::size_t m_out = 0; // draws of the round on its way (at the front)
    std::int64_t m_dropped = 0;
};

// What one round of the writer came to.
struct WriteRound {
    std::size_t written = 0;    // draws of the round now in the archive, from the front
    std::int64_t corrected = 0; // held periods whose number the round replaced
    bool open = false;          // the archive is open after the round
    ArchiveTrouble trouble = ArchiveTrouble::None; // what stopped the round
    std::string why;                               // in SQLite's words
    std::string setAsideAs;   // a damaged archive was renamed to this and a fresh one begun
    bool demoRefused = false; // a demo run found other draws in the archive and writes none
};

class ArchiveWriter {
public:
    // `demo`: the draws are the demo's, and go only into an archive that held none when it was
    // first opened (a demo never mixes its made-up draws with real ones, nor with another run's).
    ArchiveWriter(std::string path, bool demo);
    // Opens the archive when it is not open (or reopens it when another program deleted or
    // replaced the file), then writes `draws` in order: an entered draw's number wins over a held
    // one (the older is kept as a correction). Stops at the first failure; a damaged archive (or
    // one written over) is closed, to be set aside at the next round's open. Every call waits at
    // most `busyWaitMs` for another program's lock.
    WriteRound write(const std::vector<PendingDraw>& draws, int busyWaitMs);
    const std::string& path() const { return m_path; }

private:
    bool open(WriteRound& round);

    std::string m_path;
    bool m_demo;
    bool m_demoChecked = false;
    bool m_demoRefused = false;
    int m_busyWaitMs = Archive::kBusyWaitMs;
    std::unique_ptr<Archive> m_archive;
    FileIdentity m_identity; // of the file m_archive holds, taken when it was opened
};

} // namespace zuohao::store

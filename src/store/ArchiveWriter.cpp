#include "store/ArchiveWriter.h"

#include "store/FileIdentity.h"

namespace zuohao::store {

namespace {
constexpr int kWriterPageCacheKiB = 128;

enum class FileState { Same, Missing, Replaced };

// What is at the path now, by the path's identity alone: another program may have deleted the
// file (writes would go into the deleted file and be lost) or put another file in its place.
// A file written over in place keeps its identity: its first bytes, read through SQLite's
// own handle, or SQLite's errors tell. The file is never opened here: on POSIX closing any
// descriptor of it would drop SQLite's locks.
FileState fileState(const std::string& path, const FileIdentity& opened) {
    const auto now = IdentityOf(path);
    if (!now) return FileState::Missing;
    return *now == opened ? FileState::Same : FileState::Replaced;
}
} // namespace

void PendingDraws::push(PendingDraw d) {
    if (m_draws.size() >= m_limit) {
        ++m_dropped;
        if (m_out >= m_draws.size()) return; // all on their way: the newcomer has no room
        m_draws.erase(m_draws.begin() + std::ptrdiff_t(m_out));
    }
    m_draws.push_back(std::move(d));
}

std::vector<PendingDraw> PendingDraws::takeRound(std::size_t most) {
    if (m_out > 0) return {};
    m_out = std::min(most, m_draws.size());
    return {m_draws.begin(), m_draws.begin() + std::ptrdiff_t(m_out)};
}

void PendingDraws::settle(std::size_t written) {
    written = std::min(written, m_out);
    m_draws.erase(m_draws.begin(), m_draws.begin() + std::ptrdiff_t(written));
    m_out = 0;
}

ArchiveWriter::ArchiveWriter(std::string path, bool demo) : m_path(std::move(path)), m_demo(demo) {}

bool ArchiveWriter::open(WriteRound& round) {
    if (m_archive) {
        const FileState state = fileState(m_path, m_identity);
        if (state == FileState::Same && m_archive->looksLikeDatabase()) return true;
        if (state == FileState::Same) {
            // Written over in place: let go without folding the log into it; the next round
            // sets it aside as it is.
            m_archive->closeWithoutCheckpoint();
            m_archive.reset();
            round.trouble = ArchiveTrouble::Damaged;
            round.why = "the archive " + m_path + " was written over by another program";
            return false;
        }
        // Deleted or replaced: the archive at the path now is opened (a fresh one begun, or
        // the new file set aside when it is no archive).
        m_archive.reset();
    }
    if (m_demoRefused) {
        round.demoRefused = true;
        return false;
    }
    OpenReport rep;
    auto a = Archive::open(m_path, &rep, OpenMode::SetAsideDamaged, m_busyWaitMs);
    round.setAsideAs = rep.setAsideAs;
    if (!a) {
        round.trouble = rep.trouble;
        round.why = a.error();
        return false;
    }
    if (m_demo && !m_demoChecked) {
        auto held = (*a)->holdsDraws();
        if (!held) {
            round.trouble = (*a)->lastTrouble();
            round.why = held.error();
            return false;
        }
        m_demoChecked = true;
        m_demoRefused = *held;
        round.demoRefused = m_demoRefused;
        if (m_demoRefused) return false;
    }
    const auto identity = IdentityOf(m_path);
    if (!identity) { // gone again between the open and now
        round.trouble = ArchiveTrouble::Unavailable;
        round.why = "the archive " + m_path + " was deleted by another program";
        return false;
    }
    m_identity = *identity;
    m_archive = std::move(a).value();
    // A draw a round touches the newest pages only: a small cache keeps the program's memory
    // flat from its first draws on, whatever the archive holds.
    (void)m_archive->setPageCache(kWriterPageCacheKiB);
    return true;
}

WriteRound ArchiveWriter::write(const std::vector<PendingDraw>& draws, int busyWaitMs) {
    WriteRound round;
    m_busyWaitMs = busyWaitMs;
    if (!open(round)) return round;
    m_archive->setBusyWait(busyWaitMs);
    round.open = true;
    std::size_t at = 0;
    while (at < draws.size()) {
        const PendingDraw& first = draws[at];
        Result<WriteReport> r = WriteReport{};
        std::size_t end = at + 1;
        if (first.correction) {
            auto c = m_archive->correct(first.lottery, first.qishu, first.haoma, first.source);
            if (!c) r = fail(c.error());
        } else {
            // Entered draws of one lottery and source go in one transaction.
            std::vector<DrawIn> batch{{first.qishu, first.haoma}};
            for (; end < draws.size() && !draws[end].correction &&
                   draws[end].lottery == first.lottery && draws[end].source == first.source;
                 ++end)
                batch.push_back({draws[end].qishu, draws[end].haoma});
            r = m_archive->add(first.lottery, batch, first.source, OnConflict::Correct);
        }
        if (!r) {
            round.trouble = m_archive->lastTrouble();
            round.why = r.error();
            if (round.trouble == ArchiveTrouble::Damaged) {
                // Written over or damaged: the next round's open sets it aside as it is.
                m_archive->closeWithoutCheckpoint();
                m_archive.reset();
                round.open = false;
            }
            return round;
        }
        round.corrected += r->corrected;
        at = end;
        round.written = at;
    }
    return round;
}

} // namespace zuohao::store

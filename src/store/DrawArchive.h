#pragma once
// The draw archive: every draw ever seen, per lottery, in one SQLite file per user.
//
// The archive keeps each draw's period label, its numeric value (for ordering), the
// five-digit number, when it was first seen (UTC, ISO 8601) and where it came from. A number
// that changes later is never overwritten without a trace: the old number goes into the
// corrections table with both times. Writes go in one transaction per call (one poll, or one
// batch of an import), in WAL mode, so a kill at any moment loses at most the call in flight.
//
// Not thread-safe: one Archive object per thread. No Qt; the CLI and the window use it alike.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/LotteryName.h"
#include "core/model/Period.h"
#include "core/model/Result.h"

namespace zuohao::store {

inline constexpr int kSchemaVersion = 1; // PRAGMA user_version of a current archive
// Period arithmetic is the engine's (one rule for the feed, the gaps and the window).
using zuohao::DayOfLabel;
using zuohao::DayOfPeriod;
using zuohao::DayPeriodRange;
using zuohao::kDateBandHigh;
using zuohao::kDateBandLow;
using zuohao::kPeriodsPerDay;
using zuohao::PeriodsBetween;
using zuohao::PeriodsBetweenValues;
using zuohao::PeriodValue;
inline constexpr const char* kArchiveFileName = "draws.sqlite";
inline constexpr const char* kDefaultLottery = "腾讯分分彩"; // the lottery with a draw source
// A lottery's name is the player's own text, by the rule of core/model/LotteryName.h. It
// reaches SQL only as a bound value.
using zuohao::kMaxLotteryNameChars;

// Why `name` cannot name a lottery of the archive; empty when it can.
std::string LotteryNameProblem(std::string_view name);

// An older number of a period, as a backup carries it.
struct PastNumber {
    std::string haoma;
    std::string correctedUtc; // when it was replaced (empty: at the write)
};

// One draw offered to the archive.
struct DrawIn {
    std::string qishu; // period label as read (digits)
    std::string haoma; // five digits
    // What a backup restores with the draw (empty: the write's time and source, none). Older
    // numbers are kept only when the period is new to the archive.
    std::string seenUtc{};
    std::string source{};
    std::vector<PastNumber> past{}; // oldest first
};

// One draw as the archive holds it.
struct ArchivedDraw {
    std::string qishu;
    std::int64_t period = 0; // numeric value of the label
    std::string haoma;
    std::string seenUtc;    // first seen, "2026-12-08T21:07:29Z"
    std::string source;     // draw file path, "import:<file>", "demo", ...
    bool corrected = false; // the corrections table holds an older number of this period
};

// An older number of a period, kept when the number was corrected.
struct Correction {
    std::string qishu;
    std::string oldHaoma;
    std::string newHaoma;
    std::string oldSeenUtc;   // when the old number was first seen
    std::string correctedUtc; // when it was replaced
    std::string source;       // where the new number came from
};

// Periods missing between two held neighbours. With date-shaped labels (yyyymmddNNNN,
// NNNN 0001..1440) the period after NNNN = 1440 is the next day's 0001; any other label is
// followed by label + 1.
struct Gap {
    std::string afterQishu;  // the held draw before the gap
    std::string beforeQishu; // the held draw after the gap
    std::int64_t missing = 0;
};

struct DayCount {
    std::string day; // yyyy-mm-dd: the label's date, or the first-seen date (UTC) without one
    std::int64_t draws = 0;
};

struct LotteryInfo {
    std::string lottery;
    std::int64_t draws = 0;
    std::int64_t corrections = 0;
    std::string firstQishu;
    std::string lastQishu;
};

struct ArchiveInfo {
    std::string path;
    std::uintmax_t fileBytes = 0; // the database file with its write-ahead log
    std::vector<LotteryInfo> lotteries;
};

// How far an import of one file got: its lines up to `lines` are written (kept with the
// batch that wrote them, in the same transaction, so a killed import resumes after them).
struct ImportMark {
    std::string file; // ImportFileIdentity()
    std::int64_t lines = 0;
};

// How a write treats a period the archive already holds with another number.
enum class OnConflict {
    KeepArchived, // the archive's number stands; the offered draw is reported as a conflict
    Correct,      // the offered number replaces it; the old one goes to the corrections table
};

struct Conflict {
    std::string qishu;
    std::string archivedHaoma;
    std::string offeredHaoma;
};

struct WriteReport {
    std::int64_t added = 0;
    std::int64_t duplicates = 0; // same period, same number: skipped silently
    std::int64_t corrected = 0;  // OnConflict::Correct replaced a number
    std::vector<Conflict> conflicts;
};

// What stood in the way of an archive call. Busy, Full and Unavailable pass by themselves
// (another program's lock, a full disk, the file system): the file is fine and is tried
// again later. Damaged is the file itself: not a database, or a malformed one.
enum class ArchiveTrouble {
    None,
    Busy,         // another connection holds a lock longer than the busy wait
    Full,         // the disk is full or the file may grow no further
    Unavailable,  // the file or its folder cannot be opened, read or written
    Damaged,      // not a database, or a malformed one
    NotAnArchive, // a database, but not a draw archive (read only)
    Newer,        // written by a newer version of the program
    Refused,      // the call was wrong (not a draw, a missing lottery)
};

// SQLite's primary result code as a trouble.
ArchiveTrouble TroubleOfSqliteCode(int code);
// The error code of a trouble; `otherwise` for one with no code of its own.
ErrorCode ErrorCodeOfTrouble(ArchiveTrouble trouble, ErrorCode otherwise);

// How Archive::open treats the file.
enum class OpenMode {
    ReadOnly, // reads only; a missing file, or one that is no draw archive, is an error
    // As ReadOnly, and creates or changes nothing beside the file, in a read-only folder too:
    // with no write-ahead log beside it (no program has it open) the file is read as it is,
    // and a read finding that a program wrote into the file since the open fails as Busy (to
    // be tried again); with a log there (a program writes), it is read with the log.
    Look,
    ReadWrite,       // creates a missing file; any trouble is an error and the file stays put
    SetAsideDamaged, // as ReadWrite, but a damaged file is renamed aside and a fresh one begun
};

struct OpenReport {
    bool created = false;    // no file was there: a fresh archive was started
    std::string setAsideAs;  // the file was damaged and was renamed to this path
    std::string setAsideWhy; // SQLite's reason
    ArchiveTrouble trouble = ArchiveTrouble::None; // why open failed
};

class Archive {
public:
    static constexpr int kBusyWaitMs = 3000; // how long a call waits for another's lock

    // Opens the archive at `path`. Writable modes create a missing file and bring the schema up
    // to date; a missing or read-only folder is an error, and a new file that could not be
    // made whole is removed again. Only SetAsideDamaged moves a file: one that is not a
    // database or is malformed (SQLite says so, or PRAGMA quick_check fails) is renamed to
    // "<path>.broken-<yyyymmddThhmmssZ>" and a fresh archive is started; `report` says so.
    // A busy, full or unreachable file is never moved: open fails and report->trouble says why.
    static Result<std::unique_ptr<Archive>> open(const std::string& path,
                                                 OpenReport* report = nullptr,
                                                 OpenMode mode = OpenMode::ReadWrite,
                                                 int busyWaitMs = kBusyWaitMs);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    const std::string& path() const;
    // The trouble of the last call that failed (None before any failed).
    ArchiveTrouble lastTrouble() const;
    // Ends the connection without writing the write-ahead log into the file (for a file found
    // damaged or written over, so that it is set aside as it was). Only destroy it afterwards.
    void closeWithoutCheckpoint();
    // How long calls wait for another connection's lock (Archive::kBusyWaitMs at first).
    void setBusyWait(int milliseconds);
    // The most memory the connection keeps of the file's pages (SQLite's 2 MB at first).
    Result<void> setPageCache(int kibibytes);
    // Whether the file still begins as a database, read through the connection's own handle
    // (opening the file anew would drop this process's locks on it); true when unknown.
    bool looksLikeDatabase() const;

    // Writes `draws` of `lottery` in one transaction. `seenUtc` empty = now. A name that
    // LotteryNameProblem refuses is refused (ArchiveTrouble::Refused) before anything is written.
    Result<WriteReport> add(const std::string& lottery, const std::vector<DrawIn>& draws,
                            const std::string& source,
                            OnConflict onConflict = OnConflict::KeepArchived,
                            const std::string& seenUtc = {}, const ImportMark* mark = nullptr);
    // The lines of an import file into `lottery` written by an import that did not finish
    // (0: none). A mark belongs to its lottery: the same file imported into another lottery
    // starts from its first line.
    Result<std::int64_t> importMark(const std::string& lottery, const std::string& file);
    // The import of the file into `lottery` finished: a later one reads it whole again.
    Result<void> clearImportMark(const std::string& lottery, const std::string& file);
    // For a large import: the write-ahead log is folded into the file only when bulk writes
    // end (one checkpoint instead of one every few batches), and then truncated.
    Result<void> setBulkWrites(bool on);

    // Records that `qishu` now has `newHaoma` (a stable re-read corrected it): the old
    // number goes into the corrections table. A period not held is simply added.
    Result<void> correct(const std::string& lottery, const std::string& qishu,
                         const std::string& newHaoma, const std::string& source);

    // The newest `count` draws of a lottery, oldest first.
    Result<std::vector<ArchivedDraw>> newest(const std::string& lottery, std::int64_t count);
    // At most `count` draws with afterPeriod < period <= lastPeriod, oldest first: a page of an
    // export that goes through the archive in order.
    Result<std::vector<ArchivedDraw>> after(const std::string& lottery, std::int64_t afterPeriod,
                                            std::int64_t lastPeriod, std::int64_t count);
    // The draws with fromQishu <= period <= toQishu (numeric values), oldest first; an
    // empty bound is open.
    Result<std::vector<ArchivedDraw>> range(const std::string& lottery,
                                            const std::string& fromQishu = {},
                                            const std::string& toQishu = {});
    // One page of a newest-first listing: at most `count` draws with period < `belowPeriod`,
    // newest first (INT64_MAX for the first page).
    Result<std::vector<ArchivedDraw>> before(const std::string& lottery, std::int64_t belowPeriod,
                                             std::int64_t count);
    // The draws of one day (yyyy-mm-dd, as DayCount::day), oldest first.
    Result<std::vector<ArchivedDraw>> day(const std::string& lottery, const std::string& day);
    // Gaps between held neighbours within [fromQishu, toQishu] (empty = open), oldest first.
    Result<std::vector<Gap>> gaps(const std::string& lottery, const std::string& fromQishu = {},
                                  const std::string& toQishu = {});
    // The days that hold draws, newest first (without counting them: fast on a year).
    Result<std::vector<std::string>> days(const std::string& lottery);
    // Draws per day, newest day first.
    Result<std::vector<DayCount>> countsPerDay(const std::string& lottery);
    Result<std::vector<Correction>> corrections(const std::string& lottery);
    // The corrections of the periods firstPeriod..lastPeriod (numeric values), in order.
    Result<std::vector<Correction>> corrections(const std::string& lottery,
                                                std::int64_t firstPeriod, std::int64_t lastPeriod);
    // The names of the lotteries the archive knows, in the order they were first written.
    Result<std::vector<std::string>> lotteries();
    // The lotteries that hold draws, in the order they were first written, with their counts
    // and first and last periods.
    Result<std::vector<LotteryInfo>> heldLotteries();
    // Whether the archive holds any draw at all.
    Result<bool> holdsDraws();
    // The file and heldLotteries().
    Result<ArchiveInfo> info();

private:
    struct Impl; // the connection and its caches (ArchiveImpl.h)
    Result<std::vector<DayCount>> dayCounts(const std::string& lottery, bool countDays);
    explicit Archive(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

// Whether a text is a first-seen time as the archive writes it ("2026-12-08T21:07:29Z").
bool IsUtcIso(std::string_view text);

// Now as "2026-12-08T21:07:29Z".
std::string UtcNowIso();

// The default archive: draws.sqlite in the user's data folder is found by the window
// (QStandardPaths); the CLI uses $XDG_DATA_HOME/zuohao or ~/.local/share/zuohao
// (%LOCALAPPDATA%\zuohao on Windows).
std::string DefaultArchivePath();

// A UTF-8 path text as a file-system path, and back.
std::filesystem::path Utf8Path(const std::string& utf8);
std::string Utf8Text(const std::filesystem::path& p);

} // namespace zuohao::store

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
#include <vector>

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

// One draw offered to the archive.
struct DrawIn {
    std::string qishu; // period label as read (digits)
    std::string haoma; // five digits
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

struct OpenReport {
    bool created = false;    // no file was there: a fresh archive was started
    std::string setAsideAs;  // the file would not open and was renamed to this path
    std::string setAsideWhy; // SQLite's reason
};

class Archive {
public:
    // Opens (creating when missing) the archive at `path` and brings its schema up to date.
    // A file that will not open (corrupt, not a database, locked for more than a few
    // seconds) is renamed to "<path>.broken-<yyyymmddThhmmssZ>" and a fresh archive is
    // started; `report` says so. A missing or read-only folder is an error.
    static Result<std::unique_ptr<Archive>> open(const std::string& path,
                                                 OpenReport* report = nullptr);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    const std::string& path() const;

    // Writes `draws` of `lottery` in one transaction. `seenUtc` empty = now.
    Result<WriteReport> add(const std::string& lottery, const std::vector<DrawIn>& draws,
                            const std::string& source,
                            OnConflict onConflict = OnConflict::KeepArchived,
                            const std::string& seenUtc = {});
    // For a large import: the write-ahead log is folded into the file only when bulk writes
    // end (one checkpoint instead of one every few batches), and then truncated.
    Result<void> setBulkWrites(bool on);

    // Records that `qishu` now has `newHaoma` (a stable re-read corrected it): the old
    // number goes into the corrections table. A period not held is simply added.
    Result<void> correct(const std::string& lottery, const std::string& qishu,
                         const std::string& newHaoma, const std::string& source);

    // The newest `count` draws of a lottery, oldest first.
    Result<std::vector<ArchivedDraw>> newest(const std::string& lottery, std::int64_t count);
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
    Result<std::vector<std::string>> lotteries();
    Result<ArchiveInfo> info();

private:
    struct Impl;
    Result<std::vector<DayCount>> dayCounts(const std::string& lottery, bool countDays);
    explicit Archive(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

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

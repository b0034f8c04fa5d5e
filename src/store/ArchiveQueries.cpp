// The draw archive's reads: listings, pages, days, gaps, corrections and counts.
#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <system_error>

#include "store/ArchiveImpl.h"

namespace zuohao::store {

namespace fs = std::filesystem;
using sql::Db;
using sql::Stmt;

namespace {
constexpr std::int64_t kNoBound = std::numeric_limits<std::int64_t>::max();

const char* const kDrawColumns =
    "SELECT d.qishu, d.period, d.haoma, d.seen, o.name, "
    "EXISTS(SELECT 1 FROM correction c WHERE c.lottery = d.lottery AND c.period = d.period) "
    "FROM draw d JOIN origin o ON o.id = d.origin ";

ArchivedDraw readDraw(const Stmt& s) {
    ArchivedDraw d;
    d.qishu = s.text(0);
    d.period = s.integer(1);
    d.haoma = s.text(2);
    d.seenUtc = s.text(3);
    d.source = s.text(4);
    d.corrected = s.integer(5) != 0;
    return d;
}
} // namespace

std::optional<std::int64_t> Archive::Impl::findId(const char* table, const std::string& name) {
    const std::string q = std::string("SELECT id FROM ") + table + " WHERE name = ?";
    Stmt s(db, q.c_str());
    s.bind(1, name);
    if (s.step()) return s.integer(0);
    return std::nullopt;
}

std::optional<std::int64_t> Archive::Impl::lotteryId(const std::string& name) {
    if (auto it = lotteryIds.find(name); it != lotteryIds.end()) return it->second;
    auto id = findId("lottery", name);
    if (id) lotteryIds[name] = *id;
    return id;
}

Result<std::vector<ArchivedDraw>> Archive::Impl::draws(const std::string& lottery,
                                                       const char* where,
                                                       std::initializer_list<std::int64_t> values) {
    std::vector<ArchivedDraw> out;
    auto id = lotteryId(lottery);
    if (!id) return out;
    const std::string q = std::string(kDrawColumns) + where;
    Stmt s(db, q.c_str());
    s.bind(1, *id);
    int at = 2;
    for (std::int64_t v : values)
        s.bind(at++, v);
    while (s.step())
        out.push_back(readDraw(s));
    if (s.failed()) return failed(ErrorCode::ArchiveRead, "archive query", s.code());
    if (snapshotMoved()) return movedUnderfoot();
    return out;
}

Result<std::vector<ArchivedDraw>> Archive::newest(const std::string& lottery, std::int64_t count) {
    auto r = before(lottery, kNoBound, count);
    if (!r) return r;
    std::vector<ArchivedDraw> out = std::move(r).value();
    std::reverse(out.begin(), out.end());
    return out;
}

Result<std::vector<ArchivedDraw>> Archive::before(const std::string& lottery,
                                                  std::int64_t belowPeriod, std::int64_t count) {
    return m_impl->draws(lottery,
                         "WHERE d.lottery = ?1 AND d.period < ?2 ORDER BY d.period DESC LIMIT ?3",
                         {belowPeriod, std::max<std::int64_t>(count, 0)});
}

Result<std::vector<ArchivedDraw>> Archive::after(const std::string& lottery,
                                                 std::int64_t afterPeriod, std::int64_t lastPeriod,
                                                 std::int64_t count) {
    return m_impl->draws(lottery,
                         "WHERE d.lottery = ?1 AND d.period > ?2 AND d.period <= ?3 "
                         "ORDER BY d.period LIMIT ?4",
                         {afterPeriod, lastPeriod, std::max<std::int64_t>(count, 0)});
}

Result<std::vector<ArchivedDraw>> Archive::range(const std::string& lottery,
                                                 const std::string& fromQishu,
                                                 const std::string& toQishu) {
    const std::int64_t lo = fromQishu.empty() ? 0 : PeriodValue(fromQishu);
    const std::int64_t hi = toQishu.empty() ? kNoBound : PeriodValue(toQishu);
    return m_impl->draws(lottery,
                         "WHERE d.lottery = ?1 AND d.period BETWEEN ?2 AND ?3 "
                         "ORDER BY d.period",
                         {lo, hi});
}

Result<std::vector<ArchivedDraw>> Archive::day(const std::string& lottery, const std::string& day) {
    std::int64_t first = 0, last = 0;
    std::vector<ArchivedDraw> out;
    const char* const between =
        "WHERE d.lottery = ?1 AND d.period BETWEEN ?2 AND ?3 ORDER BY d.period";
    if (DayPeriodRange(day, first, last)) {
        auto r = m_impl->draws(lottery, between, {first, last});
        if (!r) return r;
        out = std::move(r).value();
    }
    // Labels without a date belong to the day they were first seen.
    for (auto [lo, hi] :
         {std::pair{std::int64_t(0), kDateBandLow - 1}, std::pair{kDateBandHigh + 1, kNoBound}}) {
        auto undated = m_impl->draws(lottery, between, {lo, hi});
        if (!undated) return undated;
        for (ArchivedDraw& d : undated.value())
            if (d.seenUtc.compare(0, day.size(), day) == 0) out.push_back(std::move(d));
    }
    return out;
}

Result<std::vector<Gap>> Archive::gaps(const std::string& lottery, const std::string& fromQishu,
                                       const std::string& toQishu) {
    std::vector<Gap> out;
    auto id = m_impl->lotteryId(lottery);
    if (!id) return out;
    Stmt s(m_impl->db, "SELECT period, qishu FROM draw WHERE lottery = ? AND period BETWEEN ? "
                       "AND ? ORDER BY period");
    s.bind(1, *id);
    s.bind(2, fromQishu.empty() ? 0 : PeriodValue(fromQishu));
    s.bind(3, toQishu.empty() ? kNoBound : PeriodValue(toQishu));
    std::int64_t prev = -1;
    std::string prevLabel;
    while (s.step()) {
        const std::int64_t p = s.integer(0);
        std::string label = s.text(1);
        if (prev >= 0) {
            if (const std::int64_t n = PeriodsBetweenValues(prev, p); n > 0)
                out.push_back({prevLabel, label, n});
        }
        prev = p;
        prevLabel = std::move(label);
    }
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive gaps", s.code());
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return out;
}

Result<std::vector<std::string>> Archive::days(const std::string& lottery) {
    auto counts = dayCounts(lottery, false);
    if (!counts) return counts.failure();
    std::vector<std::string> out;
    for (const DayCount& d : *counts)
        out.push_back(d.day);
    return out;
}

Result<std::vector<DayCount>> Archive::countsPerDay(const std::string& lottery) {
    return dayCounts(lottery, true);
}

Result<std::vector<DayCount>> Archive::dayCounts(const std::string& lottery, bool countDays) {
    std::vector<DayCount> out;
    auto id = m_impl->lotteryId(lottery);
    if (!id) return out;
    Db& db = m_impl->db;
    // Date-shaped labels: one step per day, newest first, through the period key.
    Stmt top(db, "SELECT period FROM draw WHERE lottery = ? AND period BETWEEN ? AND ? "
                 "ORDER BY period DESC LIMIT 1");
    Stmt counter(db, "SELECT count(*) FROM draw WHERE lottery = ? AND period BETWEEN ? AND ?");
    std::int64_t below = kDateBandHigh;
    while (true) {
        top.reset();
        top.bind(1, *id).bind(2, kDateBandLow).bind(3, below);
        if (!top.step()) break;
        const std::int64_t p = top.integer(0);
        if (p == 0) break;
        const std::string dayText = DayOfPeriod(p);
        std::int64_t first = 0, last = 0;
        if (dayText.empty() || !DayPeriodRange(dayText, first, last)) {
            below = p - 1; // a label in the band that is no date: counted below by its seen day
            continue;
        }
        if (!countDays) {
            out.push_back({dayText, 0});
        } else {
            counter.reset();
            counter.bind(1, *id).bind(2, first).bind(3, last);
            if (counter.step() && counter.integer(0) > 0)
                out.push_back({dayText, counter.integer(0)});
            if (counter.failed())
                return m_impl->failed(ErrorCode::ArchiveRead, "archive days", counter.code());
        }
        below = first - 1;
    }
    if (top.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive days", top.code());
    // Everything else by the day it was first seen.
    std::map<std::string, std::int64_t> seen;
    Stmt undated(db, "SELECT substr(seen, 1, 10), count(*) FROM ("
                     "SELECT seen FROM draw WHERE lottery = ?1 AND period < ?2 UNION ALL "
                     "SELECT seen FROM draw WHERE lottery = ?1 AND period > ?3) GROUP BY 1");
    undated.bind(1, *id).bind(2, kDateBandLow).bind(3, kDateBandHigh);
    while (undated.step())
        seen[undated.text(0)] += undated.integer(1);
    if (undated.failed())
        return m_impl->failed(ErrorCode::ArchiveRead, "archive days", undated.code());
    for (const auto& [dayText, n] : seen) {
        auto it = std::find_if(out.begin(), out.end(),
                               [&](const DayCount& d) { return d.day == dayText; });
        if (it != out.end())
            it->draws += n;
        else
            out.push_back({dayText, n});
    }
    std::sort(out.begin(), out.end(),
              [](const DayCount& a, const DayCount& b) { return a.day > b.day; });
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return out;
}

Result<std::vector<Correction>> Archive::corrections(const std::string& lottery) {
    return corrections(lottery, std::numeric_limits<std::int64_t>::min(), kNoBound);
}

Result<std::vector<Correction>> Archive::corrections(const std::string& lottery,
                                                     std::int64_t firstPeriod,
                                                     std::int64_t lastPeriod) {
    std::vector<Correction> out;
    auto id = m_impl->lotteryId(lottery);
    if (!id) return out;
    Stmt s(m_impl->db, "SELECT c.qishu, c.old_haoma, c.new_haoma, c.old_seen, c.corrected, "
                       "o.name FROM correction c JOIN origin o ON o.id = c.origin "
                       "WHERE c.lottery = ? AND c.period BETWEEN ? AND ? ORDER BY c.period, c.id");
    s.bind(1, *id).bind(2, firstPeriod).bind(3, lastPeriod);
    while (s.step())
        out.push_back({s.text(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5)});
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive corrections", s.code());
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return out;
}

Result<std::vector<std::string>> Archive::lotteries() {
    std::vector<std::string> out;
    Stmt s(m_impl->db, "SELECT name FROM lottery ORDER BY id");
    while (s.step())
        out.push_back(s.text(0));
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive", s.code());
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return out;
}

Result<bool> Archive::holdsDraws() {
    std::int64_t any = 0;
    sql::SqlError err;
    if (!m_impl->db.scalar("SELECT EXISTS(SELECT 1 FROM draw)", any, err))
        return m_impl->failed(ErrorCode::ArchiveRead, "archive", err);
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return any != 0;
}

Result<std::vector<LotteryInfo>> Archive::heldLotteries() {
    std::vector<LotteryInfo> out;
    Stmt s(m_impl->db,
           "SELECT l.name, "
           "(SELECT count(*) FROM draw d WHERE d.lottery = l.id), "
           "(SELECT count(*) FROM correction c WHERE c.lottery = l.id), "
           "(SELECT qishu FROM draw d WHERE d.lottery = l.id ORDER BY period LIMIT 1), "
           "(SELECT qishu FROM draw d WHERE d.lottery = l.id ORDER BY period DESC LIMIT 1) "
           "FROM lottery l WHERE EXISTS(SELECT 1 FROM draw d WHERE d.lottery = l.id) "
           "ORDER BY l.id");
    while (s.step())
        out.push_back({s.text(0), s.integer(1), s.integer(2), s.text(3), s.text(4)});
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive lotteries", s.code());
    if (m_impl->snapshotMoved()) return m_impl->movedUnderfoot();
    return out;
}

Result<ArchiveInfo> Archive::info() {
    ArchiveInfo info;
    info.path = m_impl->path;
    std::error_code ec;
    for (const std::string& f : {m_impl->path, m_impl->path + "-wal"}) {
        const auto n = fs::file_size(Utf8Path(f), ec);
        if (!ec) info.fileBytes += n;
    }
    auto held = heldLotteries();
    if (!held) return held.failure();
    info.lotteries = std::move(held).value();
    return info;
}

namespace {
// Marks by lottery and file. Earlier versions kept them by file alone (import_mark); those are
// not read: such an import starts again from its first line, and the draws it had written
// count as already held.
constexpr const char* kMarkTable =
    "CREATE TABLE IF NOT EXISTS import_progress(lottery INTEGER NOT NULL, file TEXT NOT NULL, "
    "lines INTEGER NOT NULL, PRIMARY KEY(lottery, file))";
} // namespace

bool Archive::Impl::writeMark(std::int64_t lottery, const ImportMark& mark, sql::SqlError& err) {
    if (!db.exec(kMarkTable, err)) return false;
    Stmt s(db, "INSERT OR REPLACE INTO import_progress(lottery, file, lines) VALUES(?, ?, ?)");
    s.bind(1, lottery).bind(2, mark.file).bind(3, mark.lines);
    s.step();
    if (!s.failed()) return true;
    err = {db.lastMessage(), s.code()};
    return false;
}

Result<std::int64_t> Archive::importMark(const std::string& lottery, const std::string& file) {
    std::int64_t exists = 0;
    sql::SqlError err;
    if (!m_impl->db.scalar("SELECT count(*) FROM sqlite_master WHERE name = 'import_progress'",
                           exists, err))
        return m_impl->failed(ErrorCode::ArchiveRead, "archive import mark", err);
    const auto id = m_impl->lotteryId(lottery);
    if (exists == 0 || !id) return std::int64_t(0);
    Stmt s(m_impl->db, "SELECT lines FROM import_progress WHERE lottery = ? AND file = ?");
    s.bind(1, *id).bind(2, file);
    const std::int64_t lines = s.step() ? s.integer(0) : 0;
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveRead, "archive import mark", s.code());
    return lines;
}

Result<void> Archive::clearImportMark(const std::string& lottery, const std::string& file) {
    auto held = importMark(lottery, file);
    if (!held) return held.failure();
    if (*held == 0) return {};
    Stmt s(m_impl->db, "DELETE FROM import_progress WHERE lottery = ? AND file = ?");
    s.bind(1, *m_impl->lotteryId(lottery)).bind(2, file);
    s.step();
    if (s.failed()) return m_impl->failed(ErrorCode::ArchiveWrite, "archive import mark", s.code());
    return {};
}

} // namespace zuohao::store

// The draw archive over SQLite: opening (with set-aside of a file that will not open),
// schema migration, writes and queries.
#include "store/DrawArchive.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <system_error>

#include "store/Schema.h"
#include "store/Sqlite.h"

namespace zuohao::store {

namespace fs = std::filesystem;
using sql::Db;
using sql::SqlError;
using sql::Stmt;

// Paths are UTF-8 text throughout (SQLite takes UTF-8 names); the file system sees them as such
// on every platform.
fs::path Utf8Path(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Text(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

namespace {
constexpr std::int64_t kNoBound = std::numeric_limits<std::int64_t>::max();
constexpr std::size_t kHaomaDigits = 5;

bool isHaoma(const std::string& h) {
    return h.size() == kHaomaDigits &&
           std::all_of(h.begin(), h.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Error sqlFail(const std::string& what, const SqlError& e) {
    return fail(ErrorCode::ArchiveWrite, what + ": " + e.message);
}

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

struct Archive::Impl {
    std::string path;
    Db db;
    std::map<std::string, std::int64_t> lotteryIds; // cache of committed rows
    std::map<std::string, std::int64_t> originIds;

    std::optional<std::int64_t> findId(const char* table, const std::string& name) {
        const std::string q = std::string("SELECT id FROM ") + table + " WHERE name = ?";
        Stmt s(db, q.c_str());
        s.bind(1, name);
        if (s.step()) return s.integer(0);
        return std::nullopt;
    }

    // The id of a lottery or origin name, inserted when new (inside the caller's transaction).
    std::optional<std::int64_t> ensureId(const char* table, const std::string& name,
                                         std::map<std::string, std::int64_t>& cache) {
        if (auto it = cache.find(name); it != cache.end()) return it->second;
        if (auto id = findId(table, name)) return *id;
        const std::string q = std::string("INSERT INTO ") + table + "(name) VALUES(?)";
        Stmt s(db, q.c_str());
        s.bind(1, name);
        s.step();
        if (s.failed()) return std::nullopt;
        return findId(table, name);
    }

    std::optional<std::int64_t> lotteryId(const std::string& name) {
        if (auto it = lotteryIds.find(name); it != lotteryIds.end()) return it->second;
        auto id = findId("lottery", name);
        if (id) lotteryIds[name] = *id;
        return id;
    }

    Result<std::vector<ArchivedDraw>> draws(const std::string& lottery, const char* where,
                                            std::int64_t a, std::int64_t b) {
        std::vector<ArchivedDraw> out;
        auto id = lotteryId(lottery);
        if (!id) return out;
        const std::string q = std::string(kDrawColumns) + where;
        Stmt s(db, q.c_str());
        if (!s.ok()) return fail(ErrorCode::ArchiveRead, "archive query: " + db.lastMessage());
        s.bind(1, *id).bind(2, a).bind(3, b);
        while (s.step())
            out.push_back(readDraw(s));
        if (s.failed()) return fail(ErrorCode::ArchiveRead, "archive query: " + db.lastMessage());
        return out;
    }
};

Archive::Archive(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Archive::~Archive() = default;

const std::string& Archive::path() const {
    return m_impl->path;
}

namespace {
// SQLite's verdicts on a file that is there but cannot be used as an archive.
bool unusableFile(int code) {
    return code == 5 /*BUSY*/ || code == 6 /*LOCKED*/ || code == 11 /*CORRUPT*/ ||
           code == 26 /*NOTADB*/ || code == 10 /*IOERR*/ || code == 13 /*FULL of junk*/;
}

std::string stamp() {
    std::string s = UtcNowIso(); // 2026-12-08T21:07:29Z -> 20261208T210729Z
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '-' || c == ':'; }),
            s.end());
    return s;
}

// Renames the file and its WAL companions aside; the new name of the database file.
Result<std::string> setAside(const std::string& path) {
    std::string target = path + ".broken-" + stamp();
    std::error_code ec;
    for (int n = 2; fs::exists(Utf8Path(target), ec); ++n)
        target = path + ".broken-" + stamp() + "-" + std::to_string(n);
    fs::rename(Utf8Path(path), Utf8Path(target), ec);
    if (ec)
        return fail(ErrorCode::ArchiveOpen,
                    "cannot set the archive aside (" + path + "): " + ec.message(), path);
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (fs::exists(Utf8Path(path + suffix), ignored))
            fs::rename(Utf8Path(path + suffix), Utf8Path(target + suffix), ignored);
    }
    return target;
}
} // namespace

Result<std::unique_ptr<Archive>> Archive::open(const std::string& path, OpenReport* report) {
    OpenReport local;
    OpenReport& rep = report ? *report : local;
    rep = {};
    std::error_code ec;
    const fs::path file = Utf8Path(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        return fail(ErrorCode::ArchiveOpen, "archive folder does not exist: " + Utf8Text(folder),
                    path);
    if (fs::is_directory(file, ec))
        return fail(ErrorCode::ArchiveOpen, "archive path is a folder: " + path, path);
    const bool existed = fs::exists(file, ec);

    auto impl = std::make_unique<Impl>();
    impl->path = path;
    SqlError err;
    if (!OpenAndMigrate(impl->db, path, err)) {
        impl->db.close();
        if (!existed || !unusableFile(err.code))
            return fail(ErrorCode::ArchiveOpen,
                        "cannot open the archive " + path + ": " + err.message, path);
        auto aside = setAside(path);
        if (!aside) return aside.failure();
        rep.setAsideAs = *aside;
        rep.setAsideWhy = err.message;
        if (!OpenAndMigrate(impl->db, path, err))
            return fail(ErrorCode::ArchiveOpen,
                        "cannot start a fresh archive " + path + ": " + err.message, path);
    }
    rep.created = !existed || !rep.setAsideAs.empty();
    return std::unique_ptr<Archive>(new Archive(std::move(impl)));
}

Result<WriteReport> Archive::add(const std::string& lottery, const std::vector<DrawIn>& draws,
                                 const std::string& source, OnConflict onConflict,
                                 const std::string& seenUtc) {
    Impl& m = *m_impl;
    WriteReport rep;
    if (draws.empty()) return rep;
    const std::string now = seenUtc.empty() ? UtcNowIso() : seenUtc;
    SqlError err;
    sql::Transaction tx(m.db, err);
    if (!tx.begun()) return sqlFail("archive write", err);
    auto lot = m.ensureId("lottery", lottery, m.lotteryIds);
    auto org = m.ensureId("origin", source, m.originIds);
    if (!lot || !org) return fail(ErrorCode::ArchiveWrite, "archive write: " + m.db.lastMessage());

    Stmt insert(m.db, "INSERT INTO draw(lottery, period, qishu, haoma, seen, origin) "
                      "VALUES(?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING");
    Stmt held(m.db, "SELECT haoma, seen FROM draw WHERE lottery = ? AND period = ?");
    if (!insert.ok() || !held.ok())
        return fail(ErrorCode::ArchiveWrite, "archive write: " + m.db.lastMessage());
    for (const DrawIn& d : draws) {
        const std::int64_t period = PeriodValue(d.qishu);
        if (!isHaoma(d.haoma) || period <= 0)
            return fail(ErrorCode::ArchiveWrite,
                        "archive write: not a draw: " + d.qishu + " " + d.haoma);
        insert.reset();
        insert.bind(1, *lot).bind(2, period).bind(3, d.qishu).bind(4, d.haoma).bind(5, now);
        insert.bind(6, *org);
        insert.step();
        if (insert.failed())
            return fail(ErrorCode::ArchiveWrite, "archive write: " + m.db.lastMessage());
        if (m.db.changes() > 0) {
            ++rep.added;
            continue;
        }
        held.reset();
        held.bind(1, *lot).bind(2, period);
        if (!held.step())
            return fail(ErrorCode::ArchiveWrite, "archive write: " + m.db.lastMessage());
        const std::string oldHaoma = held.text(0);
        if (oldHaoma == d.haoma) {
            ++rep.duplicates;
        } else if (onConflict == OnConflict::KeepArchived) {
            rep.conflicts.push_back({d.qishu, oldHaoma, d.haoma});
        } else {
            if (!RecordCorrection(m.db, *lot, period, d.qishu, oldHaoma, held.text(1), d.haoma, now,
                                  *org, err))
                return sqlFail("archive correction", err);
            ++rep.corrected;
        }
    }
    if (!tx.commit(err)) return sqlFail("archive write", err);
    m.lotteryIds[lottery] = *lot;
    m.originIds[source] = *org;
    return rep;
}

Result<void> Archive::setBulkWrites(bool on) {
    SqlError err;
    const char* q = on ? "PRAGMA wal_autocheckpoint=1000000"
                       : "PRAGMA wal_autocheckpoint=1000; PRAGMA wal_checkpoint(TRUNCATE)";
    if (!m_impl->db.exec(q, err)) return sqlFail("archive checkpoint", err);
    return {};
}

Result<void> Archive::correct(const std::string& lottery, const std::string& qishu,
                              const std::string& newHaoma, const std::string& source) {
    auto r = add(lottery, {DrawIn{qishu, newHaoma}}, source, OnConflict::Correct);
    if (!r) return r.failure();
    return {};
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
                         belowPeriod, std::max<std::int64_t>(count, 0));
}

Result<std::vector<ArchivedDraw>> Archive::range(const std::string& lottery,
                                                 const std::string& fromQishu,
                                                 const std::string& toQishu) {
    const std::int64_t lo = fromQishu.empty() ? 0 : PeriodValue(fromQishu);
    const std::int64_t hi = toQishu.empty() ? kNoBound : PeriodValue(toQishu);
    return m_impl->draws(lottery,
                         "WHERE d.lottery = ?1 AND d.period BETWEEN ?2 AND ?3 "
                         "ORDER BY d.period",
                         lo, hi);
}

Result<std::vector<ArchivedDraw>> Archive::day(const std::string& lottery, const std::string& day) {
    std::int64_t first = 0, last = 0;
    std::vector<ArchivedDraw> out;
    if (DayPeriodRange(day, first, last)) {
        auto r = m_impl->draws(lottery,
                               "WHERE d.lottery = ?1 AND d.period BETWEEN ?2 AND ?3 "
                               "ORDER BY d.period",
                               first, last);
        if (!r) return r;
        out = std::move(r).value();
    }
    // Labels without a date belong to the day they were first seen.
    for (auto [lo, hi] :
         {std::pair{std::int64_t(0), kDateBandLow - 1}, std::pair{kDateBandHigh + 1, kNoBound}}) {
        auto undated = m_impl->draws(
            lottery, "WHERE d.lottery = ?1 AND d.period BETWEEN ?2 AND ?3 ORDER BY d.period", lo,
            hi);
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
    if (s.failed())
        return fail(ErrorCode::ArchiveRead, "archive gaps: " + m_impl->db.lastMessage());
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
        }
        below = first - 1;
    }
    // Everything else by the day it was first seen.
    std::map<std::string, std::int64_t> seen;
    Stmt undated(db, "SELECT substr(seen, 1, 10), count(*) FROM ("
                     "SELECT seen FROM draw WHERE lottery = ?1 AND period < ?2 UNION ALL "
                     "SELECT seen FROM draw WHERE lottery = ?1 AND period > ?3) GROUP BY 1");
    undated.bind(1, *id).bind(2, kDateBandLow).bind(3, kDateBandHigh);
    while (undated.step())
        seen[undated.text(0)] += undated.integer(1);
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
    return out;
}

Result<std::vector<Correction>> Archive::corrections(const std::string& lottery) {
    std::vector<Correction> out;
    auto id = m_impl->lotteryId(lottery);
    if (!id) return out;
    Stmt s(m_impl->db, "SELECT c.qishu, c.old_haoma, c.new_haoma, c.old_seen, c.corrected, "
                       "o.name FROM correction c JOIN origin o ON o.id = c.origin "
                       "WHERE c.lottery = ? ORDER BY c.period, c.id");
    s.bind(1, *id);
    while (s.step())
        out.push_back({s.text(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5)});
    if (s.failed())
        return fail(ErrorCode::ArchiveRead, "archive corrections: " + m_impl->db.lastMessage());
    return out;
}

Result<std::vector<std::string>> Archive::lotteries() {
    std::vector<std::string> out;
    Stmt s(m_impl->db, "SELECT name FROM lottery ORDER BY id");
    while (s.step())
        out.push_back(s.text(0));
    if (s.failed()) return fail(ErrorCode::ArchiveRead, "archive: " + m_impl->db.lastMessage());
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
    Stmt s(m_impl->db,
           "SELECT l.name, "
           "(SELECT count(*) FROM draw d WHERE d.lottery = l.id), "
           "(SELECT count(*) FROM correction c WHERE c.lottery = l.id), "
           "(SELECT qishu FROM draw d WHERE d.lottery = l.id ORDER BY period LIMIT 1), "
           "(SELECT qishu FROM draw d WHERE d.lottery = l.id ORDER BY period DESC LIMIT 1) "
           "FROM lottery l ORDER BY l.id");
    while (s.step())
        info.lotteries.push_back({s.text(0), s.integer(1), s.integer(2), s.text(3), s.text(4)});
    if (s.failed())
        return fail(ErrorCode::ArchiveRead, "archive info: " + m_impl->db.lastMessage());
    return info;
}

} // namespace zuohao::store

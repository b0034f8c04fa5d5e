// The draw archive over SQLite: opening (with set-aside of a damaged file), schema migration
// and writes. The reads are in ArchiveQueries.cpp.
#include "store/DrawArchive.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "store/ArchiveImpl.h"
#include "store/Schema.h"

namespace zuohao::store {

namespace fs = std::filesystem;
using sql::SqlError;
using sql::Stmt;

ErrorCode ErrorCodeOfTrouble(ArchiveTrouble trouble, ErrorCode otherwise) {
    switch (trouble) {
    case ArchiveTrouble::Busy:
        return ErrorCode::ArchiveBusy;
    case ArchiveTrouble::Full:
        return ErrorCode::ArchiveFull;
    case ArchiveTrouble::Damaged:
        return ErrorCode::ArchiveDamaged;
    case ArchiveTrouble::NotAnArchive:
    case ArchiveTrouble::Newer:
        return ErrorCode::NotAnArchive;
    default:
        return otherwise;
    }
}

ArchiveTrouble TroubleOfSqliteCode(int code) {
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return ArchiveTrouble::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ArchiveTrouble::Busy;
    case SQLITE_FULL:
        return ArchiveTrouble::Full;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return ArchiveTrouble::Damaged;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_NOLFS:
    case SQLITE_AUTH:
    case SQLITE_NOMEM:
    case SQLITE_PROTOCOL:
        return ArchiveTrouble::Unavailable;
    default:
        return ArchiveTrouble::Refused;
    }
}

namespace {
constexpr std::size_t kHaomaDigits = 5;

bool isHaoma(const std::string& h) {
    return h.size() == kHaomaDigits &&
           std::all_of(h.begin(), h.end(), [](char c) { return c >= '0' && c <= '9'; });
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
    // A log with pages goes along with the file; an empty one (and its index) holds nothing.
    std::error_code walEc;
    const bool emptyLog = fs::file_size(Utf8Path(path + "-wal"), walEc) == 0 && !walEc;
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (!fs::exists(Utf8Path(path + suffix), ignored)) continue;
        if (emptyLog)
            fs::remove(Utf8Path(path + suffix), ignored);
        else
            fs::rename(Utf8Path(path + suffix), Utf8Path(target + suffix), ignored);
    }
    return target;
}

// A file this open made but could not make whole (a full disk) is not left behind as an
// empty archive that a later start would take for the user's.
void removeUnfinished(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(Utf8Path(path), ec);
    if (ec || size != 0) return;
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(Utf8Path(path + suffix), ec);
}

std::string troubleWords(ArchiveTrouble t) {
    switch (t) {
    case ArchiveTrouble::Busy:
        return "is busy (another program holds it)";
    case ArchiveTrouble::Full:
        return "cannot grow (the disk is full)";
    case ArchiveTrouble::Damaged:
        return "is damaged or not a database";
    case ArchiveTrouble::NotAnArchive:
        return "is not a draw archive";
    case ArchiveTrouble::Newer:
        return "is from a newer version";
    default:
        return "cannot be opened";
    }
}

// Opens and checks one file; the trouble of a failure.
ArchiveTrouble openFile(sql::Db& db, const std::string& path, OpenMode mode, bool snapshot,
                        int busyWaitMs, SqlError& err) {
    const auto access = snapshot ? sql::Access::ReadOnlySnapshot
                        : mode == OpenMode::ReadOnly || mode == OpenMode::Look
                            ? sql::Access::ReadOnly
                            : sql::Access::ReadWriteCreate;
    bool ok = OpenAndMigrate(db, path, access, busyWaitMs, err);
    if (ok && mode == OpenMode::SetAsideDamaged) ok = QuickCheck(db, err);
    if (ok) return ArchiveTrouble::None;
    db.closeWithoutCheckpoint(); // a damaged file is set aside as it is
    if (err.code != 0) return TroubleOfSqliteCode(err.code);
    return err.message.find("newer") != std::string::npos ? ArchiveTrouble::Newer
                                                          : ArchiveTrouble::NotAnArchive;
}
} // namespace

bool Archive::Impl::snapshotMoved() const {
    if (!snapshot) return false;
    std::error_code ec, tec;
    const auto bytes = fs::file_size(Utf8Path(path), ec);
    const auto time = fs::last_write_time(Utf8Path(path), tec);
    return ec || tec || bytes != snapshotBytes || time != snapshotTime;
}

Error Archive::Impl::movedUnderfoot() {
    trouble = ArchiveTrouble::Busy;
    return fail(ErrorCode::ArchiveBusy,
                "the archive " + path +
                    " was written by another program while it was read; try again",
                path);
}

Error Archive::Impl::failed(ErrorCode op, const std::string& what, int code) {
    return failed(op, what, SqlError{db.lastMessage(), code});
}

Error Archive::Impl::failed(ErrorCode op, const std::string& what, const SqlError& e) {
    trouble = TroubleOfSqliteCode(e.code);
    if (trouble == ArchiveTrouble::None) trouble = ArchiveTrouble::Refused;
    return fail(ErrorCodeOfTrouble(trouble, op), what + ": " + e.message, path);
}

Error Archive::Impl::failedLast(ErrorCode op, const std::string& what) {
    return failed(op, what, db.lastCode());
}

std::optional<std::int64_t> Archive::Impl::ensureId(const char* table, const std::string& name,
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

Archive::Archive(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Archive::~Archive() = default;

const std::string& Archive::path() const {
    return m_impl->path;
}

ArchiveTrouble Archive::lastTrouble() const {
    return m_impl->trouble;
}

void Archive::closeWithoutCheckpoint() {
    m_impl->db.closeWithoutCheckpoint();
}

void Archive::setBusyWait(int milliseconds) {
    m_impl->db.setBusyWait(milliseconds);
}

Result<void> Archive::setPageCache(int kibibytes) {
    SqlError err;
    const std::string q = "PRAGMA cache_size=-" + std::to_string(kibibytes);
    if (!m_impl->db.exec(q.c_str(), err))
        return m_impl->failed(ErrorCode::ArchiveOpen, "archive cache", err);
    return {};
}

bool Archive::looksLikeDatabase() const {
    return m_impl->db.fileHead() != sql::FileHead::Other;
}

Result<std::unique_ptr<Archive>> Archive::open(const std::string& path, OpenReport* report,
                                               OpenMode mode, int busyWaitMs) {
    OpenReport local;
    OpenReport& rep = report ? *report : local;
    const bool readOnly = mode == OpenMode::ReadOnly || mode == OpenMode::Look;
    rep = {};
    auto refuse = [&](ArchiveTrouble t, const std::string& text) {
        rep.trouble = t;
        const bool missing =
            readOnly && t == ArchiveTrouble::Unavailable && !fs::exists(Utf8Path(path));
        return fail(missing ? ErrorCode::ArchiveMissing
                            : ErrorCodeOfTrouble(t, ErrorCode::ArchiveOpen),
                    text, path);
    };
    std::error_code ec;
    const fs::path file = Utf8Path(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const bool existed = fs::exists(file, ec);
    if (readOnly && !existed) return refuse(ArchiveTrouble::Unavailable, "no archive at " + path);
    if (!fs::is_directory(folder, ec))
        return refuse(ArchiveTrouble::Unavailable,
                      "archive folder does not exist: " + Utf8Text(folder));
    if (fs::is_directory(file, ec))
        return refuse(ArchiveTrouble::Unavailable, "archive path is a folder: " + path);

    auto impl = std::make_unique<Impl>();
    impl->path = path;
    if (mode == OpenMode::Look && !fs::exists(Utf8Path(path + "-wal"), ec) && !ec) {
        // Stamped before the open: a write after this shows in every later read's check.
        impl->snapshot = true;
        impl->snapshotBytes = fs::file_size(file, ec);
        impl->snapshotTime = fs::last_write_time(file, ec);
    }
    SqlError err;
    const ArchiveTrouble trouble = openFile(impl->db, path, mode, impl->snapshot, busyWaitMs, err);
    if (trouble != ArchiveTrouble::None) {
        if (!existed) removeUnfinished(path);
        if (mode != OpenMode::SetAsideDamaged || trouble != ArchiveTrouble::Damaged || !existed) {
            std::string text =
                "the archive " + path + " " + troubleWords(trouble) + ": " + err.message;
            if (mode == OpenMode::Look && !impl->snapshot && trouble == ArchiveTrouble::Unavailable)
                text += " (its write-ahead log " + path + "-wal is read only beside its index " +
                        path +
                        "-shm, which cannot be made in this folder: copy the archive with its "
                        "-wal file to a folder that can be written and read it there)";
            return refuse(trouble, text);
        }
        auto aside = setAside(path);
        if (!aside) {
            rep.trouble = ArchiveTrouble::Unavailable;
            return aside.failure();
        }
        rep.setAsideAs = *aside;
        rep.setAsideWhy = err.message;
        if (const ArchiveTrouble again =
                openFile(impl->db, path, mode, impl->snapshot, busyWaitMs, err);
            again != ArchiveTrouble::None) {
            removeUnfinished(path);
            return refuse(again, "cannot start a fresh archive " + path + ": " + err.message);
        }
    }
    rep.created = !existed || !rep.setAsideAs.empty();
    return std::unique_ptr<Archive>(new Archive(std::move(impl)));
}

Result<WriteReport> Archive::add(const std::string& lottery, const std::vector<DrawIn>& draws,
                                 const std::string& source, OnConflict onConflict,
                                 const std::string& seenUtc, const ImportMark* mark) {
    Impl& m = *m_impl;
    WriteReport rep;
    if (draws.empty()) return rep;
    if (const std::string why = LotteryNameProblem(lottery); !why.empty()) {
        m.trouble = ArchiveTrouble::Refused;
        return fail(ErrorCode::ArchiveWrite, "archive write: " + why, m.path);
    }
    for (const DrawIn& d : draws)
        if (!isHaoma(d.haoma) || PeriodValue(d.qishu) <= 0) {
            m.trouble = ArchiveTrouble::Refused;
            return fail(ErrorCode::ArchiveWrite,
                        "archive write: not a draw: " + d.qishu + " " + d.haoma, m.path);
        }
    const std::string now = seenUtc.empty() ? UtcNowIso() : seenUtc;
    SqlError err;
    sql::Transaction tx(m.db, err);
    if (!tx.begun()) return m.failed(ErrorCode::ArchiveWrite, "archive write", err);
    auto lot = m.ensureId("lottery", lottery, m.lotteryIds);
    if (!lot) return m.failedLast(ErrorCode::ArchiveWrite, "archive write");
    std::map<std::string, std::int64_t> origins; // this write's, cached once committed
    auto originOf = [&](const DrawIn& d) -> std::optional<std::int64_t> {
        const std::string& name = d.source.empty() ? source : d.source;
        if (auto it = origins.find(name); it != origins.end()) return it->second;
        auto id = m.ensureId("origin", name, m.originIds);
        if (id) origins[name] = *id;
        return id;
    };

    Stmt insert(m.db, "INSERT INTO draw(lottery, period, qishu, haoma, seen, origin) "
                      "VALUES(?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING");
    Stmt held(m.db, "SELECT haoma, seen FROM draw WHERE lottery = ? AND period = ?");
    Stmt past(m.db, "INSERT INTO correction(lottery, period, qishu, old_haoma, new_haoma, "
                    "old_seen, corrected, origin) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insert.ok() || !held.ok() || !past.ok())
        return m.failedLast(ErrorCode::ArchiveWrite, "archive write");
    for (const DrawIn& d : draws) {
        const std::int64_t period = PeriodValue(d.qishu);
        const auto org = originOf(d);
        if (!org) return m.failedLast(ErrorCode::ArchiveWrite, "archive write");
        const std::string& seen = IsUtcIso(d.seenUtc) ? d.seenUtc : now;
        insert.reset();
        insert.bind(1, *lot).bind(2, period).bind(3, d.qishu).bind(4, d.haoma).bind(5, seen);
        insert.bind(6, *org);
        insert.step();
        if (insert.failed())
            return m.failed(ErrorCode::ArchiveWrite, "archive write", insert.code());
        if (m.db.changes() > 0) {
            ++rep.added;
            // A restored draw brings its older numbers along, each replaced by the next.
            for (std::size_t i = 0; i < d.past.size(); ++i) {
                const std::string& next = i + 1 < d.past.size() ? d.past[i + 1].haoma : d.haoma;
                const std::string& when =
                    IsUtcIso(d.past[i].correctedUtc) ? d.past[i].correctedUtc : now;
                if (!isHaoma(d.past[i].haoma)) continue;
                past.reset();
                past.bind(1, *lot).bind(2, period).bind(3, d.qishu).bind(4, d.past[i].haoma);
                past.bind(5, next).bind(6, seen).bind(7, when).bind(8, *org);
                past.step();
                if (past.failed())
                    return m.failed(ErrorCode::ArchiveWrite, "archive write", past.code());
            }
            continue;
        }
        held.reset();
        held.bind(1, *lot).bind(2, period);
        if (!held.step())
            return m.failed(ErrorCode::ArchiveWrite, "archive write",
                            held.failed() ? held.code() : 0);
        const std::string oldHaoma = held.text(0);
        if (oldHaoma == d.haoma) {
            ++rep.duplicates;
        } else if (onConflict == OnConflict::KeepArchived) {
            rep.conflicts.push_back({d.qishu, oldHaoma, d.haoma});
        } else {
            if (!RecordCorrection(m.db, *lot, period, d.qishu, oldHaoma, held.text(1), d.haoma, now,
                                  *org, err))
                return m.failed(ErrorCode::ArchiveWrite, "archive correction", err);
            ++rep.corrected;
        }
    }
    if (mark && !m.writeMark(*lot, *mark, err))
        return m.failed(ErrorCode::ArchiveWrite, "archive import mark", err);
    if (!tx.commit(err)) return m.failed(ErrorCode::ArchiveWrite, "archive write", err);
    m.lotteryIds[lottery] = *lot;
    m.originIds.insert(origins.begin(), origins.end());
    return rep;
}

Result<void> Archive::setBulkWrites(bool on) {
    SqlError err;
    const char* q = on ? "PRAGMA wal_autocheckpoint=1000000"
                       : "PRAGMA wal_autocheckpoint=1000; PRAGMA wal_checkpoint(TRUNCATE)";
    if (!m_impl->db.exec(q, err))
        return m_impl->failed(ErrorCode::ArchiveWrite, "archive checkpoint", err);
    return {};
}

Result<void> Archive::correct(const std::string& lottery, const std::string& qishu,
                              const std::string& newHaoma, const std::string& source) {
    auto r = add(lottery, {DrawIn{qishu, newHaoma}}, source, OnConflict::Correct);
    if (!r) return r.failure();
    return {};
}

} // namespace zuohao::store

#include "store/Schema.h"

#include <sqlite3.h>

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace {
// Migration n brings a file from user_version n to n + 1. Append, never edit.
const char* const kMigrations[] = {
    // 0 -> 1: lotteries, draw origins, draws keyed by numeric period, corrections.
    "CREATE TABLE lottery(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE origin(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE draw(lottery INTEGER NOT NULL REFERENCES lottery(id),"
    " period INTEGER NOT NULL, qishu TEXT NOT NULL, haoma TEXT NOT NULL,"
    " seen TEXT NOT NULL, origin INTEGER NOT NULL REFERENCES origin(id),"
    " PRIMARY KEY(lottery, period)) WITHOUT ROWID;"
    "CREATE TABLE correction(id INTEGER PRIMARY KEY, lottery INTEGER NOT NULL,"
    " period INTEGER NOT NULL, qishu TEXT NOT NULL, old_haoma TEXT NOT NULL,"
    " new_haoma TEXT NOT NULL, old_seen TEXT NOT NULL, corrected TEXT NOT NULL,"
    " origin INTEGER NOT NULL);"
    "CREATE INDEX correction_draw ON correction(lottery, period);",
};
static_assert(sizeof kMigrations / sizeof kMigrations[0] == std::size_t(kSchemaVersion));
} // namespace

bool OpenAndMigrate(sql::Db& db, const std::string& path, sql::Access access, int busyWaitMs,
                    sql::SqlError& err) {
    if (!db.open(path, access, err)) return false;
    // A file written over while its pages were all in the write-ahead log would still read as
    // the archive through the log; what is in the file itself decides.
    if (db.fileHead() == sql::FileHead::Other) {
        err = {"file is not a database (written over)", SQLITE_NOTADB};
        return false;
    }
    db.setBusyWait(busyWaitMs);
    std::int64_t version = 0, tables = 0;
    // Reading the schema is what tells a database from anything else.
    if (!db.scalar("SELECT count(*) FROM sqlite_master", tables, err)) return false;
    if (!db.scalar("PRAGMA user_version", version, err)) return false;
    if (version > kSchemaVersion) {
        err = {"the archive was written by a newer version (schema " + std::to_string(version) +
                   ")",
               0};
        return false;
    }
    if (access != sql::Access::ReadWriteCreate) {
        if (version < kSchemaVersion) {
            err = {tables == 0 ? "it holds no archive tables" : "it is no draw archive", 0};
            return false;
        }
        return true;
    }
    if (!db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;",
                 err))
        return false;
    for (std::int64_t v = version; v < kSchemaVersion; ++v) {
        sql::Transaction tx(db, err);
        if (!tx.begun()) return false;
        const std::string bump = "PRAGMA user_version=" + std::to_string(v + 1);
        if (!db.exec(kMigrations[v], err) || !db.exec(bump.c_str(), err) || !tx.commit(err))
            return false;
    }
    return true;
}

bool QuickCheck(sql::Db& db, sql::SqlError& err) {
    sql::Stmt s(db, "PRAGMA quick_check(1)");
    std::string verdict;
    if (s.step()) verdict = s.text(0);
    if (s.failed()) {
        err = {db.lastMessage(), s.code()};
        return false;
    }
    if (verdict == "ok") return true;
    err = {"quick_check: " + verdict, SQLITE_CORRUPT};
    return false;
}

bool RecordCorrection(sql::Db& db, std::int64_t lottery, std::int64_t period,
                      const std::string& qishu, const std::string& oldHaoma,
                      const std::string& oldSeen, const std::string& newHaoma,
                      const std::string& now, std::int64_t origin, sql::SqlError& err) {
    sql::Stmt keep(db, "INSERT INTO correction(lottery, period, qishu, old_haoma, new_haoma, "
                       "old_seen, corrected, origin) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    sql::Stmt set(db, "UPDATE draw SET haoma = ?, origin = ? WHERE lottery = ? AND period = ?");
    if (!keep.ok() || !set.ok()) {
        err = {db.lastMessage(), 1};
        return false;
    }
    keep.bind(1, lottery).bind(2, period).bind(3, qishu).bind(4, oldHaoma).bind(5, newHaoma);
    keep.bind(6, oldSeen).bind(7, now).bind(8, origin);
    keep.step();
    set.bind(1, newHaoma).bind(2, origin).bind(3, lottery).bind(4, period);
    set.step();
    if (keep.failed() || set.failed()) {
        err = {db.lastMessage(), keep.failed() ? keep.code() : set.code()};
        return false;
    }
    return true;
}

} // namespace zuohao::store

#pragma once
// The archive's schema and its migrations, and the one write that keeps an old number.
#include <cstdint>
#include <string>

#include "store/Sqlite.h"

namespace zuohao::store {

// Opens the file, sets WAL and the busy wait, and brings the schema up to the current
// version (PRAGMA user_version), each step in its own transaction. Read only, nothing is
// written: a file without the archive's tables is refused as not an archive.
bool OpenAndMigrate(sql::Db& db, const std::string& path, sql::Access access, int busyWaitMs,
                    sql::SqlError& err);

// PRAGMA quick_check: false when the file is malformed (err.code SQLITE_CORRUPT, with the
// first problem found) or when the check itself could not run (err from SQLite).
bool QuickCheck(sql::Db& db, sql::SqlError& err);

// Moves the held number of a period into the corrections table and stores the new one.
bool RecordCorrection(sql::Db& db, std::int64_t lottery, std::int64_t period,
                      const std::string& qishu, const std::string& oldHaoma,
                      const std::string& oldSeen, const std::string& newHaoma,
                      const std::string& now, std::int64_t origin, sql::SqlError& err);

} // namespace zuohao::store

#pragma once
// The inside of an Archive, shared by its writing and its reading halves.
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/DrawArchive.h"
#include "store/Sqlite.h"

namespace zuohao::store {

struct Archive::Impl {
    std::string path;
    sql::Db db;
    std::map<std::string, std::int64_t> lotteryIds; // cache of committed rows
    std::map<std::string, std::int64_t> originIds;
    ArchiveTrouble trouble = ArchiveTrouble::None; // of the last failed call
    // A file read as it is (OpenMode::Look without a log): its size and time at the open.
    bool snapshot = false;
    std::uintmax_t snapshotBytes = 0;
    std::filesystem::file_time_type snapshotTime{};

    // Whether a file read as it is was written since the open (what was read may be torn).
    bool snapshotMoved() const;
    Error movedUnderfoot();

    // A failed call: remembers its trouble by SQLite's code and words the error, coded by
    // the trouble or else by `op` (a read or a write), about the archive's path.
    Error failed(ErrorCode op, const std::string& what, int code);
    Error failed(ErrorCode op, const std::string& what, const sql::SqlError& e);
    // The same for the connection's last error.
    Error failedLast(ErrorCode op, const std::string& what);

    // Inside the caller's transaction. The table is not part of the schema's version: a
    // program that does not know it leaves it alone.
    bool writeMark(std::int64_t lottery, const ImportMark& mark, sql::SqlError& err);
    std::optional<std::int64_t> findId(const char* table, const std::string& name);
    // The id of a lottery or origin name, inserted when new (inside the caller's transaction).
    std::optional<std::int64_t> ensureId(const char* table, const std::string& name,
                                         std::map<std::string, std::int64_t>& cache);
    std::optional<std::int64_t> lotteryId(const std::string& name);
    // The draws of a query over the draw columns: `where` binds ?1 to the lottery and ?2, ?3,
    // ... to `values`. No draws for a lottery the archive does not know.
    Result<std::vector<ArchivedDraw>> draws(const std::string& lottery, const char* where,
                                            std::initializer_list<std::int64_t> values);
};

} // namespace zuohao::store

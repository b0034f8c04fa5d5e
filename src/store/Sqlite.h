#pragma once
// A small RAII wrapper over the SQLite C API: a connection, prepared statements, and a
// transaction that rolls back unless committed.
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zuohao::store::sql {

// A failed SQLite call: the message and SQLite's primary result code.
struct SqlError {
    std::string message;
    int code = 0;
};

// How a connection opens its file.
enum class Access {
    ReadWriteCreate, // read and write, creating a missing file
    ReadOnly,        // read only; a missing file is an error
    // Read only, the file taken as it is: no lock, no write-ahead log or its index made
    // beside it (SQLite's immutable file). Only for a file no program has open for writing.
    ReadOnlySnapshot,
};

// What the start of a connection's main file holds.
enum class FileHead {
    Empty,    // no byte yet: a new file, its pages all in the write-ahead log
    Database, // SQLite's header
    Other,    // anything else: not a database, or one written over by another program
    Unknown,  // it could not be read
};

class Db {
public:
    Db() = default;
    ~Db();
    Db(Db&& other) noexcept;
    Db& operator=(Db&& other) noexcept;
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    // Opens the file. False with `err` set on failure.
    bool open(const std::string& path, Access access, SqlError& err);
    // How long a statement waits for another connection's lock before it fails as busy.
    void setBusyWait(int milliseconds);
    void close();
    // Closes without folding the write-ahead log into the file: for a file that is damaged or
    // was written over, which the last connection's usual checkpoint would write into (and cut
    // to the database's size) before it is set aside.
    void closeWithoutCheckpoint();
    // Reads the main file's first bytes through the connection's own handle: opening the file
    // anew and closing it would drop every lock this process holds on it.
    FileHead fileHead() const;
    sqlite3* handle() const { return m_db; }
    explicit operator bool() const { return m_db != nullptr; }

    // Runs one or more statements without results.
    bool exec(const char* sqlText, SqlError& err);
    // The first column of the first row as an integer (0 when no row).
    bool scalar(const char* sqlText, std::int64_t& out, SqlError& err);
    int changes() const;
    std::string lastMessage() const;
    int lastCode() const; // SQLite's primary result code of the last call

private:
    sqlite3* m_db = nullptr;
};

class Stmt {
public:
    Stmt() = default;
    Stmt(const Db& db, const char* sqlText);
    ~Stmt();
    Stmt(Stmt&& other) noexcept;
    Stmt& operator=(Stmt&& other) noexcept;
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Stmt& bind(int index, std::int64_t value);
    Stmt& bind(int index, std::string_view value);
    // Steps once: true while a row is there; `done` tells a finished statement from an error.
    bool step();
    bool failed() const { return m_failed; }
    int code() const { return m_code; }
    void reset(); // ready to bind and run again
    std::int64_t integer(int column) const;
    std::string text(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_failed = false;
    int m_code = 0;
};

// BEGIN IMMEDIATE on construction, ROLLBACK on destruction unless commit() succeeded.
class Transaction {
public:
    Transaction(Db& db, SqlError& err);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool begun() const { return m_begun; }
    bool commit(SqlError& err);

private:
    Db& m_db;
    bool m_begun = false;
    bool m_done = false;
};

} // namespace zuohao::store::sql

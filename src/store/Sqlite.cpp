#include "store/Sqlite.h"

#include <cstring>
#include <sqlite3.h>
#include <utility>

namespace zuohao::store::sql {

namespace {
// A path as an SQLite file URI: the characters a URI gives a meaning escaped.
std::string fileUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "file:";
#ifdef _WIN32
    if (path.size() > 1 && path[1] == ':') out += "///"; // file:///C:/...
#else
    if (!path.empty() && path[0] == '/') out += "//"; // file:///tmp/..., no authority
#endif
    for (const char c : path) {
#ifdef _WIN32
        if (c == '\\') {
            out += '/';
            continue;
        }
#endif
        const auto u = static_cast<unsigned char>(c);
        if (c == '%' || c == '?' || c == '#' || u < 0x20) {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}
} // namespace

Db::~Db() {
    close();
}

Db::Db(Db&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

Db& Db::operator=(Db&& other) noexcept {
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

bool Db::open(const std::string& path, Access access, SqlError& err) {
    close();
    // One connection is used by one thread at a time: SQLite's own locking of it is spared.
    int flags = SQLITE_OPEN_NOMUTEX |
                (access == Access::ReadWriteCreate ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                                   : SQLITE_OPEN_READONLY);
    std::string name = path;
    if (access == Access::ReadOnlySnapshot) {
        flags |= SQLITE_OPEN_URI;
        name = fileUri(path) + "?immutable=1";
    }
    const int rc = sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        err = {m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc), rc & 0xff};
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 0);
    return true;
}

void Db::setBusyWait(int milliseconds) {
    sqlite3_busy_timeout(m_db, milliseconds);
}

void Db::close() {
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void Db::closeWithoutCheckpoint() {
    if (!m_db) return;
    int ignored = 0;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, &ignored);
    close();
}

FileHead Db::fileHead() const {
    static constexpr char kHeader[] = "SQLite format 3"; // and its terminating zero
    sqlite3_file* file = nullptr;
    if (!m_db ||
        sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return FileHead::Unknown;
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) return FileHead::Unknown;
    if (size == 0) return FileHead::Empty;
    char head[sizeof kHeader] = {};
    const int rc = file->pMethods->xRead(file, head, int(sizeof head), 0);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return FileHead::Unknown;
    return std::memcmp(head, kHeader, sizeof head) == 0 ? FileHead::Database : FileHead::Other;
}

bool Db::exec(const char* sqlText, SqlError& err) {
    char* msg = nullptr;
    const int rc = sqlite3_exec(m_db, sqlText, nullptr, nullptr, &msg);
    if (rc == SQLITE_OK) return true;
    err = {msg ? msg : sqlite3_errstr(rc), rc & 0xff};
    sqlite3_free(msg);
    return false;
}

bool Db::scalar(const char* sqlText, std::int64_t& out, SqlError& err) {
    Stmt s(*this, sqlText);
    if (!s.ok()) {
        err = {lastMessage(), sqlite3_errcode(m_db) & 0xff};
        return false;
    }
    out = s.step() ? s.integer(0) : 0;
    if (s.failed()) {
        err = {lastMessage(), s.code()};
        return false;
    }
    return true;
}

int Db::changes() const {
    return sqlite3_changes(m_db);
}

std::string Db::lastMessage() const {
    return m_db ? sqlite3_errmsg(m_db) : "no database";
}

int Db::lastCode() const {
    return m_db ? sqlite3_errcode(m_db) & 0xff : SQLITE_CANTOPEN;
}

Stmt::Stmt(const Db& db, const char* sqlText) {
    const int rc = sqlite3_prepare_v2(db.handle(), sqlText, -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_failed = true;
        m_code = rc & 0xff;
    }
}

Stmt::~Stmt() {
    sqlite3_finalize(m_stmt);
}

Stmt::Stmt(Stmt&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr)), m_failed(other.m_failed), m_code(other.m_code) {
}

Stmt& Stmt::operator=(Stmt&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_failed = other.m_failed;
        m_code = other.m_code;
    }
    return *this;
}

Stmt& Stmt::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

Stmt& Stmt::bind(int index, std::string_view value) {
    sqlite3_bind_text(m_stmt, index, value.data(), int(value.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Stmt::step() {
    if (!m_stmt) return false; // a statement that did not prepare stays failed
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    m_failed = rc != SQLITE_DONE;
    m_code = rc & 0xff;
    return false;
}

void Stmt::reset() {
    if (!m_stmt) return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_failed = false;
    m_code = 0;
}

std::int64_t Stmt::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string Stmt::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return p ? std::string(p, std::size_t(sqlite3_column_bytes(m_stmt, column))) : std::string();
}

Transaction::Transaction(Db& db, SqlError& err) : m_db(db) {
    m_begun = m_db.exec("BEGIN IMMEDIATE", err);
}

Transaction::~Transaction() {
    if (m_begun && !m_done) {
        SqlError ignored;
        m_db.exec("ROLLBACK", ignored);
    }
}

bool Transaction::commit(SqlError& err) {
    if (!m_begun || m_done) return false;
    m_done = m_db.exec("COMMIT", err);
    return m_done;
}

} // namespace zuohao::store::sql

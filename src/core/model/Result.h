#pragma once
// Small result type for expected failures: a value or an error. An error carries a code that
// callers branch on, the user-facing text the windows show, and the value it is about (a
// path, a kill-list piece), so that another front end (the command-line tool) can word its
// own message. It is [[nodiscard]]: a caller handles the error, or says in a comment why
// none can occur.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace zuohao {

enum class ErrorCode : std::uint8_t {
    Failed,             // anything not named below
    OutOfRange,         // an index or value outside its range
    NoDraws,            // there is no draw to work from
    KillListOutOfSpace, // a kill-list piece outside the number space (subject: the piece)
    NoBaseSet,          // the monitor has no base set to rate periods against
    InvalidDraw,        // a draw number that is not five digits (subject: the number)
    WriteFailed,        // a file could not be written (subject: the path)
    ArchiveMissing,     // no archive at the path (subject: the path)
    ArchiveOpen,        // the archive cannot be opened (subject: the path)
    ArchiveRead,        // a query of the archive failed
    ArchiveWrite,       // a write to the archive failed
    ArchiveBusy,        // another program holds the archive's lock (subject: the path)
    ArchiveFull,        // the archive cannot grow: the disk is full (subject: the path)
    ArchiveDamaged,     // the file is not a database, or a damaged one (subject: the path)
    NotAnArchive,       // a database, but no draw archive or a newer one's (subject: the path)
    ReadFailed,         // a file could not be read as asked (subject: the path)
    Cancelled,          // the caller stopped the work before it ended
};

struct Error {
    ErrorCode code = ErrorCode::Failed;
    std::string message; // the text shown to the user of the windows
    std::string subject; // what the error is about, when there is one
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error e) : m_v(std::move(e)) {}
    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_v); }
    T& value() & { return std::get<0>(m_v); }
    T&& value() && { return std::get<0>(std::move(m_v)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const std::string& error() const { return std::get<1>(m_v).message; }
    ErrorCode code() const { return std::get<1>(m_v).code; }
    const Error& failure() const { return std::get<1>(m_v); }

private:
    std::variant<T, Error> m_v;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error e) : m_err(std::move(e)), m_failed(true) {}
    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return m_err.message; }
    ErrorCode code() const { return m_err.code; }
    const Error& failure() const { return m_err; }

private:
    Error m_err;
    bool m_failed = false;
};

inline Error fail(std::string message) {
    return Error{ErrorCode::Failed, std::move(message), {}};
}

inline Error fail(ErrorCode code, std::string message, std::string subject = {}) {
    return Error{code, std::move(message), std::move(subject)};
}

} // namespace zuohao

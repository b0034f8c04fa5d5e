#pragma once
// Small result type for expected failures: a value or a user-facing error text. It is
// [[nodiscard]]: a caller handles the error, or says in a comment why none can occur.
#include <string>
#include <utility>
#include <variant>

namespace zuohao {

struct Error {
    std::string message;
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

private:
    std::variant<T, Error> m_v;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error e) : m_err(std::move(e.message)), m_failed(true) {}
    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return m_err; }

private:
    std::string m_err;
    bool m_failed = false;
};

inline Error fail(std::string message) {
    return Error{std::move(message)};
}

} // namespace zuohao

#pragma once
// Which file a path names now, told without opening it: a file that SQLite holds must never be
// opened by other means, since on POSIX closing any descriptor of a file drops every lock the
// process holds on it (SQLite's included).
#include <cstdint>
#include <optional>
#include <string>

namespace zuohao::store {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at `path` (UTF-8), none when nothing is there.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Whether the file at `path` is the archive at `archivePath` ("") or one of SQLite's files
// beside it ("-wal", "-shm", "-journal"): such a file must only ever be read through SQLite.
std::optional<std::string> ArchivePartAt(const std::string& path, const std::string& archivePath);

} // namespace zuohao::store

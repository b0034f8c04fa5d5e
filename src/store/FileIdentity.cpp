#include "store/FileIdentity.h"

#ifdef _WIN32
#include <windows.h>

#include "core/platform/WideText.h"
#else
#include <sys/stat.h>
#endif

namespace zuohao::store {

#ifdef _WIN32
// A handle without read or write access: Windows keeps SQLite's locks per handle, so opening
// and closing this one leaves them alone.
std::optional<FileIdentity> IdentityOf(const std::string& path) {
    HANDLE h = CreateFileW(platform::Widen(path).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!ok) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
#else
std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}
#endif

std::optional<std::string> ArchivePartAt(const std::string& path, const std::string& archivePath) {
    const auto read = IdentityOf(path);
    if (!read || archivePath.empty()) return std::nullopt;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        if (read == IdentityOf(archivePath + suffix)) return std::string(suffix);
    return std::nullopt;
}

} // namespace zuohao::store

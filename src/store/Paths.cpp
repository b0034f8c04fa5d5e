// Where the archive lives when no --archive is given (the command-line tool; the window asks
// Qt for the same folder), and paths as UTF-8 text.
#include <cstdlib>
#include <filesystem>

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace fs = std::filesystem;

// Paths are UTF-8 text throughout (SQLite takes UTF-8 names); the file system sees them as such
// on every platform.
fs::path Utf8Path(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Text(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

namespace {
[[maybe_unused]] std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}
} // namespace

std::string DefaultArchivePath() {
    fs::path base;
#ifdef _WIN32
    if (const wchar_t* v = _wgetenv(L"LOCALAPPDATA"); v && *v) base = fs::path(v);
#else
    if (std::string xdg = env("XDG_DATA_HOME"); !xdg.empty())
        base = Utf8Path(xdg);
    else if (std::string home = env("HOME"); !home.empty())
        base = Utf8Path(home) / ".local" / "share";
#endif
    if (base.empty()) return kArchiveFileName;
    return Utf8Text(base / "zuohao" / kArchiveFileName);
}

} // namespace zuohao::store

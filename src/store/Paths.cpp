// Where the archive lives when no --archive is given (the command-line tool; the window asks
// Qt for the same folder).
#include <cstdlib>
#include <filesystem>

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace {
[[maybe_unused]] std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}
} // namespace

std::string DefaultArchivePath() {
    namespace fs = std::filesystem;
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

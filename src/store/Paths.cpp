// Where the archive lives when no --archive is given (the command-line tool; the window asks
// Qt for the same folder).
#include <cstdlib>
#include <filesystem>

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace {
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}
} // namespace

std::string DefaultArchivePath() {
    namespace fs = std::filesystem;
    fs::path base;
#ifdef _WIN32
    base = fs::path(env("LOCALAPPDATA"));
#else
    if (std::string xdg = env("XDG_DATA_HOME"); !xdg.empty())
        base = fs::path(xdg);
    else if (std::string home = env("HOME"); !home.empty())
        base = fs::path(home) / ".local" / "share";
#endif
    if (base.empty()) return kArchiveFileName;
    return (base / "zuohao" / kArchiveFileName).string();
}

} // namespace zuohao::store

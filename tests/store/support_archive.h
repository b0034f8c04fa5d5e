#pragma once
// Temporary folders and draw makers for the archive tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "../support/support_process.h"
#include "../support/support_temp_dir.h"
#include "store/DrawArchive.h"

namespace storetest {

using TempDir = zuohao::testsupport::TempDir;

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// `count` draws with labels first, first+1, ... and numbers derived from the label.
inline std::vector<zuohao::store::DrawIn> plainDraws(long long first, int count) {
    std::vector<zuohao::store::DrawIn> v;
    for (int i = 0; i < count; ++i) {
        const long long label = first + i;
        char h[8];
        std::snprintf(h, sizeof h, "%05lld", (label * 7919) % 100000);
        v.push_back({std::to_string(label), h});
    }
    return v;
}

inline std::unique_ptr<zuohao::store::Archive>
openOrDie(const std::string& path, zuohao::store::OpenReport* rep = nullptr,
          zuohao::store::OpenMode mode = zuohao::store::OpenMode::ReadWrite) {
    auto a = zuohao::store::Archive::open(path, rep, mode);
    if (!a) std::abort();
    return std::move(a).value();
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

#ifndef _WIN32
// Runs `body` in a child process whose files may not grow past `maxFileBytes` (a full disk
// as the file sees it); the child's exit code, or -1 when it did not exit.
template <class F> int withFileSizeLimit(rlim_t maxFileBytes, F body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the child
        const rlimit limit{maxFileBytes, maxFileBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

} // namespace storetest

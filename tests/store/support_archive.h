#pragma once
// Temporary folders and draw makers for the archive tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

inline std::unique_ptr<zuohao::store::Archive> openOrDie(const std::string& path,
                                                         zuohao::store::OpenReport* rep = nullptr) {
    auto a = zuohao::store::Archive::open(path, rep);
    if (!a) std::abort();
    return std::move(a).value();
}

} // namespace storetest

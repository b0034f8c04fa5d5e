#pragma once
// Temporary folders and draw makers for the archive tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/DrawArchive.h"

namespace storetest {

class TempDir {
public:
    TempDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "zuohao-store-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        m_path = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

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

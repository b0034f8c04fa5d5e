#pragma once
// A new empty folder under the system temp folder, removed with everything in it when the
// object goes.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support_process.h"

namespace zuohao::testsupport {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "zuohao-test-") : m_path(makeTempDir(prefix)) {}
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The path of a file in the folder.
    std::string file(std::string_view name) const { return (m_path / name).string(); }
    // Writes a file of the folder and gives its path.
    std::string write(std::string_view name, const std::string& content) const {
        const std::string p = file(name);
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }

private:
    std::filesystem::path m_path;
};

} // namespace zuohao::testsupport

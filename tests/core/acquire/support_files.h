#pragma once
// Temporary directories and files for the acquisition tests (made at test time, removed
// afterwards; big files are never kept).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "../../support/support_temp_dir.h"

namespace zuohao::testing {

using TempDir = zuohao::testsupport::TempDir;

inline void writeBytes(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::abort();
    std::fclose(f);
}

// A draw line as the betting program writes it.
inline std::string drawLine(long long label, std::string_view haoma) {
    return "第" + std::to_string(label) + "期 开奖号码 " + std::string(haoma);
}

// The draw number that the tests give to a label (fixed, so any read can be checked).
inline std::string haomaOf(long long label) {
    char num[8];
    std::snprintf(num, sizeof num, "%05lld", (label * 7919 + 13) % 100000);
    return num;
}

// Lines for labels newest .. newest-count+1, newest first, each ending in CR LF.
inline std::string newestFirstText(long long newest, int count) {
    std::string t;
    for (int i = 0; i < count; ++i)
        t += drawLine(newest - i, haomaOf(newest - i)) + "\r\n";
    return t;
}

} // namespace zuohao::testing

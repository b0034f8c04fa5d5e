#pragma once
// The whole of a file, read the way the program reads its draw file (on Windows with full
// sharing, so a writer replacing it meanwhile is never refused); empty when it cannot be read.
#include <string>

#include "core/platform/ReadOnlyFile.h"

namespace zuohao::testing {

inline std::string ReadWholeFile(const std::string& path) {
    platform::ReadOnlyFile file;
    std::string text;
    if (!file.open(path)) return text;
    char buffer[4096];
    while (auto n = file.read(buffer, sizeof buffer)) {
        if (*n == 0) break;
        text.append(buffer, *n);
    }
    return text;
}

} // namespace zuohao::testing

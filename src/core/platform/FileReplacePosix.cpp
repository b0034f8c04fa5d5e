#ifndef _WIN32
#include <cstdio>

#include "core/platform/FileReplace.h"

namespace zuohao::platform {

bool ReplaceFileWith(const std::string& utf8From, const std::string& utf8To) {
    // rename() swaps the directory entry atomically; a reader that has the old file open
    // keeps reading the old file to its end.
    return std::rename(utf8From.c_str(), utf8To.c_str()) == 0;
}

} // namespace zuohao::platform
#endif

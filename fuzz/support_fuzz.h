#pragma once
// What every fuzz target shares: a check that aborts (so libFuzzer keeps the input) and the
// splitting of one input into several texts.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "fuzz check failed: %s (line %d)\n", #cond, __LINE__);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace zuohao::fuzz {

inline bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The pieces of an input between separator bytes (the separator itself never occurs in a
// piece), at most `most` of them; the last piece takes the rest.
inline std::vector<std::string> pieces(std::string_view in, char separator, std::size_t most) {
    std::vector<std::string> out;
    while (out.size() + 1 < most) {
        const std::size_t at = in.find(separator);
        if (at == std::string_view::npos) break;
        out.emplace_back(in.substr(0, at));
        in.remove_prefix(at + 1);
    }
    out.emplace_back(in);
    return out;
}

} // namespace zuohao::fuzz

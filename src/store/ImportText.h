#pragma once
// The text of an import file: draw files in the betting program's format (every line by the
// draw line rule, not only the first 99) or CSV (period, number, ...; a header line and a
// UTF-8 byte-order mark are allowed).
#include <cstdint>
#include <string_view>
#include <vector>

#include "store/DrawArchive.h"

namespace zuohao::store {

inline constexpr std::size_t kBadLinesListed = 5; // line numbers kept for the report

struct ImportText {
    std::vector<DrawIn> draws;          // in file order
    std::int64_t badLines = 0;          // non-blank lines that are no draw
    std::vector<std::int64_t> firstBad; // their first line numbers (1-based), at most 5
    bool csv = false;
};

ImportText ParseImportText(std::string_view bytes);

// One CSV field list (RFC 4180 quoting); the line has no line break.
std::vector<std::string> SplitCsvLine(std::string_view line);

} // namespace zuohao::store

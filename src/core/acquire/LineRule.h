#pragma once
// How a draw text file becomes draws: the line rule.
#include <string>
#include <string_view>
#include <vector>

namespace zuohao {

inline constexpr int kDrawFileLines = 99;     // only the first 99 lines are looked at
inline constexpr std::size_t kShortLine = 10; // a line of 10 characters or fewer is skipped

struct DrawLine {
    std::string qishu;
    std::string haoma;
};

struct ParsedDrawText {
    std::vector<DrawLine> draws; // in processing order: oldest (highest line index) first
    int considered = 0;          // lines looked at (at most 99)
    int skipped = 0;             // considered lines that are not a draw
};

// Splits at line feeds, looks at lines 0..98 from the highest index down, skips lines of
// 10 characters or fewer (a carriage return counts), and takes the last two digit runs of
// the others as period label and draw number. A line with fewer than two runs, whose last run
// is not five digits, that holds a NUL byte or whose period label touches a control
// character, is skipped; the lines after it are still read.
ParsedDrawText ParseDrawText(std::string_view text);

} // namespace zuohao

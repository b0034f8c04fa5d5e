#pragma once
// The draw feed's rule of trust: which draws of a read may enter, and whether the read may
// be believed at once or is held back.
//
// A read is whole when, from its top draw line down to the newest held period, the labels
// follow each other without a gap, the line after the new ones is the newest held period,
// and no line below disagrees with what is held (another number for a held period, or a
// period missing among the held ones). A read that is not whole may be a file caught while
// it is rewritten, even when read again and again while the writer pauses: it is believed as
// it is only once it has stayed the same over a quiet time (DrawFeed, kLeastQuietTime).
#include <cstddef>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/model/DrawNumbers.h"
#include "core/model/Period.h"

namespace zuohao {

// Below every period a label can name: every unheld older period is filled in.
inline constexpr Period kNoFillFloor{-1};

// What the lottery holds, as the rule sees it.
struct HeldView {
    const DrawNumbers* numbers = nullptr; // period label -> draw number
    // Unheld periods older than the newest held one are taken as missing ones (to be filled
    // in) only above this period; below it they are history the window no longer keeps.
    Period fillFloor = kNoFillFloor;
};

struct HeadVerdict {
    bool whole = false;
    std::vector<DrawLine> fresh;     // periods newer than the newest held, oldest first
    std::vector<DrawLine> corrected; // held periods the file gives another number
    std::vector<DrawLine> filled;    // periods missing among the held ones, oldest first
    std::vector<std::string>
        missing;                  // labels the believed draws skip (断期), at most kMissingShown
    std::size_t missingCount = 0; // all labels they skip
};

inline constexpr std::size_t kMissingShown = 5;

// Judges a read: `fileOrder` holds its draw lines top down, `endsInsideLine` tells whether
// the text stops inside a line.
HeadVerdict JudgeDrawHead(const std::vector<DrawLine>& fileOrder, bool endsInsideLine,
                          const HeldView& held);

// The draw lines of a text, top line first.
std::vector<DrawLine> DrawLinesTopDown(std::string_view text);

} // namespace zuohao

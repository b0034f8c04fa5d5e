#pragma once
// Where the analysis windows take their draws: the main window's draw archive, then the
// draws the lottery object has read since (or those alone without an archive). The source
// is copied on the GUI thread and read on a worker: the copy owns everything the reading
// needs, and the worker opens the archive with a connection of its own.
#include <functional>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/analysis/RunControl.h"
#include "core/model/Result.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

struct DrawSourceCopy {
    std::string archivePath;    // empty: no archive
    std::string lottery;        // the lottery's name in the archive
    std::vector<DrawLine> held; // the draws the lottery object held, oldest first

    bool sameSource(const DrawSourceCopy& o) const {
        return archivePath == o.archivePath && lottery == o.lottery;
    }
};

// Taken on the GUI thread, for `lot` (nothing held without one).
DrawSourceCopy CopyDrawSource(const std::string& archivePath, const LotteryClass* lot);
// What a window calls on the GUI thread whenever it needs a copy.
using DrawSourceFn = std::function<DrawSourceCopy()>;
DrawSourceFn DrawSourceOf(std::function<std::string()> archivePath,
                          std::function<LotteryClass*()> lottery);

// The newest `count` draws (all when 0), oldest first: the archive's, then the held draws
// newer than the archive's newest; the held draws alone when the archive cannot be read.
// Reads the archive in pages, looking at the control between them. Any thread.
Result<std::vector<DrawLine>> ReadDraws(const DrawSourceCopy& source, std::size_t count,
                                        const RunControl& control = {});

} // namespace zuohao::gui

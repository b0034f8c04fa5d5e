// The lottery an archive command works on: --lottery NAME, checked against the archive.
#include <algorithm>

#include "cli/Args.h"
#include "cli/Messages.h"
#include "store/DrawArchive.h"

namespace zuohao::cli {

std::string LotteryOption(const Args& args) {
    const auto given = args.last("--lottery");
    if (!given) return store::kDefaultLottery;
    if (const std::string why = store::LotteryNameProblem(*given); !why.empty())
        throw UsageError("--lottery: " + why);
    return *given;
}

void RequireHeldLottery(const Args& args, store::Archive& archive) {
    const auto given = args.last("--lottery");
    if (!given) return;
    auto held = archive.heldLotteries();
    if (!held) throw Failure(Describe(held.failure()));
    if (std::any_of(held->begin(), held->end(),
                    [&](const store::LotteryInfo& l) { return l.lottery == *given; }))
        return;
    std::string text = "unknown lottery \"" + *given + "\": the archive " + archive.path();
    if (held->empty()) throw UsageError(text + " holds no draws yet");
    text += " holds";
    for (std::size_t i = 0; i < held->size(); ++i)
        text += std::string(i ? "," : "") + " \"" + (*held)[i].lottery + "\" (" +
                std::to_string((*held)[i].draws) + " draws)";
    throw UsageError(text);
}

} // namespace zuohao::cli

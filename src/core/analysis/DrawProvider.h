#pragma once
// Where an analysis takes its draws from: a function giving the newest draws, oldest first.
// The lottery object's own draws serve when there is no archive; an archive provides the
// same function over its stored history.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/model/Result.h"

namespace zuohao {

struct LotteryState;

// The newest `count` draws (all when count is 0), oldest first.
using DrawProvider = std::function<Result<std::vector<DrawLine>>(std::size_t count)>;

// Draws needed before the first scored draw, so the statistics the pipeline derives its
// selections from have the history the lottery object keeps.
inline constexpr std::size_t kBacktestWarmUp = 100;

// Every draw the lottery object has processed (its LotteryDic_Jiankong), read when called.
// The object must outlive the provider.
DrawProvider HeldDraws(const LotteryState& lottery);

// A fixed sequence.
DrawProvider SequenceDraws(std::vector<DrawLine> draws);

// The archive's draws followed by the held draws newer than the archive's newest (by the
// numeric value of the period label), the newest `count` of them. When the archive cannot
// be read the held draws alone serve.
DrawProvider ArchiveThenHeld(DrawProvider archive, DrawProvider held);

} // namespace zuohao

#pragma once
// The archive as a draw provider for the analyses: the newest draws of one lottery.
#include <string>

#include "core/analysis/DrawProvider.h"
#include "store/DrawArchive.h"

namespace zuohao::store {

// Reads the archive at `path` at each call (no connection is kept between calls). An
// archive file that does not exist is an error, never created here.
DrawProvider ArchiveDraws(std::string path, std::string lottery = kDefaultLottery);

} // namespace zuohao::store

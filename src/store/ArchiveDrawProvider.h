#pragma once
// The archive as a draw provider for the analyses: the newest draws of one lottery.
#include <string>

#include "core/analysis/DrawProvider.h"
#include "store/DrawArchive.h"

namespace zuohao::store {

// Reads the archive at `path` at each call (no connection is kept between calls), read only:
// a file that does not exist or is no draw archive is an error, never created or moved here.
DrawProvider ArchiveDraws(std::string path, std::string lottery = kDefaultLottery);

} // namespace zuohao::store

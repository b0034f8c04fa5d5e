// The argument parser's file also reads draw archives (--archive), which its fuzz target
// never does; these stand-ins keep SQLite out of the target and stop it if it ever does.
#include <cstdlib>

#include "store/DrawArchive.h"

namespace zuohao::store {

struct Archive::Impl {};

Result<std::unique_ptr<Archive>> Archive::open(const std::string&, OpenReport*, OpenMode, int) {
    std::abort();
}
Archive::~Archive() {
    std::abort();
}
Result<std::vector<ArchivedDraw>> Archive::newest(const std::string&, std::int64_t) {
    std::abort();
}
Result<std::vector<ArchivedDraw>> Archive::range(const std::string&, const std::string&,
                                                 const std::string&) {
    std::abort();
}
std::filesystem::path Utf8Path(const std::string&) {
    std::abort();
}

} // namespace zuohao::store

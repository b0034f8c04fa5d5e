#include "store/ArchiveDrawProvider.h"

namespace zuohao::store {

DrawProvider ArchiveDraws(std::string path, std::string lottery) {
    return [path = std::move(path),
            lottery = std::move(lottery)](std::size_t count) -> Result<std::vector<DrawLine>> {
        // Read only: a reader never creates, migrates or moves the file.
        auto archive = Archive::open(path, nullptr, OpenMode::Look);
        if (!archive) return archive.failure();
        auto held = count == 0 ? (*archive)->range(lottery)
                               : (*archive)->newest(lottery, std::int64_t(count));
        if (!held) return held.failure();
        std::vector<DrawLine> out;
        out.reserve(held->size());
        for (const ArchivedDraw& d : *held)
            out.push_back({d.qishu, d.haoma});
        return out;
    };
}

} // namespace zuohao::store

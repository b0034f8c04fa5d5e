#include "store/ArchiveDrawProvider.h"

#include <filesystem>
#include <system_error>

namespace zuohao::store {

DrawProvider ArchiveDraws(std::string path, std::string lottery) {
    return [path = std::move(path),
            lottery = std::move(lottery)](std::size_t count) -> Result<std::vector<DrawLine>> {
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::u8path(path), ec))
            return fail(ErrorCode::ArchiveMissing, "没有历史库：" + path, path);
        auto archive = Archive::open(path);
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

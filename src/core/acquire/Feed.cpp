#include "core/acquire/Feed.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/model/Period.h"
#include "core/platform/FileReplace.h"

namespace zuohao {

FeedWriter::FeedWriter(std::string path, std::uint64_t seed, std::string startLabel)
    : m_path(std::move(path)), m_rng(seed), m_nextLabel(std::move(startLabel)) {}

std::string FeedWriter::line(const std::string& label, const std::string& haoma) {
    return "第" + label + "期 开奖号码 " + haoma;
}

void FeedWriter::addDraws(int count) {
    std::uniform_int_distribution<int> draw(0, 99999);
    for (int i = 0; i < count; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05d", draw(m_rng));
        m_lines.push_front(line(m_nextLabel, num));
        m_newestLabel = m_nextLabel;
        m_nextLabel = NextLabelText(m_nextLabel);
        if (m_lines.size() > kKeep) m_lines.pop_back();
    }
}

namespace {
// A tag of this process for its temporary files, so that two feeders of one file never
// write the same temporary file.
const std::string& processTag() {
    static const std::string tag = std::to_string(std::random_device{}());
    return tag;
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
} // namespace

Result<void> FeedWriter::write() const {
    const std::string tmp = m_path + ".tmp" + processTag();
    bool ok;
    {
        std::ofstream f(pathOf(tmp), std::ios::binary | std::ios::trunc);
        if (!f) return fail(ErrorCode::WriteFailed, "无法写入 " + tmp, tmp);
        for (const std::string& l : m_lines)
            f << l << "\r\n";
        f.close();
        ok = !f.fail();
    }
    std::error_code error;
    // Replaces the target in one step (on Windows with a bounded wait for readers).
    if (!ok || !platform::ReplaceFileWith(tmp, m_path)) {
        std::filesystem::remove(pathOf(tmp), error);
        return fail(ErrorCode::WriteFailed, "无法写入 " + m_path, m_path);
    }
    return {};
}

} // namespace zuohao

#include "core/acquire/Feed.h"

#include <cstdio>

#include "core/model/Text.h"
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
        m_nextLabel = DecimalText(NumericValue(m_nextLabel) + 1);
        if (m_lines.size() > kKeep) m_lines.pop_back();
    }
}

Result<void> FeedWriter::write() const {
    const std::string tmp = m_path + ".tmp" + std::to_string(platform::CurrentProcessId());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return fail("无法写入 " + tmp);
    bool ok = true;
    for (const std::string& l : m_lines) {
        ok = ok && std::fwrite(l.data(), 1, l.size(), f) == l.size();
        ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || !platform::ReplaceFileWith(tmp, m_path)) {
        std::remove(tmp.c_str());
        return fail("无法写入 " + m_path);
    }
    return {};
}

} // namespace zuohao

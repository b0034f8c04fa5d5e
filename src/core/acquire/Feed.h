#pragma once
// A draw feed written the way the betting program writes its file: newest draw first, one
// line per draw (第<label>期 开奖号码 <number>), replaced atomically on every new draw.
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "core/model/Result.h"

namespace zuohao {

class FeedWriter {
public:
    FeedWriter(std::string path, std::uint64_t seed, std::string startLabel);

    // Adds `count` draws, oldest first, labels counting up by one.
    void addDraws(int count);
    // Writes every draw held (at most `keep`, newest first) to a temporary file beside the
    // target and renames it over the target.
    Result<void> write() const;

    // Label of the newest draw held (empty before the first draw).
    const std::string& newestLabel() const { return m_newestLabel; }
    std::size_t size() const { return m_lines.size(); }
    static std::string line(const std::string& label, const std::string& haoma);

    static constexpr std::size_t kKeep = 200;

private:
    std::string m_path;
    std::mt19937_64 m_rng;
    std::string m_nextLabel;
    std::string m_newestLabel;
    std::deque<std::string> m_lines; // newest first
};

} // namespace zuohao

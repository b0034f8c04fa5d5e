#include "core/analysis/DrawProvider.h"

#include "core/model/LotteryState.h"
#include "core/model/Period.h"
#include "core/model/Text.h"

namespace zuohao {

namespace {
std::vector<DrawLine> newest(std::vector<DrawLine> all, std::size_t count) {
    if (count == 0 || count >= all.size()) return all;
    all.erase(all.begin(), all.end() - std::ptrdiff_t(count));
    return all;
}
} // namespace

DrawProvider HeldDraws(const LotteryState& lottery) {
    return [&lottery](std::size_t count) -> Result<std::vector<DrawLine>> {
        const auto& held = lottery.LotteryDic_Jiankong;
        const std::size_t n = held.Count();
        const std::size_t from = (count == 0 || count >= n) ? 0 : n - count;
        std::vector<DrawLine> out;
        out.reserve(n - from);
        for (std::size_t i = from; i < n; ++i) {
            const auto& [label, haoma] = held.at(i);
            out.push_back({label, haoma});
        }
        return out;
    };
}

DrawProvider SequenceDraws(std::vector<DrawLine> draws) {
    return [draws = std::move(draws)](std::size_t count) -> Result<std::vector<DrawLine>> {
        return newest(draws, count);
    };
}

DrawProvider ArchiveThenHeld(DrawProvider archive, DrawProvider held) {
    return [archive = std::move(archive),
            held = std::move(held)](std::size_t count) -> Result<std::vector<DrawLine>> {
        auto recent = held(count);
        if (!recent) return recent;
        auto stored = archive ? archive(count) : Result<std::vector<DrawLine>>(fail(""));
        if (!stored || stored->empty()) return recent;
        std::vector<DrawLine> out = std::move(stored).value();
        const Period newestStored = Period::parse(out.back().qishu);
        for (DrawLine& d : recent.value())
            if (Period::parse(d.qishu) > newestStored) out.push_back(std::move(d));
        return newest(std::move(out), count);
    };
}

} // namespace zuohao

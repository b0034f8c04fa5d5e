#include "core/analysis/Backtest.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>

#include "core/model/Groups.h"
#include "core/model/LotteryState.h"

namespace zuohao {

std::vector<bool> BacktestResult::hits() const {
    std::vector<bool> h;
    h.reserve(lines.size());
    for (const BacktestLine& l : lines)
        h.push_back(l.hit);
    return h;
}

double BacktestResult::meanSize() const {
    if (lines.empty()) return 0.0;
    double sum = 0;
    for (const BacktestLine& l : lines)
        sum += l.size;
    return sum / double(lines.size());
}

bool IsDrawNumber(std::string_view h) {
    return h.size() == 5 &&
           std::all_of(h.begin(), h.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::size_t> UsableDraws(const std::vector<DrawLine>& draws) {
    std::vector<std::size_t> out;
    out.reserve(draws.size());
    std::unordered_set<std::string_view> seen;
    seen.reserve(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i)
        if (IsDrawNumber(draws[i].haoma) && seen.insert(draws[i].qishu).second) out.push_back(i);
    return out;
}

int GroupNumber(std::string_view haoma, int idx) {
    const GroupPositions& g = kGroupPositions[std::size_t(idx)];
    int v = 0;
    for (int k = 0; k < g.count; ++k)
        v = v * 10 + (haoma[std::size_t(g.pos[std::size_t(k)] - 1)] - '0');
    return v;
}

Result<std::unique_ptr<Backtester>> Backtester::Create(std::vector<DrawLine> draws,
                                                       const ConditionSet& set,
                                                       const BacktestOptions& options) {
    if (set.IDX < 0 || set.IDX >= kGroupCount) return fail(ErrorCode::OutOfRange, "下标越界");
    auto masks = ConditionMasks::Compile(set);
    if (!masks) return masks.failure();
    return std::unique_ptr<Backtester>(
        new Backtester(std::move(draws), set, std::move(masks).value(), options));
}

Backtester::Backtester(std::vector<DrawLine> draws, const ConditionSet& set, ConditionMasks masks,
                       const BacktestOptions& options)
    : m_draws(std::move(draws)), m_set(set), m_masks(std::move(masks)), m_options(options) {
    m_usable = UsableDraws(m_draws);
    m_inputCount = m_draws.size();
    m_usableCount = m_usable.size();
    m_result.spaceSize = m_masks.spaceSize();
    m_result.skipped = m_draws.size() - m_usable.size();
    const std::size_t n = m_usable.size();
    // The plan starts once at least one draw is held.
    m_start = (options.last == 0 || options.last + 1 > n) ? 1 : n - options.last;
    m_result.lines.reserve(n > m_start ? n - m_start : 0);
    // Without re-derived selections the statistics chain is not needed: begin at the start.
    m_next = options.pipeline ? 0 : std::min(m_start, n);
    m_begin = m_next;
    m_size = m_masks.baseSize();
}

void Backtester::statsOf(std::size_t i, const DrawLine& d) {
    LotteryItem& it = item(i);
    it = LotteryItem{};
    it.Qishu = d.qishu;
    it.Haoma = d.haoma;
    it.ResetHaomaInfo();
    if (i == 0) return;
    // The pipeline's newest draws: the previous one, the one ten before this, and the four
    // previous ones newest first.
    std::array<const LotteryItem*, 4> prev{};
    for (std::size_t k = 0; k < 4 && k < i; ++k)
        prev[k] = &item(i - 1 - k);
    // Only the plan's group is read.
    it.SetSanmaInfo(item(i - 1), i > kHotWindow ? &item(i - kHotWindow) : nullptr, prev, m_set.IDX);
}

// Selection digits as the ticked boxes give them at draw i: digit boxes read draw i's hot
// order (group 0) or stand for their digit, the draw box at place p reads the draw p - 10 before i.
void Backtester::deriveSelections(std::size_t i, bool onlyTicked) {
    const int idx = m_set.IDX;
    for (int g = 0; g < kSelGroups; ++g) {
        DigitMask m = 0;
        bool ticked = false;
        for (int place = 0; place < BlockPlaces(g); ++place) {
            if (!m_set.CHK[std::size_t(CheckOf(g, place))]) continue;
            ticked = true;
            if (!IsDrawBoxPlace(place)) {
                if (g != 0) {
                    m |= DigitMask(1u << place);
                } else if (const SanmaRecord& r = item(i).group(idx); r.hasHot) {
                    m |= DigitMask(1u << (r.hot[std::size_t(place)] - '0'));
                }
                continue;
            }
            const std::size_t back = std::size_t(place - kDigitPlaces);
            if (back > i) continue; // that draw does not exist yet
            const GroupMasks& r = item(i - back).masks(idx);
            switch (g) {
            case 0:
                m |= r.str;
                break;
            case 1:
                m |= r.r3h;
                break;
            case 2:
                m |= r.reh;
                break;
            default:
                m |= r.rec;
                break;
            }
        }
        if (onlyTicked && !ticked) continue;
        m_masks.setSelection(g, m, m != 0);
    }
}

void Backtester::process(std::size_t i, const DrawLine& draw, std::size_t at) {
    if (m_options.pipeline) statsOf(i, draw);
    if (i + 1 == m_start && m_options.pipeline) {
        // Starting the plan: the ticked boxes give their groups' digits from this draw.
        deriveSelections(i, true);
        m_size = m_masks.baseSize();
    }
    if (i < m_start) return;
    m_result.lines.push_back({at, m_size, m_masks.inBase(GroupNumber(draw.haoma, m_set.IDX))});
    if (m_options.pipeline && m_set.PLA) {
        deriveSelections(i, false);
        m_size = m_masks.baseSize();
    }
}

bool Backtester::step(std::size_t maxDraws) {
    const std::size_t end =
        m_next + std::min(maxDraws, m_usableCount - std::min(m_next, m_usableCount));
    for (; m_next < end; ++m_next)
        process(m_next, m_draws[m_usable[m_next]], m_usable[m_next]);
    return done();
}

void Backtester::extend(const DrawLine& draw) {
    const std::size_t at = m_inputCount++;
    if (!IsDrawNumber(draw.haoma)) {
        ++m_result.skipped;
        return;
    }
    ++m_usableCount;
    process(m_next++, draw, at);
}

std::vector<BacktestLine> Backtester::takeLines() {
    std::vector<BacktestLine> out(m_result.lines.begin() + std::ptrdiff_t(m_taken),
                                  m_result.lines.end());
    m_taken = m_result.lines.size();
    return out;
}

void Backtester::releaseDraws() {
    std::vector<DrawLine>().swap(m_draws);
    std::vector<std::size_t>().swap(m_usable);
    // The lines handed out are the caller's now.
    m_result.lines.erase(m_result.lines.begin(), m_result.lines.begin() + std::ptrdiff_t(m_taken));
    m_result.lines.shrink_to_fit();
    m_taken = 0;
}

double Backtester::progress() const {
    if (m_usableCount <= m_begin) return 1.0;
    return double(std::min(m_next, m_usableCount) - m_begin) / double(m_usableCount - m_begin);
}

Result<void> RunToEnd(Backtester& run, const RunControl& control) {
    control.report(run.progress());
    while (!run.step(kDrawsPerLook)) {
        if (control.cancelled()) return fail(ErrorCode::Cancelled, "回测已取消");
        control.report(run.progress());
    }
    control.report(1.0);
    return {};
}

Result<BacktestResult> RunBacktest(std::vector<DrawLine> draws, const ConditionSet& set,
                                   const BacktestOptions& options, const RunControl& control) {
    auto b = Backtester::Create(std::move(draws), set, options);
    if (!b) return b.failure();
    Backtester& run = *b.value();
    if (auto r = RunToEnd(run, control); !r) return r.failure();
    return run.takeResult();
}

} // namespace zuohao

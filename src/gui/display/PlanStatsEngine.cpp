#include "gui/display/PlanStatsEngine.h"

#include <algorithm>
#include <utility>

#include "core/analysis/DrawProvider.h"
#include "core/model/Period.h"
#include "core/model/Text.h"

namespace zuohao::gui {

namespace {
// Shares of a run's progress: reading the draws (none when they are held already), then
// sorting out the usable ones.
constexpr double kReadShare = 0.2;
constexpr double kSortShare = 0.05;
// The last shares: the scored lines tallied, then the chance figures of the tally.
constexpr double kTallyFrom = 0.9;
constexpr double kFiguresFrom = 0.95;
// Draws kept beyond what the runs need before the oldest are let go: a day of minute draws.
constexpr std::size_t kKeepSlack = std::size_t(kPeriodsPerDay);

std::size_t backtestDraws(const AnalysisRequest& r) {
    // Selections derived from statistics need the draws before the first one scored.
    return r.count + (r.pipeline ? kBacktestWarmUp : 1);
}

AnalysisBasis basisOf(const AnalysisRequest& r, std::string first, std::string last,
                      std::size_t periods) {
    return {
        AnalysedConditions(r.conditions), r.pipeline, std::move(first), std::move(last), periods,
        std::chrono::system_clock::now()};
}
} // namespace

bool PlanStatsEngine::holds(const AnalysisRequest& request, std::size_t count) const {
    return !m_draws.empty() && m_source.sameSource(request.source) &&
           (m_complete || m_draws.size() >= count);
}

Result<std::vector<DrawLine>> PlanStatsEngine::drawsFor(const AnalysisRequest& request,
                                                        std::size_t count,
                                                        const RunControl& control) {
    if (!holds(request, count)) {
        auto read = ReadDraws(request.source, count, control);
        if (!read) return read;
        m_source = {request.source.archivePath, request.source.lottery, {}};
        m_draws = std::move(read).value();
        ++m_drawsChanged;
        m_complete = m_draws.size() < count;
    }
    control.report(1.0);
    const std::size_t from = m_draws.size() > count ? m_draws.size() - count : 0;
    return std::vector<DrawLine>(m_draws.begin() + std::ptrdiff_t(from), m_draws.end());
}

void PlanStatsEngine::trim() {
    const std::size_t count =
        std::max(m_backtest ? m_backtest->need : 0, m_kill ? m_kill->need : 0);
    if (m_draws.size() <= count + kKeepSlack) return;
    m_draws.erase(m_draws.begin(), m_draws.end() - std::ptrdiff_t(count));
    m_complete = false;
}

Result<BacktestView> PlanStatsEngine::runBacktest(const AnalysisRequest& request,
                                                  const RunControl& control) {
    const std::size_t need = backtestDraws(request);
    const double read = holds(request, need) ? 0.0 : kReadShare;
    auto draws = drawsFor(request, need, PartOf(control, 0, read));
    if (!draws) return draws.failure();
    std::vector<DrawLine> input = std::move(draws).value();
    auto created = Backtester::Create(input, request.conditions, {request.pipeline, request.count},
                                      PartOf(control, read, read + kSortShare));
    if (!created) return created.failure();
    Backtest b{std::move(created).value(), {}, {}, request.serial, need, {}};
    if (auto r = RunToEnd(*b.run, PartOf(control, read + kSortShare, kTallyFrom)); !r)
        return r.failure();
    const std::vector<BacktestLine> lines = b.run->takeLines();
    const RunControl tallying = PartOf(control, kTallyFrom, kFiguresFrom);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kDrawsPerLook == 0) {
            if (control.cancelled()) return fail(ErrorCode::Cancelled, "回测已取消");
            tallying.report(double(i) / double(lines.size()));
        }
        b.tally.add(input[lines[i].draw].qishu, lines[i].size, lines[i].hit);
    }
    b.run->releaseDraws();
    b.basis = basisOf(request, b.tally.firstPeriod(), b.tally.lastPeriod(),
                      std::size_t(b.tally.periods()));
    control.report(kFiguresFrom);
    auto figures = FiguresOf(b.tally, b.run->result().spaceSize, control);
    if (!figures || control.cancelled()) return fail(ErrorCode::Cancelled, "回测已取消");
    b.figures = std::move(figures).value();
    m_backtest = std::move(b);
    return *backtestView();
}

Result<KillView> PlanStatsEngine::runKillRates(const AnalysisRequest& request,
                                               const RunControl& control) {
    const bool held = holds(request, request.count);
    if (!held || !m_winners || m_winners->count != request.count ||
        m_winners->drawsAt != m_drawsChanged || m_winners->counts.idx != request.conditions.IDX) {
        const double read = held ? 0.0 : kReadShare;
        auto draws = drawsFor(request, request.count, PartOf(control, 0, read));
        if (!draws) return draws.failure();
        auto counts =
            CountWinners(*draws, request.conditions.IDX, request.count, PartOf(control, read, 1.0));
        if (!counts) return counts.failure();
        m_winners = Winners{std::move(counts).value(), request.count, m_drawsChanged};
    }
    auto tally = KillTally::FromCounts(m_winners->counts, request.conditions, control);
    if (!tally) return tally.failure();
    control.report(1.0);
    Kill k{std::move(tally).value(), {}, request.serial, request.count};
    const int judged = k.tally.rows().empty() ? 0 : k.tally.rows().front().draws;
    k.basis = basisOf(request, k.tally.firstPeriod(), k.tally.lastPeriod(), std::size_t(judged));
    if (control.cancelled()) return fail(ErrorCode::Cancelled, "杀错率计算已取消");
    m_kill = std::move(k);
    return *killView();
}

void PlanStatsEngine::addDraws(const std::string& lottery, const std::vector<DrawLine>& draws,
                               std::uint64_t backtestSerial, std::uint64_t killSerial) {
    if (m_backtest && m_backtest->serial != backtestSerial) m_backtest.reset();
    if (m_kill && m_kill->serial != killSerial) m_kill.reset();
    if (m_draws.empty() || lottery != m_source.lottery) return;
    const int scored = m_backtest ? m_backtest->tally.periods() : 0;
    // The winners counted go on with the draws too, while they are of the draws held.
    const bool winners = m_winners && m_winners->drawsAt == m_drawsChanged;
    Period newest = Period::parse(m_draws.back().qishu);
    for (const DrawLine& d : draws) {
        const Period period = Period::parse(d.qishu);
        if (period <= newest) continue; // read already, or out of order
        newest = period;
        m_draws.push_back(d);
        ++m_drawsChanged;
        if (m_backtest) {
            m_backtest->run->extend(d);
            for (const BacktestLine& l : m_backtest->run->takeLines())
                m_backtest->tally.add(d.qishu, l.size, l.hit);
            m_backtest->basis.lastPeriod = m_backtest->tally.lastPeriod();
            m_backtest->basis.periods = std::size_t(m_backtest->tally.periods());
        }
        if (winners && IsDrawNumber(d.haoma)) m_winners->counts.add(d);
        if (m_kill && IsDrawNumber(d.haoma)) {
            m_kill->tally.add(d);
            m_kill->basis.lastPeriod = d.qishu;
            ++m_kill->basis.periods;
        }
    }
    if (winners) m_winners->drawsAt = m_drawsChanged;
    // The chance figures once for the lot, not once per draw.
    if (m_backtest && m_backtest->tally.periods() != scored)
        m_backtest->figures = FiguresOf(m_backtest->tally, m_backtest->run->result().spaceSize);
    trim();
}

void PlanStatsEngine::correctDraw(const std::string& lottery, const DrawLine& right) {
    if (m_draws.empty() || lottery != m_source.lottery) return;
    auto it = std::find_if(m_draws.begin(), m_draws.end(),
                           [&](const DrawLine& d) { return d.qishu == right.qishu; });
    if (it == m_draws.end() || it->haoma == right.haoma) return;
    const std::string wrong = std::exchange(it->haoma, right.haoma);
    const Period period = Period::parse(right.qishu);
    auto counted = [period](const std::string& first, const std::string& last) {
        return !first.empty() && period >= Period::parse(first) && period <= Period::parse(last);
    };
    if (m_kill && counted(m_kill->tally.firstPeriod(), m_kill->tally.lastPeriod())) {
        if (IsDrawNumber(wrong) && IsDrawNumber(right.haoma))
            m_kill->tally.correct(wrong, right.haoma);
        else
            m_kill.reset(); // the draw leaves or joins the usable ones: counted anew on request
    }
    if (m_winners && counted(m_winners->counts.first, m_winners->counts.last)) {
        if (IsDrawNumber(wrong) && IsDrawNumber(right.haoma))
            m_winners->counts.correct(wrong, right.haoma);
        else
            m_winners.reset();
    }
    if (m_backtest && counted(m_backtest->tally.firstPeriod(), m_backtest->tally.lastPeriod()))
        m_backtest.reset();
}

std::optional<BacktestView> PlanStatsEngine::backtestView() const {
    if (!m_backtest) return std::nullopt;
    const Backtest& b = *m_backtest;
    return BacktestView{b.serial, b.basis, b.figures, b.run->result().skipped};
}

std::optional<KillView> PlanStatsEngine::killView() const {
    if (!m_kill) return std::nullopt;
    return KillView{m_kill->serial, m_kill->basis, m_kill->tally.rows()};
}

} // namespace zuohao::gui

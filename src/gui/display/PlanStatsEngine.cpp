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
    Backtest b{std::move(created).value(), {}, {}, request.serial, need};
    if (auto r = RunToEnd(*b.run, PartOf(control, read + kSortShare, 1.0)); !r) return r.failure();
    const std::vector<BacktestLine> lines = b.run->takeLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kDrawsPerLook == 0 && control.cancelled())
            return fail(ErrorCode::Cancelled, "回测已取消");
        b.tally.add(input[lines[i].draw].qishu, lines[i].size, lines[i].hit);
    }
    b.run->releaseDraws();
    b.basis = basisOf(request, b.tally.firstPeriod(), b.tally.lastPeriod(),
                      std::size_t(b.tally.periods()));
    if (control.cancelled()) return fail(ErrorCode::Cancelled, "回测已取消");
    m_backtest = std::move(b);
    return *backtestView();
}

Result<KillView> PlanStatsEngine::runKillRates(const AnalysisRequest& request,
                                               const RunControl& control) {
    const double read = holds(request, request.count) ? 0.0 : kReadShare;
    auto draws = drawsFor(request, request.count, PartOf(control, 0, read));
    if (!draws) return draws.failure();
    auto tally =
        KillTally::Count(*draws, request.conditions, request.count, PartOf(control, read, 1.0));
    if (!tally) return tally.failure();
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
    double newest = NumericValue(m_draws.back().qishu);
    for (const DrawLine& d : draws) {
        if (NumericValue(d.qishu) <= newest) continue; // read already, or out of order
        newest = NumericValue(d.qishu);
        m_draws.push_back(d);
        if (m_backtest) {
            m_backtest->run->extend(d);
            for (const BacktestLine& l : m_backtest->run->takeLines())
                m_backtest->tally.add(d.qishu, l.size, l.hit);
            m_backtest->basis.lastPeriod = m_backtest->tally.lastPeriod();
            m_backtest->basis.periods = std::size_t(m_backtest->tally.periods());
        }
        if (m_kill && IsDrawNumber(d.haoma)) {
            m_kill->tally.add(d);
            m_kill->basis.lastPeriod = d.qishu;
            ++m_kill->basis.periods;
        }
    }
    trim();
}

void PlanStatsEngine::correctDraw(const std::string& lottery, const DrawLine& right) {
    if (m_draws.empty() || lottery != m_source.lottery) return;
    auto it = std::find_if(m_draws.begin(), m_draws.end(),
                           [&](const DrawLine& d) { return d.qishu == right.qishu; });
    if (it == m_draws.end() || it->haoma == right.haoma) return;
    const std::string wrong = std::exchange(it->haoma, right.haoma);
    const double value = NumericValue(right.qishu);
    auto counted = [value](const std::string& first, const std::string& last) {
        return !first.empty() && value >= NumericValue(first) && value <= NumericValue(last);
    };
    if (m_kill && counted(m_kill->tally.firstPeriod(), m_kill->tally.lastPeriod())) {
        if (IsDrawNumber(wrong) && IsDrawNumber(right.haoma))
            m_kill->tally.correct(wrong, right.haoma);
        else
            m_kill.reset(); // the draw leaves or joins the usable ones: counted anew on request
    }
    if (m_backtest && counted(m_backtest->tally.firstPeriod(), m_backtest->tally.lastPeriod()))
        m_backtest.reset();
}

std::optional<BacktestView> PlanStatsEngine::backtestView() const {
    if (!m_backtest) return std::nullopt;
    const Backtest& b = *m_backtest;
    return BacktestView{b.serial, b.basis, FiguresOf(b.tally, b.run->result().spaceSize),
                        b.run->result().skipped};
}

std::optional<KillView> PlanStatsEngine::killView() const {
    if (!m_kill) return std::nullopt;
    return KillView{m_kill->serial, m_kill->basis, m_kill->tally.rows()};
}

} // namespace zuohao::gui

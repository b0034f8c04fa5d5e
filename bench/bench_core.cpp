// Deterministic benchmarks of the engine: the reduction, writing a base set as text, and the
// draw pipeline per draw.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/making/Reduction.h"
#include "core/monitor/Monitor.h"
#include "core/plan/Plan.h"

using namespace zuohao;

namespace {

ConditionSet everyCondition(int idx) {
    ConditionSet set;
    set.IDX = idx;
    set.SEL = {"0123456", "13579", "2468", "0135", "01234567"};
    set.CNT = {"1234", "12", "123456", "12345", "1"};
    set.DAN = {"37", "5"};
    set.DCC = {"12", "1"};
    set.KUA = "09";
    set.KLU = {1, 1, 1, 1};
    std::mt19937 rng(7);
    std::string kill;
    const int size = idx >= 10 ? 10000 : 1000;
    for (int i = 0; i < 50; ++i) {
        char buf[8];
        std::snprintf(buf, sizeof buf, idx >= 10 ? "%04d" : "%03d", int(rng() % unsigned(size)));
        kill += (i ? " " : "") + std::string(buf);
    }
    (idx >= 10 ? set.KL1 : set.KL0) = kill;
    return set;
}

void BM_Reduce4(benchmark::State& state) {
    const ConditionSet set = everyCondition(10);
    for (auto _ : state)
        benchmark::DoNotOptimize(Reduce(set));
}
BENCHMARK(BM_Reduce4);

void BM_Reduce3(benchmark::State& state) {
    const ConditionSet set = everyCondition(4);
    for (auto _ : state)
        benchmark::DoNotOptimize(Reduce(set));
}
BENCHMARK(BM_Reduce3);

void BM_BaseSetText4(benchmark::State& state) {
    // Writing the base set of BM_Reduce4 as text, as the windows and the CLI read it.
    const ReductionOutput out = *Reduce(everyCondition(10));
    for (auto _ : state)
        benchmark::DoNotOptimize(out.base.text());
}
BENCHMARK(BM_BaseSetText4);

std::vector<std::pair<std::string, std::string>> sequence(int n) {
    std::mt19937 rng(20261208);
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < n; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05u", unsigned(rng() % 100000u));
        out.emplace_back(std::to_string(202612080000LL + i), num);
    }
    return out;
}

// CPU time per draw of the pipeline as it was when plan lines, base sets and monitor counts
// were kept as texts and parsed back (every plan draw wrote, copied and searched the whole
// base-set text), measured on the machine of the figures reported with that change, in the
// same session as the figures of the typed pipeline. The label of a run gives the time per
// draw now and how many times faster that is.
constexpr double kTextPipelineDrawSeconds = 5.7e-6;      // BM_ProcessDraw
constexpr double kTextPipelinePlanDrawSeconds = 68.9e-6; // BM_ProcessDrawPlan

void processAll(benchmark::State& state, bool plan) {
    const auto draws = sequence(10000);
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state) {
        LotteryClass lottery;
        ConditionSet conditions = lottery.formSet();
        conditions.IDX = 10;
        if (plan) {
            conditions.CHK[0] = conditions.CHK[1] = true; // two hottest digits
            conditions.CHK[17] = true;
            conditions.KLU[3] = 1;
        }
        lottery.restoreConditions(conditions);
        for (std::size_t i = 0; i < draws.size(); ++i) {
            if (plan && i == 20 && !lottery.StartPlan()) {
                state.SkipWithError("the plan's first reduction failed");
                return;
            }
            benchmark::DoNotOptimize(lottery.ProcessDraw(draws[i].first, draws[i].second));
        }
    }
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double processed = double(state.iterations()) * double(draws.size());
    state.SetItemsProcessed(int64_t(processed));
    const double before = plan ? kTextPipelinePlanDrawSeconds : kTextPipelineDrawSeconds;
    const double perDraw = cpuSeconds / processed;
    char label[96];
    std::snprintf(label, sizeof label, "%.2f us/draw, %.1fx the text pipeline (%.1f us)",
                  perDraw * 1e6, before / perDraw, before * 1e6);
    state.SetLabel(label);
}

void BM_ProcessDraw(benchmark::State& state) {
    processAll(state, false);
}
BENCHMARK(BM_ProcessDraw)->Unit(benchmark::kMillisecond);

void BM_ProcessDrawPlan(benchmark::State& state) {
    processAll(state, true);
}
BENCHMARK(BM_ProcessDrawPlan)->Unit(benchmark::kMillisecond);

// The monitor's replay (ReashStar) of kReplayedPeriods periods against the four-digit base set
// of BM_Reduce4: each period's hit is a bit test. Argument 0 rates 前四星 numbers (same
// width), 1 rates 百十个 numbers (three digits inside the four-digit numbers).
void BM_MonitorReplay(benchmark::State& state) {
    const auto draws = sequence(int(kReplayedPeriods));
    LotteryClass lottery;
    lottery.setPositionIndex(state.range(0) == 0 ? 10 : 9);
    for (const auto& [qishu, haoma] : draws)
        lottery.ProcessDraw(qishu, haoma);
    const NumberList base = Reduce(everyCondition(10))->base;
    MonitorState& monitor = lottery.monitor();
    monitor.SegmentSettings = {1, 3, 5, 2};
    monitor.SegmentPeriod = 10;
    for (auto _ : state) {
        if (!lottery.ReashStar(base)) {
            state.SkipWithError("no base set");
            return;
        }
        benchmark::DoNotOptimize(monitor.MonitorRows.Count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(draws.size()));
}
BENCHMARK(BM_MonitorReplay)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

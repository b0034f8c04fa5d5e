// Benchmarks of the plan analysis: backtests of 100,000 draws (four-digit space, every
// condition kind), the kill-error table (over 150,000 draws, and judged again from the winners
// counted), the chance figures of a 150,000-period record and the risk table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include "core/analysis/Backtest.h"
#include "core/analysis/Chance.h"
#include "core/analysis/KillRate.h"
#include "core/analysis/PlanFigures.h"

using namespace zuohao;

namespace {

std::vector<DrawLine> draws(int n) {
    std::mt19937 rng(20261208);
    std::vector<DrawLine> out;
    out.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05u", unsigned(rng() % 100000u));
        out.push_back({std::to_string(202612080000LL + i), num});
    }
    return out;
}

// Every condition kind: typed selections in all five groups, ticked boxes of every kind
// (hot digits, fixed digits, draw boxes), two bankers, a span kill, a 50-number kill list,
// every route switch and the pair kill.
ConditionSet everyCondition() {
    ConditionSet set;
    set.IDX = 10;
    set.SEL = {"0123456", "13579", "2468", "0135", "01234567"};
    set.CNT = {"1234", "12", "123456", "12345", "1"};
    set.DAN = {"37", "5"};
    set.DCC = {"12", "1"};
    set.KUA = "09";
    set.KLU = {1, 1, 1, 1};
    for (int c : {0, 1, 2, 10, 11, 17, 19, 24, 31, 35, 41, 44, 50, 55, 58, 61})
        set.CHK[std::size_t(c)] = true;
    std::mt19937 rng(7);
    for (int i = 0; i < 50; ++i) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04u", unsigned(rng() % 10000u));
        if (i > 0) set.KL1 += ' ';
        set.KL1 += buf;
    }
    return set;
}

void backtest(benchmark::State& state, bool pipeline) {
    const auto history = draws(100000);
    const ConditionSet set = everyCondition();
    for (auto _ : state) {
        auto r = RunBacktest(history, set, {pipeline, 0});
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(history.size()));
}

void BM_BacktestPipeline100k(benchmark::State& state) {
    backtest(state, true);
}
BENCHMARK(BM_BacktestPipeline100k)->Unit(benchmark::kMillisecond);

void BM_BacktestFixed100k(benchmark::State& state) {
    backtest(state, false);
}
BENCHMARK(BM_BacktestFixed100k)->Unit(benchmark::kMillisecond);

void BM_KillRates10x10000(benchmark::State& state) {
    const auto history = draws(10000);
    ConditionSet set = everyCondition();
    set.KLU = {0, 0, 0, 1}; // 5 selections, 2 bankers, span, kill list, pair kill: 10
    for (auto _ : state) {
        auto rows = KillRates(history, set, 0);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_KillRates10x10000)->Unit(benchmark::kMillisecond);

void BM_KillRates10x150000(benchmark::State& state) {
    const auto history = draws(150000);
    ConditionSet set = everyCondition();
    set.KLU = {0, 0, 0, 1};
    for (auto _ : state) {
        auto rows = KillRates(history, set, 0);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_KillRates10x150000)->Unit(benchmark::kMillisecond);

// New conditions over the same range: the winners are counted already.
void BM_KillFromCounts10(benchmark::State& state) {
    ConditionSet set = everyCondition();
    set.KLU = {0, 0, 0, 1};
    const auto counts = CountWinners(draws(150000), set.IDX, 0).value();
    for (auto _ : state) {
        auto tally = KillTally::FromCounts(counts, set);
        benchmark::DoNotOptimize(tally);
    }
}
BENCHMARK(BM_KillFromCounts10)->Unit(benchmark::kMillisecond);

// The figures of a 150,000-period record whose base set holds arg numbers of 1000.
void BM_PlanFigures150k(benchmark::State& state) {
    const int size = int(state.range(0));
    std::mt19937 rng(11);
    PlanTally tally;
    for (int i = 0; i < 150000; ++i)
        tally.add(std::to_string(202612080000LL + i), size, int(rng() % 1000u) < size);
    for (auto _ : state)
        benchmark::DoNotOptimize(FiguresOf(tally, 1000));
}
BENCHMARK(BM_PlanFigures150k)->Arg(7)->Arg(486)->Arg(900)->Unit(benchmark::kMillisecond);

void BM_RiskTable1440(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RiskTable(5040, 10000, 20, {1440}));
}
BENCHMARK(BM_RiskTable1440)->Unit(benchmark::kMicrosecond);

void BM_RiskTableThreeHorizons(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RiskTable(5040, 10000, 20, {100, 500, 1440}));
}
BENCHMARK(BM_RiskTableThreeHorizons)->Unit(benchmark::kMicrosecond);

} // namespace

// Deterministic benchmarks of the engine: the reduction against its floor (writing the same
// two lists without any condition), and the draw pipeline per draw.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include "core/making/Reduction.h"
#include "core/model/LotteryClass.h"
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

void BM_ReduceFloor4(benchmark::State& state) {
    // The same partition as BM_Reduce4, taken from a precomputed flag table.
    const ConditionSet set = everyCondition(10);
    const ReductionOutput ref = *Reduce(set);
    std::vector<unsigned char> removed(10000, 1);
    for (auto piece : SplitNumberList(ref.base))
        removed[std::size_t(NumericValue(piece))] = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PartitionOnly(removed.data(), true, false));
}
BENCHMARK(BM_ReduceFloor4);

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

void processAll(benchmark::State& state, bool plan) {
    const auto draws = sequence(10000);
    for (auto _ : state) {
        LotteryClass lottery;
        lottery.formSet().IDX = 10;
        if (plan) {
            lottery.formSet().CHK[0] = lottery.formSet().CHK[1] = true; // two hottest digits
            lottery.formSet().CHK[17] = true;
            lottery.formSet().KLU[3] = 1;
        }
        for (std::size_t i = 0; i < draws.size(); ++i) {
            if (plan && i == 20 && !StartPlan(lottery)) {
                state.SkipWithError("the plan's first reduction failed");
                return;
            }
            benchmark::DoNotOptimize(lottery.ProcessDraw(draws[i].first, draws[i].second));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(draws.size()));
}

void BM_ProcessDraw(benchmark::State& state) {
    processAll(state, false);
}
BENCHMARK(BM_ProcessDraw)->Unit(benchmark::kMillisecond);

void BM_ProcessDrawPlan(benchmark::State& state) {
    processAll(state, true);
}
BENCHMARK(BM_ProcessDrawPlan)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// zuohao-cli backtest, killrate and risk: the plan analysis over a draw sequence.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "core/analysis/Backtest.h"
#include "core/analysis/Chance.h"
#include "core/analysis/DrawProvider.h"
#include "core/analysis/KillRate.h"
#include "store/ArchiveDrawProvider.h"

namespace zuohao::cli {

namespace {

constexpr int kRiskRows = 20;
constexpr int kMaxDraws = 100000000;

std::string fixed(double v, int decimals = 4) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The draw source of an analysis command: the archive, or a draw or sequence file. Here
// --last counts the draws scored, whatever the source.
DrawProvider providerOf(const Args& args) {
    const auto archive = args.last("--archive");
    if (archive) {
        if (args.last("--draws") || args.last("--sequence"))
            throw UsageError("give one of --draws, --sequence or --archive");
        return store::ArchiveDraws(*archive);
    }
    std::vector<std::string> input;
    for (const char* name : {"--draws", "--sequence"})
        for (const std::string& v : args.all(name)) {
            input.push_back(name);
            input.push_back(v);
        }
    return SequenceDraws(ReadDrawInput(Args(input, {"--draws", "--sequence"}, {})));
}

std::vector<DrawLine> drawsFor(const Args& args, std::size_t count) {
    auto draws = providerOf(args)(count);
    if (!draws) throw std::runtime_error(draws.error());
    return std::move(draws).value();
}

void printSummary(const BacktestResult& r) {
    const PlanRecordStats s = r.stats();
    const double chance = r.chanceRate();
    std::cout << "periods\t" << s.periods << "\n"
              << "hits\t" << s.hits << "\n"
              << "hit_rate\t" << fixed(s.hitRate()) << "\n"
              << "chance_rate\t" << fixed(chance) << "\n"
              << "mean_size\t" << fixed(r.meanSize(), 1) << "\n"
              << "longest_miss_run\t" << s.longestMissRun << "\n"
              << "chance_of_longest\t"
              << fixed(MissRunAtLeast(chance, s.longestMissRun, s.periods), 6) << "\n"
              << "expected_longest\t" << fixed(ExpectedLongestMissRun(chance, s.periods), 2) << "\n"
              << "current_miss_run\t" << s.currentMissRun << "\n"
              << "skipped\t" << r.skipped << "\n";
}

} // namespace

int RunBacktestCommand(const std::vector<std::string>& argv) {
    Args args(argv, with(with(ConditionOptions(), DrawInputOptions()), {"--check"}),
              {"--fan", "--auto", "--manual", "--lines"});
    const std::size_t last = std::size_t(args.integer("--last", 1, kMaxDraws, 0));
    ConditionSet set;
    ApplyConditions(args, set);
    for (const std::string& c : args.all("--check"))
        set.CHK[std::size_t(ParseIndex(c, 0, kCheckCount - 1, "--check"))] = true;
    const bool pipeline = args.has("--auto");
    if (args.has("--manual")) set.PLA = false;
    // The pipeline mode reads statistics from the draws before the first one scored.
    const std::size_t wanted = last == 0 ? 0 : last + (pipeline ? kBacktestWarmUp : 1);
    const std::vector<DrawLine> draws = drawsFor(args, wanted);
    auto r = RunBacktest(draws, set, {pipeline, last});
    if (!r) {
        std::cerr << r.error() << "\n";
        return 1;
    }
    if (args.has("--lines"))
        for (const BacktestLine& l : r->lines)
            std::cout << "LINE\t" << draws[l.draw].qishu << "\t" << draws[l.draw].haoma << "\t"
                      << l.size << "\t" << (l.hit ? "中" : "挂") << "\n";
    printSummary(*r);
    return 0;
}

int RunKillRateCommand(const std::vector<std::string>& argv) {
    Args args(argv, with(ConditionOptions(), DrawInputOptions()), {});
    const std::size_t last = std::size_t(args.integer("--last", 1, kMaxDraws, 0));
    ConditionSet set;
    ApplyConditions(args, set);
    auto rows = KillRates(drawsFor(args, last), set, last);
    if (!rows) {
        std::cerr << rows.error() << "\n";
        return 1;
    }
    std::cout << "condition\tdetail\tkilled\tdraws\tkill_rate\tchance_rate\n";
    for (const ConditionKill& k : *rows)
        std::cout << k.name << "\t" << k.detail << "\t" << k.killed << "\t" << k.draws << "\t"
                  << fixed(k.rate()) << "\t" << fixed(k.chanceRate()) << "\n";
    return 0;
}

int RunRiskCommand(const std::vector<std::string>& argv) {
    Args args(argv, {"--size", "--space", "--periods"}, {});
    for (const char* required : {"--size", "--space", "--periods"})
        if (!args.last(required)) throw UsageError(std::string("missing ") + required);
    const int space = args.integer("--space", 1000, 10000, 1000);
    if (space != 1000 && space != 10000) throw UsageError("--space is 1000 or 10000");
    const int size = args.integer("--size", 0, space, 0);
    const int periods = args.integer("--periods", 1, 1000000, 1);
    const double p = HitProbability(size, space);
    std::cout << "hit_probability\t" << fixed(p, 6) << "\n"
              << "expected_longest_miss_run\t" << fixed(ExpectedLongestMissRun(p, periods), 2)
              << "\n"
              << "expected_cost_to_hit\t" << fixed(ExpectedCostToHit(size, space), 1) << "\n"
              << "k\tchance_within_" << periods << "\tcost\n";
    for (const RiskRow& row : RiskTable(size, space, kRiskRows, {periods}))
        std::cout << row.k << "\t" << fixed(row.chanceWithin[0], 6) << "\t" << row.cost << "\n";
    return 0;
}

} // namespace zuohao::cli

// zuohao-cli backtest, killrate and risk: the plan analysis over a draw sequence.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Messages.h"
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

// The draw source of an analysis command: the archive, or a draw or sequence file. Here
// --last counts the draws scored, whatever the source.
DrawProvider providerOf(const Args& args) {
    const auto archive = args.last("--archive");
    if (archive) {
        if (args.last("--draws") || args.last("--sequence"))
            throw UsageError("give one of --draws, --sequence or --archive");
        const std::string lottery = LotteryOption(args);
        if (args.last("--lottery")) {
            auto opened = store::Archive::open(*archive, nullptr, store::OpenMode::Look);
            if (!opened) throw Failure(Describe(opened.failure()));
            RequireHeldLottery(args, **opened);
        }
        return store::ArchiveDraws(*archive, lottery);
    }
    if (args.last("--lottery")) throw UsageError("--lottery goes with --archive");
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
    if (!draws) throw Failure(Describe(draws.failure()));
    if (draws->empty()) throw Failure("no draws in " + DrawInputName(args));
    return std::move(draws).value();
}

// The summary of a backtest, each figure as the text prints it.
std::vector<std::pair<const char*, std::string>> summaryOf(const BacktestResult& r) {
    const PlanRecordStats s = r.stats();
    const double chance = r.chanceRate();
    return {{"periods", std::to_string(s.periods)},
            {"hits", std::to_string(s.hits)},
            {"hit_rate", fixed(s.hitRate())},
            {"chance_rate", fixed(chance)},
            {"mean_size", fixed(r.meanSize(), 1)},
            {"longest_miss_run", std::to_string(s.longestMissRun)},
            {"chance_of_longest", fixed(MissRunAtLeast(chance, s.longestMissRun, s.periods), 6)},
            {"expected_longest", fixed(ExpectedLongestMissRun(chance, s.periods), 2)},
            {"current_miss_run", std::to_string(s.currentMissRun)},
            {"skipped", std::to_string(r.skipped)}};
}

void printBacktestJson(const BacktestResult& r, const std::vector<DrawLine>& draws, bool lines) {
    JsonWriter w = JsonDocument("backtest");
    for (const auto& [name, value] : summaryOf(r))
        w.key(name).number(value);
    if (lines) {
        w.key("lines").beginArray();
        for (const BacktestLine& l : r.lines)
            w.beginObject()
                .field("period", draws[l.draw].qishu)
                .field("number", draws[l.draw].haoma)
                .field("size", l.size)
                .field("hit", l.hit)
                .endObject();
        w.endArray();
    }
    std::cout << w.endObject().text();
}

void printSummary(const BacktestResult& r) {
    for (const auto& [name, value] : summaryOf(r))
        std::cout << name << "\t" << value << "\n";
}

} // namespace

int RunBacktestCommand(const Args& args) {
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
    if (!r) throw Failure(Describe(r.failure(), set.IDX));
    if (args.has("--json")) {
        printBacktestJson(*r, draws, args.has("--lines"));
        return kExitSuccess;
    }
    if (args.has("--lines"))
        for (const BacktestLine& l : r->lines)
            std::cout << "LINE\t" << draws[l.draw].qishu << "\t" << draws[l.draw].haoma << "\t"
                      << l.size << "\t" << (l.hit ? "中" : "挂") << "\n";
    printSummary(*r);
    return kExitSuccess;
}

int RunKillRateCommand(const Args& args) {
    const std::size_t last = std::size_t(args.integer("--last", 1, kMaxDraws, 0));
    ConditionSet set;
    ApplyConditions(args, set);
    auto rows = KillRates(drawsFor(args, last), set, last);
    if (!rows) throw Failure(Describe(rows.failure(), set.IDX));
    if (args.has("--json")) {
        JsonWriter w = JsonDocument("killrate");
        w.key("rows").beginArray();
        for (const ConditionKill& k : *rows) {
            w.beginObject().field("condition", k.name).field("detail", k.detail);
            w.field("killed", k.killed).field("draws", k.draws);
            w.key("kill_rate").number(fixed(k.rate()));
            w.key("chance_rate").number(fixed(k.chanceRate())).endObject();
        }
        std::cout << w.endArray().endObject().text();
        return kExitSuccess;
    }
    std::cout << "condition\tdetail\tkilled\tdraws\tkill_rate\tchance_rate\n";
    for (const ConditionKill& k : *rows)
        std::cout << k.name << "\t" << k.detail << "\t" << k.killed << "\t" << k.draws << "\t"
                  << fixed(k.rate()) << "\t" << fixed(k.chanceRate()) << "\n";
    return kExitSuccess;
}

int RunRiskCommand(const Args& args) {
    for (const char* required : {"--size", "--space", "--periods"})
        if (!args.last(required)) throw UsageError(std::string("missing ") + required);
    const int space = args.integer("--space", 1000, 10000, 1000);
    if (space != 1000 && space != 10000) throw UsageError("--space is 1000 or 10000");
    const int size = args.integer("--size", 0, space, 0);
    const int periods = args.integer("--periods", 1, 1000000, 1);
    const double p = HitProbability(size, space);
    if (args.has("--json")) {
        JsonWriter w = JsonDocument("risk");
        w.field("size", size).field("space", space).field("periods", periods);
        w.key("hit_probability").number(fixed(p, 6));
        w.key("expected_longest_miss_run").number(fixed(ExpectedLongestMissRun(p, periods), 2));
        w.key("expected_cost_to_hit").number(fixed(ExpectedCostToHit(size, space), 1));
        w.key("rows").beginArray();
        for (const RiskRow& row : RiskTable(size, space, kRiskRows, {periods})) {
            w.beginObject().field("k", row.k).key("chance_within");
            w.number(fixed(row.chanceWithin[0], 6)).field("cost", row.cost).endObject();
        }
        std::cout << w.endArray().endObject().text();
        return kExitSuccess;
    }
    std::cout << "hit_probability\t" << fixed(p, 6) << "\n"
              << "expected_longest_miss_run\t" << fixed(ExpectedLongestMissRun(p, periods), 2)
              << "\n"
              << "expected_cost_to_hit\t" << fixed(ExpectedCostToHit(size, space), 1) << "\n"
              << "k\tchance_within_" << periods << "\tcost\n";
    for (const RiskRow& row : RiskTable(size, space, kRiskRows, {periods}))
        std::cout << row.k << "\t" << fixed(row.chanceWithin[0], 6) << "\t" << row.cost << "\n";
    return kExitSuccess;
}

} // namespace zuohao::cli

// zuohao-cli monitor and feed.
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "core/acquire/Feed.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/Captions.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao::cli {

int RunMonitor(const std::vector<std::string>& argv) {
    Args args(argv,
              {"--draws", "--sequence", "--archive", "--last", "--idx", "--base", "--lock",
               "--segment", "--hits-low", "--hits-high", "--plan-length", "--trigger",
               "--live-after"},
              {});
    if (!args.last("--idx")) throw UsageError("missing --idx N");
    const int idx = args.integer("--idx", 0, 11, 0);
    const std::string base = args.last("--base").value_or("");
    if (base.empty()) throw UsageError(kNoBaseMessage);
    const auto draws = ReadDrawInput(args);
    const bool live = args.last("--live-after").has_value();
    const std::size_t liveAfter =
        live ? std::size_t(args.integer("--live-after", 0, 1000000000, 0)) : draws.size();

    MonitorState state;
    state.LockPeriod = args.last("--lock").value_or("");
    state.SegmentPeriod = args.last("--segment").value_or("");
    state.SegmentSettings[0] = args.last("--hits-low").value_or("");
    state.SegmentSettings[1] = args.last("--hits-high").value_or("");
    state.SegmentSettings[2] = args.last("--plan-length").value_or("");
    state.SegmentSettings[3] = args.last("--trigger").value_or("");

    LotteryClass lottery;
    lottery.setMonitorState(&state);
    lottery.formSet().IDX = idx;
    auto offer = [&](const DrawLine& d) {
        auto o = lottery.ProcessDraw(d.qishu, d.haoma);
        if (!o.error.empty()) std::cerr << "warning: " << d.qishu << ": " << o.error << "\n";
        return o.added;
    };
    std::size_t i = 0;
    for (; i < draws.size() && i < liveAfter; ++i)
        offer(draws[i]);
    if (auto r = ReashStar(state, lottery, base); !r) throw UsageError(r.error());
    // Each later draw is one poll of the refresh cycle.
    for (; i < draws.size(); ++i) {
        lottery.IsGetNew = false;
        offer(draws[i]);
        // ReashStar fails only without a base set, and this base was accepted above.
        if (lottery.IsGetNew && !state.PlanRunning) (void)ReashStar(state, lottery, base);
    }

    for (const auto& [key, row] : state.MonitorRows) {
        std::cout << key << "\t" << row->Haoma1 << "\t" << VerdictText(row->Zgua) << "\t"
                  << row->TOW_yluo << "\t" << HitCountText(row->Zsu) << "\t" << row->TowJ << "\t"
                  << PlanMarkText(row->Jhzg) << "\t" << row->JHcount << "\t" << row->XHxain << "\n";
    }
    for (const MonitorLogLine& line : state.Log)
        std::cout << "LOG\t" << LogLineText(line) << "\n";
    return 0;
}

int RunFeed(const std::vector<std::string>& argv) {
    Args args(argv, {"--out", "--count", "--interval", "--seed", "--start"}, {});
    auto out = args.last("--out");
    if (!out) throw UsageError("missing --out FILE");
    const int count = args.integer("--count", 99, 100000, 120);
    const int interval = args.integer("--interval", 1, 86400, 0);
    const int seed = args.integer("--seed", 0, 2000000000, 20261208);
    const std::string start = args.last("--start").value_or("202612080001");
    if (!HasNumericPrefix(start)) throw UsageError("--start is not a period label: " + start);

    FeedWriter feed(*out, std::uint64_t(seed), start);
    feed.addDraws(count);
    if (auto r = feed.write(); !r) {
        std::cerr << r.error() << "\n";
        return 1;
    }
    while (interval > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(interval));
        feed.addDraws(1);
        if (auto r = feed.write(); !r) std::cerr << r.error() << "\n";
    }
    return 0;
}

} // namespace zuohao::cli

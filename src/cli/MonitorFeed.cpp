// zuohao-cli monitor and feed.
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Messages.h"
#include "core/acquire/Feed.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/Captions.h"
#include "core/model/Groups.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao::cli {

namespace {
void printMonitorJson(const MonitorState& state, int idx) {
    JsonWriter w = JsonDocument("monitor");
    w.field("idx", idx).key("rows").beginArray();
    auto textOrNull = [&w](const std::string& name, const std::string& v) {
        w.key(name);
        v.empty() ? w.null() : w.string(v);
    };
    for (const MonitorRow& row : state.MonitorRows) {
        w.beginObject().field("period", row.period.text());
        w.field("number", MonitorRowNumberText(row)).key("result");
        row.Zgua == Verdict::Hit    ? w.string("hit")
        : row.Zgua == Verdict::Miss ? w.string("miss")
                                    : w.null();
        w.field("miss_run", row.TOW_yluo).key("segment_hits");
        const std::string hits = HitCountText(row.Zsu);
        hits.empty() ? w.null() : w.number(hits);
        textOrNull("second", {}); // 二阶: nothing sets it
        textOrNull("plan", PlanMarkText(row.Jhzg));
        w.field("plan_period", row.JHcount).field("segment_end", int(row.XHxain)).endObject();
    }
    w.endArray().key("log").beginArray();
    for (const MonitorLogLine& line : state.Log)
        w.string(LogLineText(line));
    std::cout << w.endArray().endObject().text();
}
} // namespace

int RunMonitor(const Args& args) {
    if (!args.last("--idx")) throw UsageError("missing --idx N");
    const int idx = args.integer("--idx", 0, 11, 0);
    const bool four = IsFourDigitGroup(idx);
    const NumberList base =
        NumberList::read(ParseNumberList(args.last("--base").value_or(""), four ? 4 : 3, "--base"),
                         four)
            .list;
    if (base.empty())
        throw UsageError("missing --base LIST: the base set to rate the periods against (such "
                         "as the first line of `zuohao-cli reduce`)");
    const auto draws = ReadDrawInput(args);
    const bool live = args.last("--live-after").has_value();
    const std::size_t liveAfter =
        live ? std::size_t(args.integer("--live-after", 0, 1000000000, 0)) : draws.size();

    LotteryClass lottery;
    MonitorState& state = lottery.monitor();
    state.LockPeriod = Period::parse(args.last("--lock").value_or(""));
    state.SegmentPeriod = SettingValue(args.last("--segment").value_or(""));
    state.SegmentSettings[0] = SettingValue(args.last("--hits-low").value_or(""));
    state.SegmentSettings[1] = SettingValue(args.last("--hits-high").value_or(""));
    state.SegmentSettings[2] = SettingValue(args.last("--plan-length").value_or(""));
    state.SegmentSettings[3] = SettingValue(args.last("--trigger").value_or(""));

    lottery.setPositionIndex(idx);
    auto offer = [&](const DrawLine& d) {
        auto o = lottery.ProcessDraw(d.qishu, d.haoma);
        for (const Error& e : o.failures)
            std::cerr << "warning: " << d.qishu << ": " << Describe(e, idx) << "\n";
        return o.added;
    };
    std::size_t i = 0;
    for (; i < draws.size() && i < liveAfter; ++i)
        offer(draws[i]);
    if (auto r = lottery.ReashStar(base); !r) throw Failure(Describe(r.failure(), idx));
    // Each later draw is one poll of the refresh cycle.
    for (; i < draws.size(); ++i) {
        lottery.clearNewDraw();
        offer(draws[i]);
        // ReashStar fails only without a base set, and this base was accepted above.
        if (lottery.hasNewDraw() && !state.PlanRunning) (void)lottery.ReashStar(base);
    }

    if (args.has("--json")) {
        printMonitorJson(state, idx);
        return kExitSuccess;
    }
    for (const MonitorRow& row : state.MonitorRows) {
        std::cout << row.period.text() << "\t" << row.number() << "\t" << VerdictText(row.Zgua)
                  << "\t" << row.TOW_yluo << "\t" << HitCountText(row.Zsu) << "\t" // 二阶: empty
                  << "\t" << PlanMarkText(row.Jhzg) << "\t" << row.JHcount << "\t"
                  << int(row.XHxain) << "\n";
    }
    for (const MonitorLogLine& line : state.Log)
        std::cout << "LOG\t" << LogLineText(line) << "\n";
    return kExitSuccess;
}

int RunFeed(const Args& args) {
    auto out = args.last("--out");
    if (!out) throw UsageError("missing --out FILE");
    const int count = args.integer("--count", 99, 100000, 120);
    const int interval = args.integer("--interval", 1, 86400, 0);
    const int seed = args.integer("--seed", 0, 2000000000, 20261208);
    const std::string start = args.last("--start").value_or("202612080001");
    if (!HasNumericPrefix(start)) throw UsageError("--start is not a period label: " + start);

    FeedWriter feed(*out, std::uint64_t(seed), start);
    feed.addDraws(count);
    if (auto r = feed.write(); !r) throw Failure(Describe(r.failure()));
    while (interval > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(interval));
        feed.addDraws(1);
        if (auto r = feed.write(); !r) std::cerr << "warning: " << Describe(r.failure()) << "\n";
    }
    return kExitSuccess;
}

} // namespace zuohao::cli

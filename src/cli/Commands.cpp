// zuohao-cli reduce, stats and plan.
#include "cli/Commands.h"

#include <iostream>

#include "cli/Args.h"
#include "cli/Json.h"
#include "cli/Messages.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"

namespace zuohao::cli {

namespace {
// A cell as the stats table prints it: "*" and the text after the mark for a hit.
std::string cellText(const Cell& c) {
    if (c.isMark()) return "*" + c.text.substr(1);
    return c.shown();
}

void warn(const DrawOutcome& o, const DrawLine& d, int idx) {
    for (const Error& e : o.failures)
        std::cerr << "warning: " << d.qishu << ": " << Describe(e, idx) << "\n";
}

void printStatsJson(const LotteryClass& lottery, int group) {
    JsonWriter w = JsonDocument("stats");
    w.field("group", group).field("group_name", GroupName(group)).key("draws").beginArray();
    for (const auto& [label, item] : lottery.heldDraws()) {
        const GridRow row = item->GetGridArray(group);
        w.beginObject().field("period", item->Qishu).field("number", item->Haoma);
        w.key("cells").beginArray();
        for (int c = kFirstStatColumn; c <= kLastColumn; ++c) {
            const std::string shown = row[c].isMark() ? row[c].text.substr(1) : row[c].shown();
            shown.empty() ? w.null() : w.number(shown);
        }
        w.endArray().key("hits").beginArray();
        for (int c = kFirstStatColumn; c <= kLastColumn; ++c)
            w.boolean(row[c].isMark());
        w.endArray().endObject();
    }
    std::cout << w.endArray().endObject().text();
}

// A plan line as its typed parts, beside the line as the plan text shows it.
void putPlanLine(JsonWriter& w, const LotteryItem& item) {
    const PlanLine& plan = *item.Plan;
    const bool known = plan.group >= 0 && plan.group < kGroupCount;
    w.beginObject().field("draw", item.Qishu).field("line", item.PlanTxt());
    w.field("period", plan.period).key("size").number(std::to_string(plan.count));
    w.field("group", known ? std::string(GroupName(plan.group)) : std::string());
    w.field("result", plan.outcome == PlanOutcome::Hit    ? "hit"
                      : plan.outcome == PlanOutcome::Miss ? "miss"
                                                          : "open")
        .endObject();
}

void printPlanJson(const LotteryClass& lottery) {
    JsonWriter w = JsonDocument("plan");
    w.key("lines").beginArray();
    for (const auto& [label, item] : lottery.heldDraws())
        if (item->Plan) putPlanLine(w, *item);
    w.endArray().key("selections").beginArray();
    for (const std::string& s : lottery.formSet().SEL)
        w.string(s);
    std::cout << w.endArray().endObject().text();
}
} // namespace

int RunReduce(const Args& args) {
    LotteryClass lottery;
    ConditionSet conditions = lottery.formSet();
    ApplyConditions(args, conditions);
    lottery.restoreConditions(conditions);
    auto r = lottery.GetSuoshuiDadi();
    if (!r) throw Failure(Describe(r.failure(), lottery.formSet().IDX));
    std::cout << lottery.formSet().DAD.text() << "\n" << lottery.formSet().FJI.text() << "\n";
    return kExitSuccess;
}

int RunStats(const Args& args) {
    if (!args.last("--group")) throw UsageError("missing --group N");
    const int group = args.integer("--group", 0, kGroupCount - 1, 0);
    const auto draws = ReadDrawInput(args);
    LotteryClass lottery;
    for (const DrawLine& d : draws)
        warn(lottery.ProcessDraw(d.qishu, d.haoma), d, group);
    if (lottery.heldDraws().Count() == 0) throw Failure("no valid draws in " + DrawInputName(args));
    if (args.has("--json")) {
        printStatsJson(lottery, group);
        return kExitSuccess;
    }
    for (const auto& [label, item] : lottery.heldDraws()) {
        const GridRow row = item->GetGridArray(group);
        for (int c = kPeriodColumn; c <= kLastColumn; ++c)
            std::cout << (c > 1 ? "\t" : "") << cellText(row[c]);
        std::cout << "\n";
    }
    return kExitSuccess;
}

int RunPlan(const Args& args) {
    if (!args.last("--start-after")) throw UsageError("missing --start-after K");
    const auto draws = ReadDrawInput(args);
    const int startAfter = args.integer("--start-after", 0, 1000000000, 0);
    std::vector<int> checks;
    for (const std::string& c : args.all("--check"))
        checks.push_back(ParseIndex(c, 0, kCheckCount - 1, "--check"));

    const int idx = args.integer("--idx", 0, kGroupCount - 1, 0);
    LotteryClass lottery;
    std::size_t i = 0;
    for (; i < draws.size() && i < std::size_t(startAfter); ++i)
        warn(lottery.ProcessDraw(draws[i].qishu, draws[i].haoma), draws[i], idx);

    ConditionSet conditions = lottery.formSet();
    ApplyConditions(args, conditions);
    for (int c : checks)
        conditions.CHK[std::size_t(c)] = true;
    if (args.has("--manual")) conditions.PLA = false;
    lottery.restoreConditions(conditions);
    for (int c : checks) {
        auto r = lottery.ResultSelStr(c);
        if (!r) std::cerr << "warning: --check " << c << ": " << Describe(r.failure(), idx) << "\n";
    }

    // Start the plan as the start button does.
    if (!lottery.markHistoryLoaded()) {
        std::cerr << "warning: no draws before the start; the plan does not start\n";
    } else if (auto r = lottery.StartPlan(); !r) {
        throw Failure(Describe(r.failure(), idx));
    }
    for (; i < draws.size(); ++i)
        warn(lottery.ProcessDraw(draws[i].qishu, draws[i].haoma), draws[i], idx);

    if (args.has("--json")) {
        printPlanJson(lottery);
        return kExitSuccess;
    }
    for (const auto& [label, item] : lottery.heldDraws())
        if (item->Plan) std::cout << item->Qishu << "\t" << item->PlanTxt() << "\n";
    std::cout << "SEL";
    for (const std::string& s : lottery.formSet().SEL)
        std::cout << "\t" << s;
    std::cout << "\n";
    return kExitSuccess;
}

} // namespace zuohao::cli

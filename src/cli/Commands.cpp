// zuohao-cli reduce, stats and plan.
#include "cli/Commands.h"

#include <iostream>

#include "cli/Args.h"
#include "core/acquire/LotteryClass.h"
#include "core/plan/Plan.h"

namespace zuohao::cli {

namespace {
std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A cell as the stats table prints it: "*" and the text after the mark for a hit.
std::string cellText(const Cell& c) {
    if (c.isMark()) return "*" + c.text.substr(1);
    return c.shown();
}

void warn(const DrawOutcome& o, const DrawLine& d) {
    if (!o.error.empty()) std::cerr << "warning: " << d.qishu << ": " << o.error << "\n";
}
} // namespace

int RunReduce(const std::vector<std::string>& argv) {
    Args args(argv, ConditionOptions(), {"--fan"});
    LotteryClass lottery;
    ApplyConditions(args, lottery.formSet());
    auto r = lottery.GetSuoshuiDadi();
    if (!r) {
        std::cerr << r.error() << "\n";
        return 1;
    }
    std::cout << lottery.formSet().DAD.text() << "\n" << lottery.formSet().FJI.text() << "\n";
    return 0;
}

int RunStats(const std::vector<std::string>& argv) {
    Args args(argv, with(DrawInputOptions(), {"--group"}), {});
    if (!args.last("--group")) throw UsageError("missing --group N");
    const int group = args.integer("--group", 0, 11, 0);
    const auto draws = ReadDrawInput(args);
    LotteryClass lottery;
    for (const DrawLine& d : draws)
        warn(lottery.ProcessDraw(d.qishu, d.haoma), d);
    for (const auto& [label, item] : lottery.LotteryDic) {
        const GridRow row = item->GetGridArray(group);
        for (int c = kPeriodColumn; c <= kLastColumn; ++c)
            std::cout << (c > 1 ? "\t" : "") << cellText(row[c]);
        std::cout << "\n";
    }
    return 0;
}

int RunPlan(const std::vector<std::string>& argv) {
    Args args(argv,
              with(with(ConditionOptions(), DrawInputOptions()), {"--start-after", "--check"}),
              {"--fan", "--manual"});
    if (!args.last("--start-after")) throw UsageError("missing --start-after K");
    const auto draws = ReadDrawInput(args);
    const int startAfter = args.integer("--start-after", 0, 1000000000, 0);
    std::vector<int> checks;
    for (const std::string& c : args.all("--check"))
        checks.push_back(ParseIndex(c, 0, kCheckCount - 1, "--check"));

    LotteryClass lottery;
    std::size_t i = 0;
    for (; i < draws.size() && i < std::size_t(startAfter); ++i)
        warn(lottery.ProcessDraw(draws[i].qishu, draws[i].haoma), draws[i]);

    ApplyConditions(args, lottery.formSet());
    for (int c : checks) {
        lottery.formSet().CHK[c] = true;
        auto r = lottery.ResultSelStr(c);
        if (!r) std::cerr << "warning: --check " << c << ": " << r.error() << "\n";
    }
    if (args.has("--manual")) lottery.formSet().PLA = false;

    // Start the plan as the start button does.
    if (lottery.IsGetHis = lottery.LotteryDic.Count() > 0; !lottery.IsGetHis) {
        std::cerr << "warning: no draws before the start; the plan does not start\n";
    } else if (auto r = StartPlan(lottery); !r) {
        std::cerr << r.error() << "\n";
        return 1;
    }
    for (; i < draws.size(); ++i)
        warn(lottery.ProcessDraw(draws[i].qishu, draws[i].haoma), draws[i]);

    for (const auto& [label, item] : lottery.LotteryDic)
        if (item->Plan) std::cout << item->Qishu << "\t" << item->PlanTxt() << "\n";
    std::cout << "SEL";
    for (const std::string& s : lottery.formSet().SEL)
        std::cout << "\t" << s;
    std::cout << "\n";
    return 0;
}

} // namespace zuohao::cli

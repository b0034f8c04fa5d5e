// zuohao-cli: the headless tool over the number engine.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Console.h"

namespace {
const char* kUsage =
    "usage: zuohao-cli reduce|stats|plan|monitor|feed|archive|backtest|killrate|risk|notify "
    "[options]\n"
    "  reduce  [--idx N] [--sel G=DIGITS] [--cnt G=COUNTS] [--dan G=DIGITS] [--dcc G=COUNTS]\n"
    "          [--kua DIGITS] [--route S]... [--kill LIST] [--fan]\n"
    "  stats   (--draws FILE | --sequence FILE) --group N\n"
    "  plan    (--draws FILE | --sequence FILE) --start-after K [conditions] [--check I]... "
    "[--manual]\n"
    "  monitor (--draws FILE | --sequence FILE) --idx N --base LIST [--lock P] [--segment N]\n"
    "          [--hits-low A] [--hits-high B] [--plan-length C] [--trigger D] [--live-after K]\n"
    "          (--live-after K: the first K draws are history; each later draw arrives as a\n"
    "          refresh poll does, and only these live evaluations write LOG lines)\n"
    "  feed    --out FILE [--count N] [--interval S] [--seed N] [--start LABEL]\n"
    "  archive import FILE... [--prefer-import]   (draw files or CSV)\n"
    "  archive export [--from P] [--to P] [--csv] [--out FILE]\n"
    "  archive gaps [--from P] [--to P]\n"
    "  archive info\n"
    "          archive commands take [--archive PATH] [--lottery NAME]; the archive is\n"
    "          draws.sqlite in the user's data folder unless --archive names another\n"
    "  stats, plan and monitor take --archive PATH [--last N] instead of --draws/--sequence\n"
    "  backtest (--draws FILE | --sequence FILE | --archive PATH) [--last N] [conditions] [--check "
    "I]...\n"
    "          [--auto] [--manual] [--lines]\n"
    "          (--auto: selections derived from each draw as the plan pipeline does;\n"
    "          --last N: the newest N draws are scored)\n"
    "  killrate (--draws FILE | --sequence FILE | --archive PATH) [--last N] [conditions]\n"
    "  risk    --size M --space 1000|10000 --periods N\n"
    "  notify  --kind wecom|dingtalk|feishu|webhook --url URL [--secret S] [--keyword W]\n"
    "          [--method M] [--content-type T] [--body-template T] --text TEXT\n"
    "          (sends one message as the desktop program does; exit 0 when the target\n"
    "          accepted it, 1 with its answer when not; only in builds with Qt Network)\n";
}

int main(int argc, char** argv) {
    using namespace zuohao::cli;
    UseBinaryStandardStreams();
    std::vector<std::string> args = Utf8Arguments(argc, argv);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    try {
        if (command == "reduce") return RunReduce(args);
        if (command == "stats") return RunStats(args);
        if (command == "plan") return RunPlan(args);
        if (command == "monitor") return RunMonitor(args);
        if (command == "feed") return RunFeed(args);
        if (command == "archive") return RunArchive(args);
        if (command == "backtest") return RunBacktestCommand(args);
        if (command == "killrate") return RunKillRateCommand(args);
        if (command == "risk") return RunRiskCommand(args);
        if (command == "notify") return RunNotify(args);
        if (command == "--help" || command == "-h") {
            std::cout << kUsage;
            return 0;
        }
        std::cerr << "unknown command: " << command << "\n" << kUsage;
        return 2;
    } catch (const UsageError& e) {
        std::cerr << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return 1;
    }
}

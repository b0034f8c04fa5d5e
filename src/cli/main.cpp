// zuohao-cli: the headless tool over the number engine.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"

namespace {
const char* kUsage =
    "usage: zuohao-cli reduce|stats|plan|monitor|feed|archive [options]\n"
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
    "  stats, plan and monitor take --archive PATH [--last N] instead of --draws/--sequence\n";
}

int main(int argc, char** argv) {
    using namespace zuohao::cli;
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "reduce") return RunReduce(args);
        if (command == "stats") return RunStats(args);
        if (command == "plan") return RunPlan(args);
        if (command == "monitor") return RunMonitor(args);
        if (command == "feed") return RunFeed(args);
        if (command == "archive") return RunArchive(args);
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

// The table of zuohao-cli's commands. A new command adds one entry here.
#include <algorithm>

#include "cli/Commands.h"
#include "cli/Help.h"

namespace zuohao::cli {

namespace {

using Options = std::vector<OptionHelp>;

Options join(std::initializer_list<Options> parts) {
    Options all;
    for (const Options& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Options kJson{{"--json", "", "print one JSON document instead of the text (see the README)"}};

const Options kConditions{
    {"--idx", "N",
     "the position group, 0-11 (default 0): 0-9 make three-digit numbers, 10 and 11 "
     "four-digit ones"},
    {"--sel", "G=DIGITS", "the digits of selection group G (0-4); repeat for more groups"},
    {"--cnt", "G=COUNTS",
     "how many of its digits a number may match in selection group G, digits 0-6 (defaults "
     "1234, 1234, 123456, 123456, 1234)"},
    {"--dan", "G=DIGITS", "the banker digits (胆码) of banker group G (0 or 1)"},
    {"--dcc", "G=COUNTS", "the allowed banker counts of banker group G, digits 0-4 (default 1234)"},
    {"--kua", "DIGITS", "the spans to kill (杀跨度)"},
    {"--route", "R", "switch on route or pair rule R, 0-3; repeatable"},
    {"--kill", "LIST",
     "numbers to remove (杀号), each of the group's digits, separated by spaces, commas, "
     "、 or ，"},
};
const Options kFan{{"--fan", "", "complement mode (大底反集): the base set is what was removed"}};

const Options kDrawInput{
    {"--draws", "FILE", "a draw file as the betting program writes it"},
    {"--sequence", "FILE", "a sequence file: one draw per line, PERIOD NUMBER, oldest first"},
    {"--archive", "PATH", "the draw archive (draws.sqlite) instead of a file"},
    {"--lottery", "NAME",
     "with --archive: the lottery whose draws are read (default 腾讯分分彩); one the archive "
     "does not hold is a usage error"},
    {"--last", "N", "with --archive: only its newest N draws"},
};
const Options kScoredInput{
    {"--draws", "FILE", "a draw file as the betting program writes it"},
    {"--sequence", "FILE", "a sequence file: one draw per line, PERIOD NUMBER, oldest first"},
    {"--archive", "PATH", "the draw archive (draws.sqlite) instead of a file"},
    {"--lottery", "NAME",
     "with --archive: the lottery whose draws are read (default 腾讯分分彩); one the archive "
     "does not hold is a usage error"},
    {"--last", "N", "score only the newest N draws"},
};
const Options kArchive{
    {"--archive", "PATH", "another archive than draws.sqlite in the user's data folder"},
    {"--lottery", "NAME",
     "the lottery (default 腾讯分分彩); one the archive does not hold is a usage error"},
};
const Options kImportArchive{
    {"--archive", "PATH", "another archive than draws.sqlite in the user's data folder"},
    {"--lottery", "NAME",
     "the lottery the draws belong to (default 腾讯分分彩); a name the archive does not hold "
     "yet starts a lottery of its own"},
};
const Options kInfoArchive{
    {"--archive", "PATH", "another archive than draws.sqlite in the user's data folder"},
    {"--lottery", "NAME", "only this lottery (default: every lottery the archive holds)"},
};
const Options kRange{
    {"--from", "P", "only periods from P on (a period label: digits)"},
    {"--to", "P", "only periods up to P"},
};

std::vector<CommandHelp> buildTable() {
    std::vector<CommandHelp> t;
    t.push_back({"reduce",
                 "[--idx N] [--sel G=DIGITS] [--cnt G=COUNTS] [--dan G=DIGITS] [--dcc G=COUNTS] "
                 "[--kua DIGITS] [--route R]... [--kill LIST] [--fan]",
                 "Reduces the number space of a position group to a base set (大底) by the "
                 "conditions. Prints two lines: the base set and its complement (反集), each a "
                 "list of numbers separated by spaces.",
                 join({kConditions, kFan}),
                 {Topic::Groups, Topic::Conditions},
                 "zuohao-cli reduce --idx 10 --route 3",
                 RunReduce});
    t.push_back(
        {"stats",
         "(--draws FILE | --sequence FILE | --archive PATH [--last N]) [--lottery NAME] "
         "--group N",
         "The statistics of one position group for every draw, oldest first: a line per "
         "draw with the period, the number and the 66 statistics columns of the window's "
         "grid, separated by tabs.",
         join({kDrawInput, {{"--group", "N", "the position group, 0-11 (see below)"}}, kJson}),
         {Topic::Groups, Topic::StatsColumns, Topic::DrawInput},
         "zuohao-cli stats --draws data/sample-draws.txt --group 9",
         RunStats});
    t.push_back({"plan",
                 "(--draws FILE | --sequence FILE | --archive PATH [--last N]) [--lottery NAME] "
                 "--start-after K "
                 "[conditions] [--check I]... [--manual]",
                 "Replays a plan over the draws: the first K draws are history, then the plan "
                 "starts as the start button does and every later draw scores it. Prints the "
                 "plan lines (period, tab, the plan line with 中 hit, 挂 miss or 进行中... still "
                 "open) and a last line SEL with the five selection digit sets.",
                 join({kDrawInput,
                       {{"--start-after", "K", "the number of draws before the plan starts"},
                        {"--check", "I", "tick selection check I, 0-65 (see below); repeatable"}},
                       kConditions,
                       kFan,
                       {{"--manual", "", "no automatic number making (自动做号 off)"}},
                       kJson}),
                 {Topic::Groups, Topic::Conditions, Topic::Checks, Topic::DrawInput},
                 "zuohao-cli plan --draws data/sample-draws.txt --start-after 60 --idx 9 "
                 "--check 0",
                 RunPlan});
    t.push_back(
        {"monitor",
         "(--draws FILE | --sequence FILE | --archive PATH [--last N]) [--lottery NAME] "
         "--idx N --base LIST "
         "[--lock P] [--segment N] [--hits-low A] [--hits-high B] [--plan-length C] "
         "[--trigger D] [--live-after K]",
         "Replays the monitor window over the draws against a base set. Prints a row per "
         "period (period, the group's digits, 中/挂, miss run, hits in the segment, 二阶, the "
         "plan column, the plan period, 1 where a segment ends) and the alarm log as LOG lines.",
         join({kDrawInput,
               {{"--idx", "N", "the position group, 0-11 (see below)"},
                {"--base", "LIST", "the base set the periods are rated against (see reduce)"},
                {"--lock", "P", "periods below P are not rated (锁定期数)"},
                {"--segment", "N", "a segment ends after N rated periods (分段周期)"},
                {"--hits-low", "A", "the fewest hits in a segment for an alarm (分段中次数)"},
                {"--hits-high", "B", "the most hits in a segment for an alarm (分段中次数)"},
                {"--plan-length", "C",
                 "the periods of the alarm's plan, also the miss-run limit (二阶计划)"},
                {"--trigger", "D", "the miss run that counts toward an alarm (二阶计划)"},
                {"--live-after", "K",
                 "the first K draws are history; each later draw arrives as a refresh poll "
                 "does, and only these live evaluations write LOG lines"}},
               kJson}),
         {Topic::Groups, Topic::DrawInput},
         "zuohao-cli monitor --draws data/sample-draws.txt --idx 9 --base \"012 345\" "
         "--plan-length 3",
         RunMonitor});
    t.push_back({"feed",
                 "--out FILE [--count N] [--interval S] [--seed N] [--start LABEL]",
                 "Writes a draw file as a betting program does, newest first, with random "
                 "draws; with --interval it adds a draw on top every S seconds until stopped.",
                 {{"--out", "FILE", "the draw file to write (replaced whole at every write)"},
                  {"--count", "N", "the draws written first, 99-100000 (default 120)"},
                  {"--interval", "S", "add a draw every S seconds, 1-86400"},
                  {"--seed", "N", "the seed of the random numbers (default 20261208)"},
                  {"--start", "LABEL", "the period of the oldest draw (default 202612080001)"}},
                 {},
                 "zuohao-cli feed --out /tmp/draws.txt --interval 60",
                 RunFeed});
    t.push_back({"archive import",
                 "FILE... [--prefer-import] [--archive PATH] [--lottery NAME]",
                 "Adds the draws of draw files or CSV exports to the archive, as draws of one "
                 "lottery. Malformed lines "
                 "are skipped and the first few named; a period held with another number is a "
                 "conflict and the archive's number stands.",
                 join({{{"--prefer-import", "",
                         "on a conflict take the file's number and keep the old one as a "
                         "correction"}},
                       kImportArchive}),
                 {},
                 "zuohao-cli archive import backup.csv",
                 RunArchiveImport,
                 true});
    t.push_back({"archive export",
                 "[--from P] [--to P] [--csv] [--out FILE] [--lottery NAME]",
                 "Prints the archived draws, oldest first: PERIOD NUMBER per line, or CSV (UTF-8 "
                 "with BOM) with when each draw was first seen, its source and corrections.",
                 join({kRange,
                       {{"--csv", "", "CSV instead of PERIOD NUMBER lines"},
                        {"--out", "FILE", "write to FILE instead of the standard output"}},
                       kArchive}),
                 {},
                 "zuohao-cli archive export --csv --out backup.csv",
                 RunArchiveExport});
    t.push_back({"archive gaps",
                 "[--from P] [--to P] [--lottery NAME]",
                 "Prints the missing periods between held draws: the period before and after "
                 "each gap and how many are missing, tab-separated; the total goes to the "
                 "standard error.",
                 join({kRange, kArchive, kJson}),
                 {},
                 "zuohao-cli archive gaps --from 202612080001",
                 RunArchiveGaps});
    t.push_back({"archive info",
                 "[--lottery NAME]",
                 "Prints the archive's path and size and, for every lottery it holds (or the "
                 "one --lottery names), its name, draws, corrections, first and last period and "
                 "the draws per day.",
                 join({kInfoArchive, kJson}),
                 {},
                 "zuohao-cli archive info",
                 RunArchiveInfo});
    t.push_back({"backtest",
                 "(--draws FILE | --sequence FILE | --archive PATH) [--lottery NAME] [--last N] "
                 "[conditions] "
                 "[--check I]... [--auto] [--manual] [--lines]",
                 "Scores a base set against every draw: fixed conditions, or with --auto the "
                 "selections derived from each draw as the plan does. Prints the hit rate beside "
                 "the chance rate, the longest miss run and how likely it was.",
                 join({kScoredInput,
                       kConditions,
                       kFan,
                       {{"--check", "I", "tick selection check I, 0-65 (see below); repeatable"},
                        {"--auto", "", "derive the selections from each draw as the plan does"},
                        {"--manual", "", "no automatic number making (自动做号 off)"},
                        {"--lines", "", "also a LINE per draw: period, number, size, 中 or 挂"}},
                       kJson}),
                 {Topic::Groups, Topic::Conditions, Topic::Checks, Topic::DrawInput},
                 "zuohao-cli backtest --draws data/sample-draws.txt --idx 9 --kua 0 --lines",
                 RunBacktestCommand});
    t.push_back({"killrate",
                 "(--draws FILE | --sequence FILE | --archive PATH) [--lottery NAME] [--last N] "
                 "[conditions]",
                 "How often each condition alone would have killed the winning number, beside "
                 "the share of the space it removes: one row per condition.",
                 join({kScoredInput, kConditions, kJson}),
                 {Topic::Groups, Topic::Conditions, Topic::DrawInput},
                 "zuohao-cli killrate --draws data/sample-draws.txt --idx 9 --dan 0=5 --kua 0",
                 RunKillRateCommand});
    t.push_back({"risk",
                 "--size M --space 1000|10000 --periods N",
                 "The exact chances of a base set of M numbers: the hit probability, the "
                 "expected longest miss run in N periods, the expected cost to a hit, and for "
                 "k = 1-20 the chance of a miss run of k within N periods and its cost.",
                 join({{{"--size", "M", "the numbers in the base set, 0 to the space"},
                        {"--space", "S", "the number space: 1000 (three digits) or 10000 (four)"},
                        {"--periods", "N", "the periods played, 1-1000000"}},
                       kJson}),
                 {},
                 "zuohao-cli risk --size 400 --space 1000 --periods 1440",
                 RunRiskCommand});
    t.push_back(
        {"notify",
         "--kind KIND (--url URL | --url-file FILE) [--secret S | --secret-file FILE] "
         "[--keyword W] [--method M] [--content-type T] [--body-template T] --text TEXT",
         "Sends one message to a group robot or a webhook exactly as the desktop program "
         "does, and prints the target's answer. The address and the signing secret are "
         "secrets: give them in files (--url-file, --secret-file) or in the environment "
         "(ZUOHAO_NOTIFY_URL, ZUOHAO_NOTIFY_SECRET); on the command line other users see "
         "them (ps) and the shell keeps them, and a warning says so. Only in builds with Qt "
         "Network.",
         {{"--kind", "KIND", "wecom (企业微信), dingtalk (钉钉), feishu (飞书) or webhook"},
          {"--url", "URL",
           "the robot's or webhook's address: https://, or http:// to this computer or the "
           "local network"},
          {"--url-file", "FILE", "the address, the first line of FILE"},
          {"--secret", "S", "the robot's signing secret (钉钉, 飞书)"},
          {"--secret-file", "FILE", "the signing secret, the first line of FILE"},
          {"--keyword", "W", "the robot's keyword, put in front of a text without it"},
          {"--method", "M", "webhook: GET, POST, PUT or PATCH (default POST)"},
          {"--content-type", "T", "webhook: the body's content type (default text/plain)"},
          {"--body-template", "T",
           "webhook: the body with {lottery} {period} {group} {run} {text} filled in (default "
           "the text alone)"},
          {"--text", "TEXT", "the message"}},
         {},
         "zuohao-cli notify --kind webhook --url-file hook.txt --text test",
         RunNotify,
         false,
         "  0  the target accepted the message (its answer is printed)\n"
         "  1  not sent (no answer: refused, timed out, a certificate not trusted) or not\n"
         "     accepted (the target's answer and why are printed); a file that cannot be read\n"
         "  2  a usage error: an unknown option, a missing or malformed value, an address\n"
         "     that cannot be sent to\n"});
    return t;
}

} // namespace

const std::vector<CommandHelp>& CommandTable() {
    static const std::vector<CommandHelp> table = buildTable();
    return table;
}

const CommandHelp* FindCommand(std::string_view name) {
    const auto& t = CommandTable();
    auto it =
        std::find_if(t.begin(), t.end(), [&](const CommandHelp& c) { return c.name == name; });
    return it == t.end() ? nullptr : &*it;
}

bool IsCommandFamily(std::string_view word) {
    for (const CommandHelp& c : CommandTable())
        if (c.name.size() > word.size() && c.name.substr(0, word.size()) == word &&
            c.name[word.size()] == ' ')
            return true;
    return false;
}

} // namespace zuohao::cli

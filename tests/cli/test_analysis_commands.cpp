// zuohao-cli backtest, killrate and risk: what they print and how they fail.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support_cli_run.h"

namespace {

using clitest::runCli;
using clitest::RunResult;
using clitest::splitTabs;
using clitest::TempDir;

std::string sequence(int n) {
    std::string s;
    unsigned x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        char num[8];
        std::snprintf(num, sizeof num, "%05u", (x >> 8) % 100000u);
        s += std::to_string(20261208000LL + i) + " " + num + "\n";
    }
    return s;
}

std::map<std::string, std::string> summary(const RunResult& r) {
    std::map<std::string, std::string> m;
    for (const std::string& l : r.lines()) {
        auto cells = splitTabs(l);
        if (cells.size() == 2) m[cells[0]] = cells[1];
    }
    return m;
}

TEST(BacktestCommand, LinesAndSummaryAgree) {
    TempDir dir;
    const std::string seq = dir.write("seq.txt", sequence(300));
    const RunResult r = runCli({"backtest", "--sequence", seq, "--last", "120", "--idx", "9",
                                "--sel", "4=0123456", "--check", "0", "--auto", "--lines"});
    ASSERT_EQ(r.code, 0) << r.err;
    int lines = 0, hits = 0;
    for (const std::string& l : r.lines()) {
        auto cells = splitTabs(l);
        if (cells[0] != "LINE") continue;
        ASSERT_EQ(cells.size(), 5u) << l;
        ++lines;
        hits += cells[4] == "中";
        EXPECT_TRUE(cells[4] == "中" || cells[4] == "挂");
    }
    auto m = summary(r);
    EXPECT_EQ(lines, 120);
    EXPECT_EQ(m["periods"], "120");
    EXPECT_EQ(m["hits"], std::to_string(hits));
    for (const char* key : {"hit_rate", "chance_rate", "mean_size", "longest_miss_run",
                            "chance_of_longest", "expected_longest", "current_miss_run"})
        EXPECT_TRUE(m.count(key)) << key;
}

TEST(BacktestCommand, ArchiveGivesWhatTheSequenceGives) {
    TempDir dir;
    const std::string seq = dir.write("seq.txt", sequence(300));
    const std::string db = (dir.path() / "draws.sqlite").string();
    ASSERT_EQ(runCli({"archive", "import", seq, "--archive", db}).code, 0);
    const std::vector<std::string> conditions = {"--last",  "150", "--idx",   "10", "--route", "3",
                                                 "--check", "0",   "--check", "10", "--auto"};
    auto args = [&](std::vector<std::string> head) {
        head.insert(head.end(), conditions.begin(), conditions.end());
        return head;
    };
    const RunResult fromArchive = runCli(args({"backtest", "--archive", db, "--lines"}));
    const RunResult fromSequence = runCli(args({"backtest", "--sequence", seq, "--lines"}));
    ASSERT_EQ(fromArchive.code, 0) << fromArchive.err;
    EXPECT_EQ(fromArchive.out, fromSequence.out);
    EXPECT_EQ(runCli({"killrate", "--archive", (dir.path() / "none.sqlite").string()}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.sqlite")); // never created
}

TEST(BacktestCommand, WholeSpaceAlwaysHits) {
    TempDir dir;
    const RunResult r =
        runCli({"backtest", "--sequence", dir.write("s.txt", sequence(50)), "--idx", "10"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto m = summary(r);
    EXPECT_EQ(m["periods"], "49");
    EXPECT_EQ(m["hit_rate"], "1.0000");
    EXPECT_EQ(m["chance_rate"], "1.0000");
    EXPECT_EQ(m["longest_miss_run"], "0");
}

TEST(KillRateCommand, OneLinePerCondition) {
    TempDir dir;
    const RunResult r = runCli({"killrate", "--sequence", dir.write("s.txt", sequence(200)),
                                "--idx", "4", "--kua", "0", "--route", "3", "--last", "150"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "condition\tdetail\tkilled\tdraws\tkill_rate\tchance_rate");
    EXPECT_EQ(splitTabs(lines[1])[0], "杀跨度");
    EXPECT_EQ(splitTabs(lines[1])[5], "0.0100");
    EXPECT_EQ(splitTabs(lines[2])[0], "杀对子");
    EXPECT_EQ(splitTabs(lines[2])[5], "0.2800");
    EXPECT_EQ(splitTabs(lines[3])[0], "全部条件");
    EXPECT_EQ(splitTabs(lines[3])[3], "150");
}

TEST(RiskCommand, TwentyRowsWithCostsAndClosedFormFirstRow) {
    const RunResult r = runCli({"risk", "--size", "500", "--space", "1000", "--periods", "10"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "hit_probability\t0.500000");
    EXPECT_EQ(lines[2], "expected_cost_to_hit\t1000.0");
    EXPECT_EQ(lines[3], "k\tchance_within_10\tcost");
    EXPECT_EQ(lines[4], "1\t0.999023\t500");    // 1 - 0.5^10
    EXPECT_EQ(lines[13], "10\t0.000977\t5000"); // 0.5^10
    EXPECT_EQ(lines[14], "11\t0.000000\t5500");
}

TEST(AnalysisCommands, UsageErrors) {
    EXPECT_EQ(runCli({"risk", "--size", "5", "--space", "999", "--periods", "10"}).code, 2);
    EXPECT_EQ(runCli({"risk", "--size", "5"}).code, 2);
    EXPECT_EQ(runCli({"backtest", "--idx", "3"}).code, 2);
    TempDir dir;
    const RunResult bad =
        runCli({"backtest", "--sequence", dir.write("s.txt", sequence(20)), "--kill", "1000"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err,
              "--kill: not a number of 3 digits: 1000\nsee `zuohao-cli backtest --help`\n");
}

} // namespace

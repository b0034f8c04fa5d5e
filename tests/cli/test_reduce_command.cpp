// zuohao-cli reduce: counts of known condition sets, kill lists, exit codes and typed input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support_cli_run.h"

namespace {

using clitest::runCli;
using clitest::RunResult;
using clitest::words;

RunResult reduce(std::vector<std::string> args) {
    args.insert(args.begin(), "reduce");
    return runCli(args);
}

// A successful run prints the base set and the complement, one line each.
void expectTwoLists(const RunResult& r) {
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.lines().size(), 2u) << r.out.substr(0, 200);
}

struct ReduceCase {
    const char* name;
    std::vector<std::string> args;
    std::size_t base;
    std::vector<std::string> first;
    std::size_t space;
};

class ReduceCounts : public ::testing::TestWithParam<ReduceCase> {};

TEST_P(ReduceCounts, BaseSetCountAndStart) {
    const auto& c = GetParam();
    const RunResult r = reduce(c.args);
    expectTwoLists(r);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    const auto base = words(lines[0]), comp = words(lines[1]);
    EXPECT_EQ(base.size(), c.base);
    EXPECT_EQ(base.size() + comp.size(), c.space);
    ASSERT_GE(base.size(), c.first.size());
    for (std::size_t i = 0; i < c.first.size(); ++i)
        EXPECT_EQ(base[i], c.first[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ReduceCounts,
    ::testing::Values(
        ReduceCase{"Nothing", {}, 1000, {"000", "001", "002"}, 1000},
        ReduceCase{"Pairs4", {"--idx", "10", "--route", "3"}, 5040, {"0123"}, 10000},
        ReduceCase{"Routes4",
                   {"--idx", "11", "--route", "0", "--route", "1", "--route", "2"},
                   9582,
                   {"0001"},
                   10000},
        ReduceCase{"Pairs3", {"--route", "3"}, 720, {"012", "013"}, 1000},
        ReduceCase{"Banker5", {"--dan", "0=5"}, 271, {"005", "015"}, 1000},
        ReduceCase{"Banker5Twice", {"--dan", "0=5", "--dcc", "0=2"}, 0, {}, 1000},
        ReduceCase{"Banker12Twice",
                   {"--dan", "0=12", "--dcc", "0=2"},
                   54,
                   {"012", "021", "102", "112", "120", "121"},
                   1000},
        ReduceCase{"KillSpan0", {"--kua", "0"}, 990, {"001"}, 1000},
        ReduceCase{"NoZero", {"--sel", "0=0", "--cnt", "0=0"}, 729, {"111"}, 1000},
        ReduceCase{"SumTail5", {"--sel", "4=5"}, 100, {"005", "014", "023", "032", "041"}, 1000},
        ReduceCase{"NoDiff01", {"--sel", "3=01", "--cnt", "3=0"}, 336, {"024", "025", "026"}, 1000},
        ReduceCase{"SelWithEmptyCount", {"--sel", "2=5", "--cnt", "2="}, 1000, {"000"}, 1000},
        ReduceCase{
            "FanRoute0", {"--fan", "--route", "0"}, 64, {"000", "003", "006", "009", "030"}, 1000},
        ReduceCase{"RangeSelection", {"--sel", "0=1-5", "--cnt", "0=0"}, 125, {"000", "006"}, 1000},
        ReduceCase{"LastIdxWins", {"--idx", "3", "--idx", "10"}, 10000, {"0000"}, 10000},
        ReduceCase{"LastSelWins", {"--sel", "4=1", "--sel", "4=5"}, 100, {"005", "014"}, 1000},
        ReduceCase{"LastKuaWins", {"--kua", "9", "--kua", "0"}, 990, {"001"}, 1000},
        ReduceCase{
            "LastCountWins", {"--sel", "0=0", "--cnt", "0=1", "--cnt", "0=0"}, 729, {"111"}, 1000}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(ReduceCommand, WholeSpaceInOrder) {
    const RunResult r = reduce({});
    expectTwoLists(r);
    std::string want;
    for (int i = 0; i < 1000; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%03d", i);
        want += (i ? " " : "") + std::string(buf);
    }
    EXPECT_EQ(r.out, want + "\n\n");
}

TEST(ReduceCommand, KillListWithTrailingSpace) {
    const RunResult r = reduce({"--kill", "123 456 "});
    expectTwoLists(r);
    EXPECT_EQ(words(r.lines()[0]).size(), 998u);
    EXPECT_EQ(r.lines()[1], "123 456");
}

TEST(ReduceCommand, KillListFollowsTheSpaceOfTheLastIdx) {
    const RunResult r = reduce({"--idx", "11", "--kill", "0123 9999"});
    expectTwoLists(r);
    EXPECT_EQ(r.lines()[1], "0123 9999");
}

class UsageErrors : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UsageErrors, ExitCode2AndNothingOnStdout) {
    const RunResult r = runCli(GetParam());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrors,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"shrink"},
                                           std::vector<std::string>{"reduce", "--bogus"},
                                           std::vector<std::string>{"reduce", "--idx"},
                                           std::vector<std::string>{"reduce", "--idx", "12"},
                                           std::vector<std::string>{"reduce", "--idx", "-1"},
                                           std::vector<std::string>{"reduce", "--idx", "abc"},
                                           std::vector<std::string>{"reduce", "--idx", "3x"},
                                           std::vector<std::string>{"reduce", "--sel", "5=1"},
                                           std::vector<std::string>{"reduce", "--sel", "1"},
                                           std::vector<std::string>{"reduce", "--sel", "=1"},
                                           std::vector<std::string>{"reduce", "--cnt", "x=1"},
                                           std::vector<std::string>{"reduce", "--dan", "2=1"},
                                           std::vector<std::string>{"reduce", "--dcc", "-1=1"},
                                           std::vector<std::string>{"reduce", "--route", "4"},
                                           std::vector<std::string>{"reduce", "--route", ""},
                                           std::vector<std::string>{"reduce", "--fan", "yes"},
                                           std::vector<std::string>{"reduce", "--kill"}));

TEST(ReduceCommand, TypedSelectionsNeverCrash) {
    const std::vector<std::string> junk = {"[",  "]",     "^",  "\\", "a-z", "5-1", "-",   "1-",
                                           "-9", "[0-9]", "^1", "x",  "０",  "1;2", "\x1e"};
    for (const auto& j : junk)
        for (const char* group : {"0=", "3=", "4="}) {
            const RunResult r = reduce({"--sel", group + j});
            expectTwoLists(r);
            const auto lines = r.lines();
            if (lines.size() == 2) {
                EXPECT_EQ(words(lines[0]).size() + words(lines[1]).size(), 1000u) << j;
            }
        }
}

TEST(ReduceCommand, HelpGoesToStdout) {
    const RunResult r = runCli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("reduce"), std::string::npos);
}

} // namespace

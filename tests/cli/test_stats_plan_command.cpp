// zuohao-cli stats and plan over sequence files made here and over the sample draw file.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support_cli_run.h"

namespace {

using clitest::runCli;
using clitest::RunResult;
using clitest::splitTabs;
using clitest::TempDir;

// Draws 1..18; 百十个 reads 000 112 456 100 999 345 890 579 680 111 765 555 207 415 653 034
// 384 643.
const char* const kChain[] = {"00000", "90112", "78456", "34100", "11999", "12345",
                              "67890", "13579", "24680", "11111", "98765", "55555",
                              "20207", "31415", "92653", "58034", "32384", "62643"};

std::string chainFile() {
    std::string s;
    int n = 0;
    for (const char* h : kChain)
        s += std::to_string(++n) + " " + h + "\n";
    return s;
}

std::string join(const std::vector<std::string>& cells) {
    std::string s;
    for (std::size_t i = 0; i < cells.size(); ++i)
        s += (i ? "\t" : "") + cells[i];
    return s;
}

std::vector<std::string> repeat(const std::string& cell, int n) {
    return std::vector<std::string>(std::size_t(n), cell);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(StatsCommand, RowsOfTheSequenceWithTheirLayout) {
    TempDir dir;
    const RunResult r =
        runCli({"stats", "--sequence", dir.write("seq.txt", chainFile()), "--group", "9"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 18u);
    for (const auto& l : lines)
        EXPECT_EQ(splitTabs(l).size(), 68u) << l;

    // The first draw: marks alone over the hot digits, nothing else.
    EXPECT_EQ(lines[0],
              join(std::vector<std::string>{"1", "00000"} + repeat("*", 10) + repeat("", 56)));
    // Draw 2: the four-entry cells count 1, the miss cells are still empty.
    const auto four1 = repeat("1", 4);
    const auto none10 = repeat("", 10);
    EXPECT_EQ(lines[1], join(std::vector<std::string>{"2", "90112"} + repeat("*", 10) + four1 +
                             none10 + four1 + none10 + four1 + none10 + four1 + none10));
    // Draw 12 (555), worked out by hand: hot order 5901647832; SMA against 765 111 680 579;
    // R3A, RHA never shared; RCA shares 0 with 111; miss cells start at 1.
    const std::vector<std::string> row12 =
        std::vector<std::string>{"12", "55555", "*5", "9", "0", "1", "6", "4", "7", "8", "3", "2"} +
        std::vector<std::string>{"*0", "11", "11", "*3"} +
        std::vector<std::string>{"1", "1", "1", "1", "1", "*5", "1", "1", "1", "1"} +
        repeat("11", 4) + std::vector<std::string>{"*0"} + repeat("1", 9) + repeat("11", 4) +
        std::vector<std::string>{"*0"} + repeat("1", 9) +
        std::vector<std::string>{"11", "*1", "11", "11"} +
        std::vector<std::string>{"1", "1", "1", "1", "1", "*5", "1", "1", "1", "1"};
    EXPECT_EQ(lines[11], join(row12));
    // Draw 13 (207): SMA 1 *1 12 *3; WYL marks 9.
    const auto c13 = splitTabs(lines[12]);
    EXPECT_EQ((std::vector<std::string>(c13.begin() + 12, c13.begin() + 16)),
              (std::vector<std::string>{"1", "*1", "12", "*3"}));
    EXPECT_EQ((std::vector<std::string>(c13.begin() + 58, c13.end())),
              (std::vector<std::string>{"2", "2", "2", "2", "2", "1", "2", "2", "2", "*9"}));
}

TEST(StatsCommand, InvalidNumberIsWarnedAndLeftOut) {
    TempDir dir;
    const RunResult r =
        runCli({"stats", "--sequence", dir.write("seq.txt", "1 12345\r\n\n2 12a45\n3 67890\n"),
                "--group", "0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err, "");
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 8), "1\t12345\t");
    EXPECT_EQ(lines[1].substr(0, 8), "3\t67890\t");
}

TEST(StatsCommand, SampleDrawFileGivesTheFirst99LinesOldestFirst) {
    const RunResult r = runCli(
        {"stats", "--draws", std::string(ZUOHAO_TEST_DATA) + "/sample-draws.txt", "--group", "11"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 99u);
    const std::string text = clitest::slurp(std::string(ZUOHAO_TEST_DATA) + "/sample-draws.txt");
    // Line k of the file is row 98 - k; every row has 68 cells.
    std::vector<std::string> fileLines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        fileLines.push_back(l);
    ASSERT_GE(fileLines.size(), 99u);
    const std::regex runs(R"((\d+)\D+(\d{5})\s*$)");
    for (int k = 0; k < 99; ++k) {
        std::smatch m;
        ASSERT_TRUE(std::regex_search(fileLines[std::size_t(k)], m, runs)) << k;
        const auto cells = splitTabs(lines[std::size_t(98 - k)]);
        ASSERT_EQ(cells.size(), 68u);
        EXPECT_EQ(cells[0], m[1].str());
        EXPECT_EQ(cells[1], m[2].str());
    }
}

class StatsUsage : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(StatsUsage, ExitCode2AndNothingOnStdout) {
    TempDir dir;
    std::vector<std::string> args = GetParam();
    for (auto& a : args)
        if (a == "SEQ")
            a = dir.write("seq.txt", "1 12345\n");
        else if (a == "BAD")
            a = dir.write("bad.txt", "1 12345\n2\n");
    const RunResult r = runCli(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, StatsUsage,
    ::testing::Values(std::vector<std::string>{"stats", "--sequence", "SEQ"},
                      std::vector<std::string>{"stats", "--sequence", "SEQ", "--group", "12"},
                      std::vector<std::string>{"stats", "--group", "0"},
                      std::vector<std::string>{"stats", "--sequence", "SEQ", "--draws", "SEQ",
                                               "--group", "0"},
                      std::vector<std::string>{"stats", "--sequence", "BAD", "--group", "0"},
                      std::vector<std::string>{"plan", "--sequence", "SEQ"},
                      std::vector<std::string>{"plan", "--sequence", "SEQ", "--start-after", "1",
                                               "--check", "66"},
                      std::vector<std::string>{"plan", "--sequence", "SEQ", "--start-after", "x"}));

// The eleven-period plan: draw box 10 of group 0 with CNT(0) "0" on 百十个.
std::string planFile() {
    const char* draws[][2] = {{"1001", "00000"}, {"1002", "12123"}, {"1003", "00456"},
                              {"1004", "00457"}, {"1005", "00889"}, {"1006", "00000"},
                              {"1007", "00100"}, {"1008", "00234"}, {"1009", "00567"},
                              {"1010", "00777"}, {"1011", "00890"}, {"1012", "00123"},
                              {"1013", "00321"}};
    std::string s;
    for (auto& d : draws)
        s += std::string(d[0]) + " " + d[1] + "\n";
    return s;
}

TEST(PlanCommand, LinesAndFinalSelection) {
    TempDir dir;
    const RunResult r =
        runCli({"plan", "--sequence", dir.write("plan.txt", planFile()), "--start-after", "2",
                "--idx", "9", "--check", "10", "--cnt", "0=0"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "1002\t1003期  343注  【百十个】  中\n"
                     "1003\t1004期  343注  【百十个】  挂\n"
                     "1004\t1005期  343注  【百十个】  中\n"
                     "1005\t1006期  512注  【百十个】  中\n"
                     "1006\t1007期  729注  【百十个】  挂\n"
                     "1007\t1008期  512注  【百十个】  中\n"
                     "1008\t1009期  343注  【百十个】  中\n"
                     "1009\t1010期  343注  【百十个】  挂\n"
                     "1010\t1011期  729注  【百十个】  中\n"
                     "1011\t1012期  343注  【百十个】  中\n"
                     "1012\t1013期  343注  【百十个】  挂\n"
                     "1013\t1014期  343注  【百十个】  进行中...\n"
                     "SEL\t123\t\t\t\t\n");
}

TEST(PlanCommand, ManualModeKeepsTheTypedSelection) {
    TempDir dir;
    const RunResult r =
        runCli({"plan", "--sequence", dir.write("plan.txt", planFile()), "--start-after", "10",
                "--idx", "9", "--sel", "0=0", "--cnt", "0=0", "--manual"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1010\t1011期  729注  【百十个】  挂\n"
                     "1011\t1012期  729注  【百十个】  中\n"
                     "1012\t1013期  729注  【百十个】  中\n"
                     "1013\t1014期  729注  【百十个】  进行中...\n"
                     "SEL\t0\t\t\t\t\n");
}

TEST(PlanCommand, AutomaticModeWithoutTicksEmptiesTheSelection) {
    TempDir dir;
    const RunResult r = runCli({"plan", "--sequence", dir.write("plan.txt", planFile()),
                                "--start-after", "12", "--sel", "0=0", "--cnt", "0=0"});
    ASSERT_EQ(r.code, 0) << r.err;
    // The first line uses the typed selection; the draw then rebuilds it from no box.
    EXPECT_EQ(r.out, "1012\t1013期  729注  【万千百】  挂\n"
                     "1013\t1014期  1000注  【万千百】  进行中...\n"
                     "SEL\t\t\t\t\t\n");
}

TEST(PlanCommand, NoDrawsBeforeTheStartMeansNoPlan) {
    TempDir dir;
    const RunResult r =
        runCli({"plan", "--sequence", dir.write("plan.txt", planFile()), "--start-after", "0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.out, "SEL\t\t\t\t\t\n");
}

TEST(PlanCommand, KillListOutsideTheSpaceAtTheStart) {
    TempDir dir;
    const RunResult r = runCli({"plan", "--sequence", dir.write("plan.txt", planFile()),
                                "--start-after", "3", "--kill", "1000"});
    EXPECT_EQ(r.code, 2); // read strictly before any work
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
}

// Over the sample file with a fixed base set (百十个 without the digit 0) every line is a hit
// exactly when the next draw's last three digits hold no 0.
TEST(PlanCommand, SampleDrawFile) {
    const std::string path = std::string(ZUOHAO_TEST_DATA) + "/sample-draws.txt";
    const RunResult r = runCli({"plan", "--draws", path, "--start-after", "90", "--idx", "9",
                                "--sel", "0=0", "--cnt", "0=0", "--manual"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::pair<std::string, std::string>> draws; // oldest first
    {
        std::istringstream in(clitest::slurp(path));
        std::vector<std::string> fileLines;
        for (std::string l; std::getline(in, l) && fileLines.size() < 99;)
            fileLines.push_back(l);
        const std::regex runs(R"((\d+)\D+(\d{5})\s*$)");
        for (auto it = fileLines.rbegin(); it != fileLines.rend(); ++it) {
            std::smatch m;
            ASSERT_TRUE(std::regex_search(*it, m, runs));
            draws.emplace_back(m[1].str(), m[2].str());
        }
    }
    ASSERT_EQ(draws.size(), 99u);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 11u); // draws 90..99 carry lines, then the SEL line
    for (std::size_t k = 0; k < 9; ++k) {
        const auto& [qishu, haoma] = draws[89 + k];
        const std::string next = draws[90 + k].second.substr(2);
        const bool hit = next.find('0') == std::string::npos;
        EXPECT_EQ(lines[k], qishu + "\t" + std::to_string(std::stoll(qishu) + 1) +
                                "期  729注  【百十个】  " + (hit ? "中" : "挂"))
            << haoma;
    }
    EXPECT_EQ(lines[9], draws[98].first + "\t" + std::to_string(std::stoll(draws[98].first) + 1) +
                            "期  729注  【百十个】  进行中...");
    EXPECT_EQ(lines[10], "SEL\t0\t\t\t\t");
}

} // namespace

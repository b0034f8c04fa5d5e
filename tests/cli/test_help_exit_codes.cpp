// zuohao-cli's help for every command, its exit codes, where its usage errors point and
// that its messages are English; the bash completion it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "support_cli_run.h"

using namespace clitest;

namespace {

std::vector<std::string> withArg(std::vector<std::string> v, const std::string& a) {
    v.push_back(a);
    return v;
}

TEST(CliHelp, EveryCommandAnswersHelpWithItsUsageMeaningsAndAnExample) {
    const struct {
        std::vector<std::string> command;
        std::vector<std::string> mentions; // meanings its help must give
    } commands[] = {
        {{"reduce"}, {" 0 万千百", "11 后四星", "3 杀对子", "--fan"}},
        {{"stats"}, {" 9 百十个", "59-68  和尾走势", "--json"}},
        {{"plan"}, {"65 9", " 0 热码1", "13 draw4", "10 前四星", "--start-after"}},
        {{"monitor"}, {"--live-after", "--base LIST"}},
        {{"feed"}, {"--interval S"}},
        {{"archive", "import"}, {"--prefer-import"}},
        {{"archive", "export"}, {"--csv"}},
        {{"archive", "gaps"}, {"--from P"}},
        {{"archive", "info"}, {"--lottery NAME"}},
        {{"backtest"}, {"--auto", "55 draw4"}},
        {{"killrate"}, {"2 全2路"}},
        {{"risk"}, {"--space S"}},
        {{"notify"},
         {"--kind KIND", "dingtalk (钉钉)", "{period}", "--secret-file FILE",
          "ZUOHAO_NOTIFY_SECRET", "0  the target accepted"}},
    };
    const RunResult overall = runCli({"--help"});
    ASSERT_EQ(overall.code, 0);
    EXPECT_EQ(overall.lines()[0], "usage: zuohao-cli "
                                  "reduce|stats|plan|monitor|feed|archive|backtest|killrate|risk|"
                                  "notify "
                                  "[options]");
    for (const auto& c : commands) {
        std::string name;
        for (const std::string& w : c.command)
            name += (name.empty() ? "" : " ") + w;
        EXPECT_NE(overall.out.find("\n  " + name + " "), std::string::npos) << name;
        const RunResult r = runCli(withArg(c.command, "--help"));
        EXPECT_EQ(r.code, 0) << name;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("usage: zuohao-cli " + name + " ", 0), 0u) << name;
        EXPECT_NE(r.out.find("example:\n  zuohao-cli " + name), std::string::npos) << name;
        EXPECT_NE(r.out.find("  2  a usage error"), std::string::npos) << name;
        for (const std::string& m : c.mentions)
            EXPECT_NE(r.out.find(m), std::string::npos) << name << ": " << m;
    }
    EXPECT_TRUE(
        std::regex_match(runCli({"--version"}).out, std::regex("zuohao-cli \\d+\\.\\d+\n")));
}

TEST(CliExitCodes, UsageErrorsNameTheArgumentAndPointToTheHelp) {
    TempDir dir;
    const std::string seq = dir.write("seq.txt", "1 12345\n2 23456\n");
    const struct {
        std::vector<std::string> args;
        std::string named, help;
    } cases[] = {
        {{"stats", "--sequence", seq, "--bogus"}, "--bogus", "stats"},
        {{"stats", "--sequence", seq, "--group", "12"}, "12", "stats"},
        {{"archive", "export", "--from", "abc"}, "abc", "archive export"},
        {{"archive", "gaps", "--to", "2026-12"}, "2026-12", "archive gaps"},
        {{"archive"}, "archive", "archive"},
        {{"archive", "frob"}, "frob", "archive"},
        {{"frob"}, "frob", ""},
        {{"risk", "--size", "5"}, "--space", "risk"},
        {{"monitor", "--sequence", seq, "--idx", "9"}, "--base", "monitor"},
        {{"plan", "--sequence", seq, "--start-after", "1", "extra"}, "extra", "plan"},
    };
    for (const auto& c : cases) {
        const RunResult r = runCli(c.args);
        EXPECT_EQ(r.code, 2) << c.named;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
        const std::string see =
            "see `zuohao-cli " + c.help + (c.help.empty() ? "" : " ") + "--help`\n";
        EXPECT_TRUE(r.err.size() > see.size() && r.err.substr(r.err.size() - see.size()) == see)
            << r.err;
    }
}

TEST(CliExitCodes, FailedWorkExits1WithAnEnglishMessage) {
    TempDir dir;
    const std::string empty = dir.write("empty.txt", "");
    const std::string bad = dir.write("bad.txt", "1 1234\n2 abcde\n");
    const std::string missing = (dir.path() / "none.txt").string();
    const std::vector<std::vector<std::string>> cases{
        {"stats", "--draws", missing, "--group", "0"},
        {"stats", "--sequence", missing, "--group", "0"},
        {"stats", "--sequence", empty, "--group", "0"},
        {"stats", "--draws", empty, "--group", "0"},
        {"stats", "--sequence", bad, "--group", "0"},
        {"plan", "--sequence", empty, "--start-after", "0"},
        {"monitor", "--sequence", empty, "--idx", "0", "--base", "123"},
        {"backtest", "--sequence", empty},
        {"killrate", "--sequence", empty},
        {"archive", "info", "--archive", (dir.path() / "no" / "a.sqlite").string()},
        {"feed", "--out", (dir.path() / "no" / "f.txt").string()},
    };
    for (const auto& args : cases) {
        const RunResult r = runCli(args);
        EXPECT_EQ(r.code, 1) << args[0] << " " << r.err;
        EXPECT_EQ(r.out, "");
        const std::size_t last = r.err.rfind('\n', r.err.size() - 2);
        EXPECT_EQ(r.err.compare(last == std::string::npos ? 0 : last + 1, 7, "error: "), 0)
            << r.err;
        EXPECT_TRUE(std::all_of(r.err.begin(), r.err.end(), [](char ch) {
            return static_cast<unsigned char>(ch) < 0x80;
        })) << r.err;
    }
}

TEST(CliCompletion, CompletesCommandsOptionsAndNamedGroups) {
#ifdef _WIN32
    GTEST_SKIP() << "bash completion is for bash";
#else
    TempDir dir;
    const RunResult script = runCli({"--bash-completion"});
    ASSERT_EQ(script.code, 0);
    const std::string file = dir.write("complete.bash", script.out);
    auto complete = [&](const std::string& words) {
        const std::string program = "source " + file + "; COMP_WORDS=(" + words +
                                    "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _zuohao_cli; "
                                    "printf '%s\\n' \"${COMPREPLY[@]}\"";
        zuohao::testsupport::ChildProcess child;
        const auto out = dir.path() / "out", err = dir.path() / "err";
        EXPECT_TRUE(child.start("/bin/bash", {"-c", program}, out, err));
        EXPECT_EQ(child.wait(), 0) << slurp(err);
        return slurp(out);
    };
    EXPECT_EQ(complete("zuohao-cli st"), "stats\n");
    EXPECT_EQ(complete("zuohao-cli archive ex"), "export\n");
    EXPECT_EQ(complete("zuohao-cli archive export --f"), "--from\n");
    EXPECT_EQ(complete("zuohao-cli stats --group 1"), "1:万千十\n10:前四星\n11:后四星\n");
    EXPECT_EQ(complete("zuohao-cli reduce --idx 10"), "10\n");
    EXPECT_EQ(complete("zuohao-cli plan --start-after 3 --ch"), "--check\n");
#endif
}

} // namespace

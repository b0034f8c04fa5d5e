// What the command line cannot read it refuses: number lists read strictly against the
// group's length (the separators of the windows accepted), --opt=value beside --opt value,
// and failures that name their cause.
#include <gtest/gtest.h>

#include "support_cli_run.h"

using namespace clitest;

namespace {
struct Case {
    std::vector<std::string> args;
    int code;
    std::string said; // on stderr (usage errors and failures) or stdout (success)
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const RunResult r = runCli(c.args);
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        EXPECT_EQ(r.code, c.code) << shown << "\n" << r.err;
        const std::string& where = c.code == 0 ? r.out : r.err;
        EXPECT_NE(where.find(c.said), std::string::npos) << shown << "\n" << where;
        if (c.code != 0) {
            EXPECT_EQ(r.out, "") << shown;
        }
    }
}
} // namespace

TEST(StrictArgs, NumberListsAreReadStrictly) {
    TempDir dir;
    const std::string draws = ZUOHAO_TEST_DATA "/sample-draws.txt";
    expectCases({
        {{"reduce", "--idx", "9", "--kill", "abc"}, 2, "--kill: not a number of 3 digits: abc"},
        {{"reduce", "--idx", "9", "--kill", "7a"}, 2, "not a number of 3 digits: 7a"},
        {{"reduce", "--idx", "9", "--kill", "1,2,3"}, 2, "not a number of 3 digits: 1\n"},
        {{"reduce", "--idx", "9", "--kill", "-5"}, 2, "not a number of 3 digits: -5"},
        {{"reduce", "--idx", "9", "--kill", "1000"}, 2, "not a number of 3 digits: 1000"},
        {{"reduce", "--idx", "10", "--kill", "123"}, 2, "not a number of 4 digits: 123"},
        {{"reduce", "--idx", "9", "--kill", "001,002、003，004\n005"},
         0,
         "\n001 002 003 004 005\n"},
        {{"reduce", "--idx", "11", "--kill", "0123 9999"}, 0, "\n0123 9999\n"},
        {{"monitor", "--draws", draws, "--idx", "9", "--base", "abc"},
         2,
         "--base: not a number of 3 digits: abc"},
        {{"monitor", "--draws", draws, "--idx", "9", "--base", "0123"},
         2,
         "not a number of 3 digits: 0123"},
        {{"monitor", "--draws", draws, "--idx", "9", "--base", "、 ，"}, 2, "missing --base"},
    });
}

TEST(StrictArgs, OptionsTakeTheirValueAfterAnEqualsSign) {
    const std::string draws = ZUOHAO_TEST_DATA "/sample-draws.txt";
    const RunResult spaced = runCli({"stats", "--group", "9", "--draws", draws});
    ASSERT_EQ(spaced.code, 0) << spaced.err;
    expectCases({
        {{"stats", "--group=9", "--draws=" + draws}, 0, spaced.out},
        {{"reduce", "--idx=9", "--kill=001"}, 0, "\n001\n"},
        {{"reduce", "--fan=1"}, 2, "--fan takes no value: --fan=1"},
        {{"reduce", "--bogus=1"}, 2, "unknown option: --bogus"},
        {{"reduce", "--idx="}, 2, "--idx"},
    });
}

TEST(StrictArgs, FailuresNameTheFileAndTheCause) {
    TempDir dir;
    const std::string empty = dir.write("empty.txt", "");
    const std::string missing = (dir.path() / "none.txt").string();
    const std::string noFolder = (dir.path() / "no" / "x.txt").string();
    expectCases({
        {{"stats", "--group", "0", "--draws", empty},
         1,
         "cannot read the draw file " + empty + ": the file is empty"},
        {{"stats", "--group", "0", "--draws", missing}, 1, missing},
        {{"feed", "--out", noFolder},
         1,
         "error: cannot write " + noFolder + ": its folder does not exist\n"},
        {{"feed", "--out", dir.path().string()}, 1, ": it is a folder\n"},
    });
}

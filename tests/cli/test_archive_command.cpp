// zuohao-cli archive: import/export round trip, bad input, conflicts, the archive as a source.
#include <gtest/gtest.h>

#include "support_cli_run.h"

using clitest::runCli;
using clitest::TempDir;

namespace {
const std::string kSample = std::string(ZUOHAO_TEST_DATA) + "/sample-draws.txt";
} // namespace

TEST(ArchiveCommand, ExportOfAnImportGivesTheSameDraws) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    ASSERT_EQ(runCli({"archive", "import", kSample, "--archive", a}).code, 0);
    const auto first = runCli({"archive", "export", "--archive", a});
    ASSERT_EQ(first.code, 0);
    ASSERT_EQ(first.lines().size(), 120u);
    EXPECT_EQ(first.lines().front(), "202612080812 47268"); // oldest first

    // The plain export and the CSV export each import back to the same draws.
    const std::string plain = dir.write("plain.txt", first.out);
    const std::string csv = (dir.path() / "x.csv").string();
    ASSERT_EQ(runCli({"archive", "export", "--archive", a, "--csv", "--out", csv}).code, 0);
    for (const std::string& back : {plain, csv}) {
        const std::string b =
            (dir.path() / ("b" + std::to_string(back.size()) + ".sqlite")).string();
        const auto imp = runCli({"archive", "import", back, "--archive", b});
        ASSERT_EQ(imp.code, 0) << imp.err;
        EXPECT_TRUE(imp.err.empty()) << imp.err;
        EXPECT_EQ(runCli({"archive", "export", "--archive", b}).out, first.out) << back;
    }
    // A range by period.
    const auto part = runCli(
        {"archive", "export", "--archive", a, "--from", "202612080900", "--to", "202612080902"});
    EXPECT_EQ(part.lines(),
              (std::vector<std::string>{"202612080900 " + first.lines()[88].substr(13),
                                        "202612080901 " + first.lines()[89].substr(13),
                                        "202612080902 " + first.lines()[90].substr(13)}));
}

TEST(ArchiveCommand, BadLinesConflictsAndExitCodes) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    const std::string mixed = dir.write("mixed.txt", "第202612080001期 开奖号码 11111\n"
                                                     "a line without a draw in it\n"
                                                     "\n"
                                                     "第202612080002期 开奖号码 222\n"
                                                     "第202612080003期 开奖号码 33333\n");
    auto r = runCli({"archive", "import", mixed, "--archive", a});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("2 line(s) skipped"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 2 4)"), std::string::npos) << r.err;

    const std::string none = dir.write("none.txt", "nothing\nhere either at all\n");
    r = runCli({"archive", "import", none, "--archive", a});
    EXPECT_EQ(r.code, 1);

    // Same period, same number: silent. Another number: a conflict, the archive's stands.
    const std::string again = dir.write("again.csv", "202612080001,11111\n202612080003,99999\n");
    r = runCli({"archive", "import", again, "--archive", a});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("conflict: 202612080003: archive has 33333"), std::string::npos);
    EXPECT_EQ(r.err.find("202612080001"), std::string::npos) << r.err;
    EXPECT_NE(runCli({"archive", "export", "--archive", a}).out.find("202612080003 33333"),
              std::string::npos);

    r = runCli({"archive", "import", again, "--archive", a, "--prefer-import"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(runCli({"archive", "export", "--archive", a}).out.find("202612080003 99999"),
              std::string::npos);
    const auto info = runCli({"archive", "info", "--archive", a});
    EXPECT_NE(info.out.find("corrections\t1\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("draws\t2\n"), std::string::npos) << info.out;

    // The gap between 0001 and 0003.
    const auto gaps = runCli({"archive", "gaps", "--archive", a});
    EXPECT_EQ(gaps.out, "202612080001\t202612080003\t1\n");

    // A folder that is not there: a clear error, no crash.
    r = runCli({"archive", "info", "--archive", (dir.path() / "no/such/a.sqlite").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("folder does not exist"), std::string::npos) << r.err;
}

TEST(ArchiveCommand, TheArchiveIsASourceForStatsPlanAndMonitor) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    ASSERT_EQ(runCli({"archive", "import", kSample, "--archive", a}).code, 0);
    const std::string seq = dir.write("seq.txt", runCli({"archive", "export", "--archive", a}).out);
    const auto fromSeq = runCli({"stats", "--sequence", seq, "--group", "3"});
    const auto fromArchive = runCli({"stats", "--archive", a, "--group", "3"});
    ASSERT_EQ(fromSeq.code, 0);
    EXPECT_EQ(fromArchive.out, fromSeq.out);
    const auto last = runCli({"stats", "--archive", a, "--last", "5", "--group", "3"});
    ASSERT_EQ(last.lines().size(), 5u);
    EXPECT_EQ(last.lines().back().substr(0, 12), "202612080931");
    EXPECT_EQ(runCli({"plan", "--archive", a, "--last", "20", "--start-after", "10"}).code, 0);
    EXPECT_EQ(runCli({"stats", "--archive", a, "--sequence", seq, "--group", "3"}).code, 2);
    EXPECT_EQ(runCli({"stats", "--sequence", seq, "--last", "3", "--group", "3"}).code, 2);
}

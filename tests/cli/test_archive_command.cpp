// zuohao-cli archive: import/export round trip, bad input, conflicts, the archive as a source;
// read-only commands, failed writes and inputs that are no draw text.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

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
    const std::string header =
        "\xEF\xBB\xBF期号,开奖号码,首次见到(UTC),来源,断期,更正,更正时间(UTC)\r\n";
    EXPECT_EQ(clitest::slurp(csv).substr(0, header.size()), header);
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
    r = runCli(
        {"archive", "import", mixed, "--archive", (dir.path() / "no/such/a.sqlite").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("folder does not exist"), std::string::npos) << r.err;

    // The archive itself as the file to import: refused before it is read by other means.
    r = runCli({"archive", "import", a, "--archive", a});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("it is the archive itself"), std::string::npos) << r.err;
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
    const auto missing =
        runCli({"stats", "--archive", (dir.path() / "none.sqlite").string(), "--group", "3"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no archive at"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.sqlite"));
}

TEST(ArchiveCommand, ReadingCommandsNeitherCreateNorMoveAFile) {
    TempDir dir;
    const std::string bytes = "not a database, whatever it holds\n";
    const std::string notDb = dir.write("notdb", bytes);
    const std::vector<std::vector<std::string>> readers{{"archive", "info"},
                                                        {"archive", "gaps"},
                                                        {"archive", "export", "--csv"},
                                                        {"stats", "--group", "3"},
                                                        {"plan", "--start-after", "1"},
                                                        {"monitor", "--idx", "9", "--base", "012"},
                                                        {"backtest", "--idx", "9", "--dan", "0=5"},
                                                        {"killrate", "--idx", "9", "--dan", "0=5"}};
    for (std::vector<std::string> args : readers) {
        args.insert(args.end(), {"--archive", notDb});
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 1) << args[0];
        EXPECT_NE(r.err.find(notDb + " is not a draw archive"), std::string::npos) << r.err;
        EXPECT_EQ(clitest::slurp(notDb), bytes);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
#ifndef _WIN32 // the user's folder is found by XDG_DATA_HOME
    // The user's archive is not made by a reader, nor its folder.
    const auto data = dir.path() / "data";
    ::setenv("XDG_DATA_HOME", data.string().c_str(), 1);
    EXPECT_EQ(runCli({"archive", "info"}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(data));
    ::unsetenv("XDG_DATA_HOME");
#endif
    // An import sets the damaged file aside and starts a fresh archive.
    const auto imported = runCli({"archive", "import", kSample, "--archive", notDb});
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.err.find("set aside as " + notDb + ".broken-"), std::string::npos);
}

#ifndef _WIN32
TEST(ArchiveCommand, AWriteThatFailsIsAFailedRun) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    ASSERT_EQ(runCli({"archive", "import", kSample, "--archive", a}).code, 0);
    const auto toFile = runCli({"archive", "export", "--archive", a, "--out", "/dev/full"});
    EXPECT_EQ(toFile.code, 1);
    EXPECT_NE(toFile.err.find("cannot write /dev/full"), std::string::npos) << toFile.err;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"archive", "export", "--csv", "--archive", a},
          {"archive", "info", "--archive", a},
          {"stats", "--archive", a, "--group", "3"}}) {
        zuohao::testsupport::ChildProcess child;
        ASSERT_TRUE(child.start(ZUOHAO_CLI, args, "/dev/full", dir.path() / "err"));
        EXPECT_EQ(child.wait(), 1) << args[0];
        EXPECT_NE(clitest::slurp(dir.path() / "err").find("cannot write the standard output"),
                  std::string::npos);
    }
}

TEST(ArchiveCommand, InputsThatAreNoDrawTextAreRefusedWithTheReason) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string longFirst = dir.write("long.txt", std::string(300000, '7') + "\n1 12345\n");
    const std::pair<std::string, std::string> refusals[]{
        {fifo, "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {longFirst, "first line too long to be a draw line"}};
    for (const auto& [file, why] : refusals)
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"archive", "import", file, "--archive", a},
              {"stats", "--sequence", file, "--group", "3"},
              {"stats", "--draws", file, "--group", "3"}}) {
            const auto r = runCli(args);
            EXPECT_EQ(r.code, 1) << args[0] << " " << file;
            EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        }
    // A UTF-16 sequence reads as its UTF-8 twin.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("202612080001 12345\r\n202612080002 54321\r\n"))
        utf16 += std::string{c, '\0'};
    const auto wide = runCli({"stats", "--sequence", dir.write("w.txt", utf16), "--group", "3"});
    EXPECT_EQ(wide.code, 0) << wide.err;
    EXPECT_EQ(wide.out, runCli({"stats", "--sequence",
                                dir.write("n.txt", "202612080001 12345\n202612080002 54321\n"),
                                "--group", "3"})
                            .out);
}
#endif

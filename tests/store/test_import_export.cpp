// Export and import of the archive: the CSV carries everything back, files are read and
// written in bounded pieces, and a write that fails or is stopped never leaves a cut file.
#include <algorithm>
#include <gtest/gtest.h>

#include "store/CsvExport.h"
#include "store/ImportText.h"
#include "store/OutputFile.h"
#include "support_archive.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

using namespace zuohao::store;
using storetest::openOrDie;
using storetest::TempDir;
using zuohao::fail;
using zuohao::Result;

namespace {
const std::string kLot = kDefaultLottery;

Result<std::int64_t> exportTo(Archive& a, const std::string& path, bool csv,
                              const ExportProgress& progress = {}) {
    auto out = OutputFile::create(path);
    if (!out) return fail(out.error());
    ExportRequest r;
    r.csv = csv;
    return ExportDraws(a, r, **out, progress);
}

// Imports a file as zuohao-cli does: batch by batch, the archive's number standing.
ImportText importFile(Archive& a, const std::string& path) {
    auto r = ReadImportFile(path, [&](std::vector<DrawIn>& batch) {
        return bool(a.add(kLot, batch, "import:" + path));
    });
    return r ? std::move(r).value() : ImportText{};
}
} // namespace

TEST(ImportExport, TheCsvBringsBackTimesSourcesAndOlderNumbers) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    ASSERT_TRUE(a->add(kLot, {{"202612080001", "11111"}, {"202612080004", "44444"}},
                       "C:\\彩票\\a, \"b\".txt", OnConflict::KeepArchived, "2026-12-08T00:01:00Z"));
    ASSERT_TRUE(a->correct(kLot, "202612080004", "45454", "demo"));
    ASSERT_TRUE(a->correct(kLot, "202612080004", "46464", "demo"));
    const std::string csv = dir.file("backup.csv");
    ASSERT_EQ(*exportTo(*a, csv, true), 2);
    const std::string text = storetest::readFile(csv);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "\xEF\xBB\xBF期号,开奖号码,首次见到(UTC),来源,断期,更正,更正时间(UTC)");
    EXPECT_NE(text.find(",2,原号 44444→45454,"), std::string::npos) << text; // two missing

    auto b = openOrDie(dir.file("b.sqlite"));
    const ImportText got = importFile(*b, csv);
    EXPECT_EQ(got.drawsRead, 2);
    EXPECT_EQ(got.badLines, 0);
    auto before = a->range(kLot), after = b->range(kLot);
    ASSERT_TRUE(before && after);
    ASSERT_EQ(after->size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(after->at(i).haoma, before->at(i).haoma);
        EXPECT_EQ(after->at(i).seenUtc, before->at(i).seenUtc);
        EXPECT_EQ(after->at(i).source, before->at(i).source);
        EXPECT_EQ(after->at(i).corrected, before->at(i).corrected);
    }
    auto olds = a->corrections(kLot), back = b->corrections(kLot);
    ASSERT_EQ(back->size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back->at(i).oldHaoma, olds->at(i).oldHaoma);
        EXPECT_EQ(back->at(i).newHaoma, olds->at(i).newHaoma);
        EXPECT_EQ(back->at(i).correctedUtc, olds->at(i).correctedUtc);
    }
}

TEST(ImportExport, ImportReadsEveryEncodingAndRefusesWhatIsNoFile) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    // UTF-16 as a Windows program may write it, and a line far over the cap in between.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("1001 12345 x\r\n"))
        utf16 += std::string{c, '\0'};
    storetest::writeFile(dir.file("utf16.txt"), utf16);
    storetest::writeFile(dir.file("long.txt"),
                         "1002 23456 x\n" + std::string(1 << 20, '7') + "\n1003 34567 x\n");
    EXPECT_EQ(importFile(*a, dir.file("utf16.txt")).drawsRead, 1);
    const ImportText longOne = importFile(*a, dir.file("long.txt"));
    EXPECT_EQ(longOne.longLines, 1);
    EXPECT_EQ(longOne.firstBad, std::vector<std::int64_t>{2});
    EXPECT_EQ(a->range(kLot)->size(), 3u);

    // A first line of up to 64 GB is refused once it passes the cap, not at its end. The file
    // is sparse on POSIX; Windows reserves the space, so it is held to half of what is free.
    const std::string huge = dir.file("huge.txt");
    storetest::writeFile(huge, "1");
    const std::uintmax_t free = std::filesystem::space(dir.path()).available;
    std::filesystem::resize_file(huge, std::min(std::uintmax_t(64) << 30, free / 2));
    auto hugeOne = ReadImportFile(huge, [](std::vector<DrawIn>&) { return true; });
    ASSERT_FALSE(hugeOne);
    EXPECT_NE(hugeOne.error().find("first line too long"), std::string::npos);

    auto refused = ReadImportFile(dir.path().string(), [](std::vector<DrawIn>&) { return true; });
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("not a regular file"), std::string::npos);
#ifndef _WIN32
    for (const std::string& special : {std::string("/dev/zero"), dir.file("fifo")}) {
        if (special != "/dev/zero") {
            ASSERT_EQ(::mkfifo(special.c_str(), 0600), 0);
        }
        auto r = ReadImportFile(special, [](std::vector<DrawIn>&) { return true; });
        ASSERT_FALSE(r) << special; // neither read for ever nor waited on
        EXPECT_NE(r.error().find("not a regular file"), std::string::npos);
    }
#endif
}

TEST(ImportExport, AWriteThatFailsOrStopsLeavesTheOldFile) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    ASSERT_TRUE(a->add(kLot, storetest::plainDraws(1, 20000), "x"));
    const std::string out = dir.file("out.csv");
    storetest::writeFile(out, "the old backup\n");
    // Stopped half way.
    auto stopped = exportTo(*a, out, true, [](std::int64_t n) { return n < 10000; });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(storetest::readFile(out), "the old backup\n");
#ifndef _WIN32
    // The disk fills up half way.
    const int code = storetest::withFileSizeLimit(100000, [&] {
        auto again = openOrDie(dir.file("a.sqlite"), nullptr, OpenMode::ReadOnly);
        return exportTo(*again, out, true) ? 0 : 1;
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(storetest::readFile(out), "the old backup\n");
    // A device that takes nothing.
    auto full = exportTo(*a, "/dev/full", false);
    ASSERT_FALSE(full);
    EXPECT_NE(full.error().find("write failed"), std::string::npos) << full.error();
#endif
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.path().filename().string().find(".part-") != std::string::npos;
    EXPECT_EQ(files, 0u); // no temporary file left behind
    ASSERT_TRUE(exportTo(*a, out, false));
    const std::string plain = storetest::readFile(out);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 20000);
}

#ifndef _WIN32
TEST(ImportExport, AnInterruptedExportLeavesNoPartBehind) {
    TempDir dir;
    const std::string out = dir.file("out.csv");
    // A part of an export that was killed (its process is gone) and one of a live export.
    const pid_t gone = ::fork();
    if (gone == 0) std::_Exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = out + ".part-" + std::to_string(gone) + "-1";
    const std::string live = out + ".part-" + std::to_string(::getpid()) + "-999";
    storetest::writeFile(stale, std::string(1000, 'x'));
    storetest::writeFile(live, "y");
    {
        auto f = OutputFile::create(out);
        ASSERT_TRUE(f);
    }
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(live));
    std::filesystem::remove(live);
    // A termination request in the middle of an export.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGTERM, [](int sig) {
            RemoveUnfinishedOutput();
            ::signal(sig, SIG_DFL);
            ::raise(sig);
        });
        auto f = OutputFile::create(out);
        if (!f || !(*f)->write(std::string(1 << 20, 'z'))) std::_Exit(2);
        ::raise(SIGTERM);
        std::_Exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    std::size_t parts = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        parts += e.path().filename().string().find(".part-") != std::string::npos;
    EXPECT_EQ(parts, 0u);
}
#endif

TEST(ImportExport, ACutShortImportResumesAfterItsLastBatch) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    const std::string file = dir.file("draws.txt");
    std::string text = "period,number\n"; // a header: the resumed read still knows the columns
    for (const DrawIn& d : storetest::plainDraws(1, 25000))
        text += d.qishu + "," + d.haoma + "\n";
    storetest::writeFile(file, text);
    const std::string id = ImportFileIdentity(file);
    ASSERT_FALSE(id.empty());
    // Each run writes its batches with the mark; `stopAfter` batches stand for a kill.
    auto run = [&](int stopAfter) {
        std::int64_t handed = 0;
        int batches = 0;
        const std::int64_t skip = a->importMark(kLot, id).value();
        auto r = ReadImportFileFrom(file, skip, [&](std::vector<DrawIn>& batch, std::int64_t n) {
            const ImportMark mark{id, n};
            if (!a->add(kLot, batch, "import", OnConflict::KeepArchived, {}, &mark)) return false;
            handed += std::int64_t(batch.size());
            return ++batches < stopAfter;
        });
        return r ? handed : -1;
    };
    EXPECT_EQ(run(1), std::int64_t(kImportBatch));
    EXPECT_EQ(a->importMark(kLot, id).value(), std::int64_t(kImportBatch) + 1); // with the header
    EXPECT_EQ(run(1), std::int64_t(kImportBatch)); // the second batch, not the first again
    EXPECT_EQ(run(100), 25000 - 2 * std::int64_t(kImportBatch));
    EXPECT_EQ(a->range(kLot)->size(), 25000u);
    ASSERT_TRUE(a->clearImportMark(kLot, id));
    EXPECT_EQ(a->importMark(kLot, id).value(), 0);
    // Another state of the file is another file.
    storetest::writeFile(file, text + "25001,12345\n");
    EXPECT_NE(ImportFileIdentity(file), id);
}

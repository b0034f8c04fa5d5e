// What the archive does with a file in trouble: a damaged file is told apart from a busy one,
// a full disk and an unreachable file, and only a damaged one is ever moved, and only when
// the caller asks for it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;
using storetest::openOrDie;
using storetest::TempDir;

namespace {
const std::string kLot = kDefaultLottery;
constexpr int kDraws = 3000; // enough for several pages of draws

// A healthy archive with kDraws draws, its write-ahead log folded into the file.
void makeArchive(const std::string& path) {
    auto a = openOrDie(path);
    if (!a->add(kLot, storetest::plainDraws(1, kDraws), "x") || !a->setBulkWrites(false))
        std::abort();
}

// Bytes written over the file at `offset`, as a stray program or a bad disk would.
void overwrite(const std::string& path, std::streamoff offset, std::size_t count) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(offset);
    f << std::string(count, '\x55');
}

std::size_t brokenFiles(const TempDir& dir) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        n += e.path().filename().string().find(".broken-") != std::string::npos;
    return n;
}

std::int64_t heldDraws(const std::string& path) {
    auto a = Archive::open(path, nullptr, OpenMode::ReadOnly);
    if (!a) return -1;
    auto all = (*a)->range(kLot);
    return all ? std::int64_t(all->size()) : -1;
}
} // namespace

TEST(ArchiveTrouble, OnlyADamagedFileIsSetAsideAndOnlyWhenAsked) {
    enum class File { Healthy, Text, MiddlePageJunk, Missing };
    struct Case {
        File file;
        OpenMode mode;
        bool opens;
        ArchiveTrouble trouble;
        bool setAside;
    };
    const Case cases[] = {
        {File::Healthy, OpenMode::ReadOnly, true, ArchiveTrouble::None, false},
        {File::Healthy, OpenMode::SetAsideDamaged, true, ArchiveTrouble::None, false},
        {File::Text, OpenMode::ReadOnly, false, ArchiveTrouble::Damaged, false},
        {File::Text, OpenMode::ReadWrite, false, ArchiveTrouble::Damaged, false},
        {File::Text, OpenMode::SetAsideDamaged, true, ArchiveTrouble::None, true},
        // The schema page is fine, a page of draws is not: only the check finds it.
        {File::MiddlePageJunk, OpenMode::ReadWrite, true, ArchiveTrouble::None, false},
        {File::MiddlePageJunk, OpenMode::SetAsideDamaged, true, ArchiveTrouble::None, true},
        {File::Missing, OpenMode::ReadOnly, false, ArchiveTrouble::Unavailable, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.file) * 10 + int(c.mode));
        TempDir dir;
        const std::string path = dir.file("draws.sqlite");
        if (c.file == File::Text) storetest::writeFile(path, "第1期 开奖号码 12345\n");
        if (c.file == File::Healthy || c.file == File::MiddlePageJunk) makeArchive(path);
        if (c.file == File::MiddlePageJunk) overwrite(path, 4096 * 5, 4096);
        const std::string before = storetest::readFile(path);
        OpenReport rep;
        auto a = Archive::open(path, &rep, c.mode);
        ASSERT_EQ(bool(a), c.opens) << (a ? "" : a.error());
        EXPECT_EQ(rep.trouble, c.trouble);
        EXPECT_EQ(brokenFiles(dir), c.setAside ? 1u : 0u);
        EXPECT_EQ(!rep.setAsideAs.empty(), c.setAside);
        if (c.setAside) {
            EXPECT_EQ(storetest::readFile(rep.setAsideAs), before);
        }
        if (c.file == File::Missing) {
            EXPECT_FALSE(std::filesystem::exists(path));
        } else if (!c.opens) {
            EXPECT_EQ(storetest::readFile(path), before);
        }
    }
}

TEST(ArchiveTrouble, ABusyArchiveIsNeverSetAsideAndTakesWritesOnceFree) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    // Another program holds the file for itself while the archive opens...
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    const char* const lockAll = "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;";
    ASSERT_EQ(sqlite3_exec(holder, lockAll, nullptr, nullptr, nullptr), SQLITE_OK);
    OpenReport rep;
    EXPECT_FALSE(Archive::open(path, &rep, OpenMode::SetAsideDamaged));
    EXPECT_EQ(rep.trouble, ArchiveTrouble::Busy);
    EXPECT_EQ(brokenFiles(dir), 0u);
    sqlite3_close(holder);
    // ... and while it writes.
    auto a = openOrDie(path, nullptr, OpenMode::SetAsideDamaged);
    a->setBusyWait(10);
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(a->add(kLot, storetest::plainDraws(kDraws + 1, 1), "x"));
    EXPECT_EQ(a->lastTrouble(), ArchiveTrouble::Busy);
    sqlite3_close(holder);
    EXPECT_TRUE(a->add(kLot, storetest::plainDraws(kDraws + 1, 1), "x"));
    EXPECT_EQ(heldDraws(path), kDraws + 1);
}

TEST(ArchiveTrouble, GarbageWrittenWhileOpenIsNoticedAndSetAsideAtTheNextOpen) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    auto a = openOrDie(path);
    const auto size = std::filesystem::file_size(path);
    overwrite(path, 0, std::size_t(size));
    EXPECT_FALSE(a->add(kLot, storetest::plainDraws(kDraws + 1, 1), "x"));
    EXPECT_EQ(a->lastTrouble(), ArchiveTrouble::Damaged);
    a.reset();
    OpenReport rep;
    auto fresh = openOrDie(path, &rep, OpenMode::SetAsideDamaged);
    EXPECT_FALSE(rep.setAsideAs.empty());
    EXPECT_EQ(heldDraws(path), 0);
}

TEST(ArchiveTrouble, AFileWrittenOverIsSetAsideByteForByte) {
    // A young archive: every page, the first too, is still in the write-ahead log, which the
    // usual close of the last connection would fold into the garbage, cutting it to the
    // archive's size.
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    auto a = openOrDie(path);
    ASSERT_TRUE(a->add(kLot, storetest::plainDraws(1, 50), "x"));
    const std::string garbage(64 * 1024, '\x55');
    storetest::writeFile(path, garbage); // another program writes over the file
    a->closeWithoutCheckpoint();
    a.reset();
    EXPECT_TRUE(storetest::readFile(path) == garbage);
    OpenReport rep;
    auto fresh = openOrDie(path, &rep, OpenMode::SetAsideDamaged);
    ASSERT_FALSE(rep.setAsideAs.empty());
    EXPECT_TRUE(storetest::readFile(rep.setAsideAs) == garbage);
    EXPECT_EQ(heldDraws(path), 0);
}

#ifndef _WIN32
TEST(ArchiveTrouble, AFullDiskNeitherMovesTheArchiveNorLeavesAnEmptyOne) {
    TempDir dir;
    // No room at all: no archive is made, and no empty file is left for the next start.
    const std::string fresh = dir.file("new.sqlite");
    const int made = storetest::withFileSizeLimit(0, [&] {
        OpenReport rep;
        return Archive::open(fresh, &rep, OpenMode::SetAsideDamaged) ? 0 : int(rep.trouble);
    });
    EXPECT_NE(made, 0);
    EXPECT_NE(made, int(ArchiveTrouble::Damaged));
    EXPECT_FALSE(std::filesystem::exists(fresh));

    // A healthy archive that cannot grow: opening or writing fails, the file stays whole.
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    const int wrote = storetest::withFileSizeLimit(8192, [&] {
        OpenReport rep;
        auto a = Archive::open(path, &rep, OpenMode::SetAsideDamaged);
        if (!a) return int(rep.trouble);
        const bool ok = bool((*a)->add(kLot, storetest::plainDraws(kDraws + 1, 2000), "x"));
        return ok ? 0 : int((*a)->lastTrouble());
    });
    EXPECT_TRUE(wrote == int(ArchiveTrouble::Full) || wrote == int(ArchiveTrouble::Unavailable))
        << wrote;
    EXPECT_EQ(brokenFiles(dir), 0u);
    EXPECT_EQ(heldDraws(path), kDraws);
}
#endif

// A read-only look at the archive makes and changes no file beside it (in a folder that cannot
// be written too), still sees what a live writer holds in its log, and tells a read that a
// writer overtook from a whole one.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <utility>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;
using storetest::openOrDie;
using storetest::TempDir;
namespace fs = std::filesystem;

namespace {
const std::string kLot = kDefaultLottery;
constexpr int kDraws = 3000;

// Every file of the folder: its bytes and its time.
using FolderState = std::map<std::string, std::pair<std::string, fs::file_time_type>>;
FolderState folderState(const TempDir& dir) {
    FolderState out;
    for (const auto& e : fs::directory_iterator(dir.path()))
        out[e.path().filename().string()] = {storetest::readFile(e.path().string()),
                                             fs::last_write_time(e.path())};
    return out;
}

// A cleanly closed archive: its log folded into the file and gone.
void makeArchive(const std::string& path) {
    auto a = openOrDie(path);
    if (!a->add(kLot, storetest::plainDraws(1, kDraws), "x") || !a->setBulkWrites(false))
        std::abort();
}

// What every read-only command does with the archive; the draws it saw.
std::int64_t look(const std::string& path) {
    auto a = Archive::open(path, nullptr, OpenMode::Look);
    if (!a) return -1;
    auto all = (*a)->range(kLot);
    if (!all || !(*a)->info() || !(*a)->gaps(kLot) || !(*a)->countsPerDay(kLot)) return -1;
    return std::int64_t(all->size());
}
} // namespace

TEST(ArchiveLook, AClosedArchiveIsReadWithNoFileMadeOrTouched) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    const FolderState before = folderState(dir);
    ASSERT_EQ(before.size(), 1u);
    for (int run = 0; run < 2; ++run) // a second run finds what the first left
        EXPECT_EQ(look(path), kDraws);
    EXPECT_TRUE(folderState(dir) == before);
}

#ifndef _WIN32
TEST(ArchiveLook, AFolderThatCannotBeWrittenIsReadAsItIs) {
    constexpr uid_t kNobody = 65534;
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    const FolderState before = folderState(dir);
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.path(), readOnly);
    // The superuser writes into any folder: the look runs as an ordinary user then.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(3);
        ::_exit(look(path) == kDraws ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(dir.path(), fs::perms::owner_all | readOnly);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(folderState(dir) == before);
}
#endif

TEST(ArchiveLook, ALiveWritersLogIsSeen) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    auto writer = openOrDie(path); // another program, its new draws still in its log
    ASSERT_TRUE(writer->add(kLot, storetest::plainDraws(kDraws + 1, 40), "x"));
    ASSERT_TRUE(fs::exists(path + "-wal"));
    EXPECT_EQ(look(path), kDraws + 40);
}

TEST(ArchiveLook, AReadThatAWriterOvertookFailsAsBusy) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    makeArchive(path);
    auto a = Archive::open(path, nullptr, OpenMode::Look);
    ASSERT_TRUE(a);
    ASSERT_TRUE((*a)->range(kLot));
    {
        // A writer starts meanwhile and folds its log into the file.
        auto writer = openOrDie(path);
        ASSERT_TRUE(writer->add(kLot, storetest::plainDraws(kDraws + 1, 2000), "x"));
        ASSERT_TRUE(writer->setBulkWrites(false));
    }
    EXPECT_FALSE((*a)->range(kLot));
    EXPECT_EQ((*a)->lastTrouble(), ArchiveTrouble::Busy);
    EXPECT_EQ(look(path), kDraws + 2000); // a new look sees it all
}

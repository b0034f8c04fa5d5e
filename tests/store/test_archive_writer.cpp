// The desktop program's writer: draws wait, in order and within bounds, while the archive is
// busy, full or damaged, and go in once it takes writes again; a demo keeps out of archives
// that hold other draws.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "store/ArchiveWriter.h"
#include "support_archive.h"

using namespace zuohao::store;
using storetest::TempDir;

namespace {
const std::string kLot = kDefaultLottery;
constexpr int kShortWait = 10;

std::vector<PendingDraw> entered(long long first, int count) {
    std::vector<PendingDraw> out;
    for (const DrawIn& d : storetest::plainDraws(first, count))
        out.push_back({kLot, d.qishu, d.haoma, "file"});
    return out;
}

std::vector<std::string> heldLabels(const std::string& path) {
    std::vector<std::string> out;
    auto a = Archive::open(path, nullptr, OpenMode::ReadOnly);
    if (!a) return out;
    auto held = (*a)->range(kLot);
    for (const ArchivedDraw& d : held.value())
        out.push_back(d.qishu);
    return out;
}
} // namespace

TEST(PendingDraws, KeepsOrderAndCountsWhatABoundedQueueDrops) {
    PendingDraws q(3);
    for (const PendingDraw& d : entered(1, 2))
        q.push(d);
    auto round = q.takeRound(10);
    ASSERT_EQ(round.size(), 2u);
    EXPECT_TRUE(q.takeRound(10).empty()); // one round at a time
    for (const PendingDraw& d : entered(3, 3))
        q.push(d); // 5 waiting for 3 places: 3 and 4 go, the round's own stay
    EXPECT_EQ(q.dropped(), 2);
    q.settle(1); // only the first of the round went in
    round = q.takeRound(10);
    ASSERT_EQ(round.size(), 2u);
    EXPECT_EQ(round[0].qishu, "2");
    EXPECT_EQ(round[1].qishu, "5");
}

TEST(ArchiveWriter, ABusyArchiveKeepsTheDrawsAndTakesThemLaterInOrder) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    { storetest::openOrDie(path); }
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    ArchiveWriter writer(path, false);
    PendingDraws q;
    for (int poll = 0; poll < 3; ++poll) { // three polls while the lock is held
        for (const PendingDraw& d : entered(100 + poll * 2, 2))
            q.push(d);
        const WriteRound r = writer.write(q.takeRound(1000), kShortWait);
        EXPECT_EQ(r.trouble, ArchiveTrouble::Busy);
        q.settle(r.written);
    }
    EXPECT_EQ(q.size(), 6u);
    sqlite3_close(holder);
    const WriteRound r = writer.write(q.takeRound(1000), kShortWait);
    EXPECT_EQ(r.trouble, ArchiveTrouble::None);
    q.settle(r.written);
    EXPECT_EQ(q.size(), 0u);
    EXPECT_EQ(heldLabels(path),
              (std::vector<std::string>{"100", "101", "102", "103", "104", "105"}));
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(ArchiveWriter, AnArchiveDamagedWhileRunningIsSetAsideAndNothingIsLost) {
    TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    ArchiveWriter writer(path, false);
    PendingDraws q;
    for (const PendingDraw& d : entered(1, 3))
        q.push(d);
    q.settle(writer.write(q.takeRound(100), kShortWait).written);
    ASSERT_EQ(q.size(), 0u);
    ASSERT_TRUE(storetest::openOrDie(path)->setBulkWrites(false)); // all pages in the file
    {
        std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
        f << std::string(std::size_t(std::filesystem::file_size(path)), 'Z');
    }
    for (const PendingDraw& d : entered(4, 2))
        q.push(d);
    WriteRound r = writer.write(q.takeRound(100), kShortWait);
    q.settle(r.written);
    EXPECT_EQ(r.trouble, ArchiveTrouble::Damaged);
    EXPECT_EQ(q.size(), 2u);
    r = writer.write(q.takeRound(100), kShortWait);
    q.settle(r.written);
    EXPECT_FALSE(r.setAsideAs.empty());
    EXPECT_EQ(q.size(), 0u);
    EXPECT_EQ(heldLabels(path), (std::vector<std::string>{"4", "5"}));
    EXPECT_EQ(heldLabels(r.setAsideAs).size(), 0u); // the garbage is kept as it was
}

TEST(ArchiveWriter, ADemoWritesOnlyIntoAnArchiveThatHeldNoDraws) {
    TempDir dir;
    const std::string used = dir.file("used.sqlite"), fresh = dir.file("fresh.sqlite");
    ASSERT_TRUE(storetest::openOrDie(used)->add(kLot, {{"7", "12345"}}, "file"));
    ArchiveWriter intoUsed(used, true), intoFresh(fresh, true);
    auto demoDraw = entered(8, 1);
    demoDraw[0].source = "demo";
    EXPECT_TRUE(intoUsed.write(demoDraw, kShortWait).demoRefused);
    EXPECT_EQ(heldLabels(used), std::vector<std::string>{"7"});
    EXPECT_EQ(intoFresh.write(demoDraw, kShortWait).written, 1u);
    EXPECT_EQ(intoFresh.write(entered(9, 1), kShortWait).written, 1u); // its own draws are fine
}

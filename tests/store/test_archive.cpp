// The archive's API against a temporary file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;
using storetest::openOrDie;
using storetest::TempDir;

namespace {
const std::string kLot = kDefaultLottery;

std::vector<std::string> labels(const std::vector<ArchivedDraw>& v) {
    std::vector<std::string> out;
    for (const auto& d : v)
        out.push_back(d.qishu);
    return out;
}
} // namespace

TEST(Archive, RoundTripKeepsEveryFieldAndOrdersByNumericPeriod) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    // Text order would put 1000 before 999.
    auto r = a->add(kLot, {{"1000", "11111"}, {"999", "22222"}, {"1001", "33333"}}, "demo",
                    OnConflict::KeepArchived, "2026-12-08T01:02:03Z");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->added, 3);
    auto all = a->range(kLot);
    ASSERT_TRUE(all);
    EXPECT_EQ(labels(*all), (std::vector<std::string>{"999", "1000", "1001"}));
    EXPECT_EQ(all->at(0).haoma, "22222");
    EXPECT_EQ(all->at(0).seenUtc, "2026-12-08T01:02:03Z");
    EXPECT_EQ(all->at(0).source, "demo");
    EXPECT_EQ(all->at(0).period, 999);
    auto two = a->newest(kLot, 2);
    ASSERT_TRUE(two);
    EXPECT_EQ(labels(*two), (std::vector<std::string>{"1000", "1001"}));
    auto page = a->before(kLot, 1001, 5);
    ASSERT_TRUE(page);
    EXPECT_EQ(labels(*page), (std::vector<std::string>{"1000", "999"}));
    auto mid = a->range(kLot, "1000", "1000");
    ASSERT_TRUE(mid);
    EXPECT_EQ(labels(*mid), (std::vector<std::string>{"1000"}));
    // Another lottery is kept apart; an unknown one is simply empty.
    ASSERT_TRUE(a->add("VR3分彩", {{"1000", "99999"}}, "demo"));
    EXPECT_EQ(a->range(kLot)->size(), 3u);
    EXPECT_TRUE(a->range("nobody")->empty());
    // Reopened, everything is still there.
    a.reset();
    auto b = openOrDie(dir.file("a.sqlite"));
    EXPECT_EQ(labels(*b->newest(kLot, 10)), (std::vector<std::string>{"999", "1000", "1001"}));
    EXPECT_EQ(*b->lotteries(), (std::vector<std::string>{kLot, "VR3分彩"}));
}

TEST(Archive, DuplicatesSkipConflictsReportedOrCorrected) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    ASSERT_TRUE(a->add(kLot, {{"202612080001", "12345"}}, "file", OnConflict::KeepArchived,
                       "2026-12-08T00:00:30Z"));
    auto same = a->add(kLot, {{"202612080001", "12345"}}, "import:x");
    ASSERT_TRUE(same);
    EXPECT_EQ(same->duplicates, 1);
    EXPECT_EQ(same->added, 0);
    auto other = a->add(kLot, {{"202612080001", "54321"}}, "import:x");
    ASSERT_TRUE(other);
    ASSERT_EQ(other->conflicts.size(), 1u);
    EXPECT_EQ(other->conflicts[0].archivedHaoma, "12345");
    EXPECT_EQ(a->range(kLot)->at(0).haoma, "12345");
    EXPECT_FALSE(a->range(kLot)->at(0).corrected);

    auto fixed = a->add(kLot, {{"202612080001", "54321"}}, "import:x", OnConflict::Correct);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->corrected, 1);
    ASSERT_TRUE(a->correct(kLot, "202612080001", "00000", "file"));
    auto held = a->range(kLot);
    EXPECT_EQ(held->at(0).haoma, "00000");
    EXPECT_TRUE(held->at(0).corrected);
    EXPECT_EQ(held->at(0).seenUtc, "2026-12-08T00:00:30Z"); // first seen stays
    auto c = a->corrections(kLot);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    EXPECT_EQ(c->at(0).oldHaoma, "12345");
    EXPECT_EQ(c->at(0).newHaoma, "54321");
    EXPECT_EQ(c->at(0).oldSeenUtc, "2026-12-08T00:00:30Z");
    EXPECT_FALSE(c->at(0).correctedUtc.empty());
    EXPECT_EQ(c->at(1).oldHaoma, "54321");
    EXPECT_EQ(c->at(1).newHaoma, "00000");
    EXPECT_EQ(a->info()->lotteries.at(0).corrections, 2);
}

TEST(Archive, ABadDrawFailsTheWholeWrite) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    EXPECT_FALSE(a->add(kLot, {{"100", "12345"}, {"101", "1234"}}, "x"));
    EXPECT_FALSE(a->add(kLot, {{"abc", "12345"}}, "x"));
    EXPECT_TRUE(a->range(kLot)->empty()); // the transaction rolled back
}

TEST(Archive, GapsFollowThePeriodRule) {
    struct Case {
        std::vector<std::string> held;
        std::vector<std::pair<std::string, long long>> gaps; // after, missing
    };
    const std::vector<Case> cases{
        // The minute lottery's day ends with period 1440; the next day starts at 0001.
        {{"202612081439", "202612081440", "202612090001", "202612090002"}, {}},
        {{"202612081439", "202612090002"}, {{"202612081439", 2}}},
        {{"202612071440", "202612090001"}, {{"202612071440", 1440}}},
        // Year and month ends.
        {{"202612311440", "202701010001"}, {}},
        {{"202602281440", "202603010001"}, {}},
        // Plain labels count up by one.
        {{"1234", "1235", "1239"}, {{"1235", 3}}},
        {{"5"}, {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto a = openOrDie(dir.file("a.sqlite"));
        std::vector<DrawIn> in;
        for (const auto& q : c.held)
            in.push_back({q, "12345"});
        ASSERT_TRUE(a->add(kLot, in, "x"));
        auto g = a->gaps(kLot);
        ASSERT_TRUE(g);
        std::vector<std::pair<std::string, long long>> got;
        for (const Gap& x : *g)
            got.emplace_back(x.afterQishu, x.missing);
        EXPECT_EQ(got, c.gaps) << c.held.front();
    }
}

TEST(Archive, CountsPerDayAndOneDay) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    std::vector<DrawIn> in;
    for (int i = 1430; i <= 1440; ++i)
        in.push_back({"2026120" + std::to_string(80000 + i), "12345"});
    for (int i = 1; i <= 5; ++i)
        in.push_back({"20261209000" + std::to_string(i), "12345"});
    ASSERT_TRUE(a->add(kLot, in, "x"));
    ASSERT_TRUE(
        a->add(kLot, {{"77", "12345"}}, "x", OnConflict::KeepArchived, "2026-12-09T10:00:00Z"));
    auto days = a->countsPerDay(kLot);
    ASSERT_TRUE(days);
    ASSERT_EQ(days->size(), 2u);
    EXPECT_EQ(days->at(0).day, "2026-12-09");
    EXPECT_EQ(days->at(0).draws, 6); // five dated plus one plain label seen that day
    EXPECT_EQ(days->at(1).day, "2026-12-08");
    EXPECT_EQ(days->at(1).draws, 11);
    auto d8 = a->day(kLot, "2026-12-08");
    ASSERT_TRUE(d8);
    EXPECT_EQ(d8->size(), 11u);
    EXPECT_EQ(d8->back().qishu, "202612081440");
    EXPECT_EQ(a->day(kLot, "2026-12-09")->size(), 6u);
}

TEST(Archive, MigratesAnEmptyFileAndRefusesANewerOne) {
    TempDir dir;
    const std::string path = dir.file("empty.sqlite");
    storetest::writeFile(path, "");
    OpenReport rep;
    {
        auto a = openOrDie(path, &rep);
        EXPECT_TRUE(rep.setAsideAs.empty());
        EXPECT_TRUE(a->add(kLot, {{"1", "12345"}}, "x"));
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), kSchemaVersion);
    sqlite3_finalize(st);
    char* msg = nullptr;
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, &msg), SQLITE_OK);
    sqlite3_close(db);
    auto newer = Archive::open(path);
    ASSERT_FALSE(newer);
    EXPECT_NE(newer.error().find("newer"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(path)); // never set aside: it is not broken
}

TEST(Archive, AFileThatWillNotOpenIsSetAside) {
    for (const std::string& junk : {std::string("this is not a database at all, only text\n"),
                                    std::string("SQLite format 3") + std::string(4000, '\x07')}) {
        TempDir dir;
        const std::string path = dir.file("draws.sqlite");
        storetest::writeFile(path, junk);
        OpenReport rep;
        auto a = openOrDie(path, &rep, OpenMode::SetAsideDamaged);
        ASSERT_FALSE(rep.setAsideAs.empty());
        EXPECT_TRUE(rep.created);
        EXPECT_NE(rep.setAsideAs.find("draws.sqlite.broken-"), std::string::npos);
        std::ifstream kept(rep.setAsideAs, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);
        EXPECT_TRUE(a->add(kLot, {{"1", "12345"}}, "x"));
        EXPECT_EQ(a->range(kLot)->size(), 1u);
    }
}

TEST(Archive, AMissingFolderIsAClearError) {
    TempDir dir;
    auto a = Archive::open(dir.file("no/such/folder/draws.sqlite"));
    ASSERT_FALSE(a);
    EXPECT_NE(a.error().find("folder"), std::string::npos);
}

TEST(Archive, InfoCountsAndSize) {
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    ASSERT_TRUE(a->add(kLot, storetest::plainDraws(500, 100), "x"));
    auto i = a->info();
    ASSERT_TRUE(i);
    ASSERT_EQ(i->lotteries.size(), 1u);
    EXPECT_EQ(i->lotteries[0].draws, 100);
    EXPECT_EQ(i->lotteries[0].firstQishu, "500");
    EXPECT_EQ(i->lotteries[0].lastQishu, "599");
    EXPECT_GT(i->fileBytes, 4096u);
}

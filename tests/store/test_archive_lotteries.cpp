// Several lotteries in one archive: import marks and counts keep to their lottery; a name is
// data, and one that could not be listed is refused before anything is written.
#include <gtest/gtest.h>

#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;

TEST(ArchiveLotteries, MarksCountsAndNamesKeepToTheirLottery) {
    storetest::TempDir dir;
    auto a = storetest::openOrDie(dir.file("a.sqlite"));
    const std::string first = kDefaultLottery, other = "x'); DROP TABLE draw;--", file = "/b.csv";
    const ImportMark firstMark{file, 100}, otherMark{file, 40};
    ASSERT_TRUE(a->add(first, storetest::plainDraws(1, 3), "i", {}, {}, &firstMark));
    EXPECT_EQ(a->importMark(other, file).value(), 0); // the same file, another lottery
    ASSERT_TRUE(a->add(other, storetest::plainDraws(2, 4), "i", {}, {}, &otherMark));
    ASSERT_TRUE(a->clearImportMark(first, file));
    EXPECT_EQ(a->importMark(first, file).value(), 0);
    EXPECT_EQ(a->importMark(other, file).value(), 40);
    for (const std::string& bad : {std::string(), std::string(kMaxLotteryNameChars + 1, 'x'),
                                   std::string("bad\xFF"), std::string("c1\xC2\x85")}) {
        EXPECT_FALSE(a->add(bad, storetest::plainDraws(1, 1), "i")) << bad;
        EXPECT_EQ(a->lastTrouble(), ArchiveTrouble::Refused) << bad;
    }
    const auto held = a->heldLotteries().value();
    ASSERT_EQ(held.size(), 2u); // nothing of a refused name
    EXPECT_EQ(std::tie(held[1].lottery, held[1].draws, held[1].firstQishu, held[1].lastQishu),
              std::make_tuple(other, std::int64_t(4), std::string("2"), std::string("5")));
}

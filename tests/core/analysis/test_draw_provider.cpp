// Draw providers: the newest draws of a sequence, of the lottery object, and the archive
// followed by the newer held draws.
#include <gtest/gtest.h>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/DrawProvider.h"

namespace zuohao {
namespace {

std::vector<std::string> labels(const Result<std::vector<DrawLine>>& r) {
    std::vector<std::string> out;
    for (const DrawLine& d : *r)
        out.push_back(d.qishu);
    return out;
}

DrawProvider failing() {
    return [](std::size_t) -> Result<std::vector<DrawLine>> { return fail("no archive"); };
}

TEST(DrawProvider, NewestOfSequenceAndLottery) {
    const DrawProvider seq = SequenceDraws({{"1", "11111"}, {"2", "22222"}, {"3", "33333"}});
    EXPECT_EQ(labels(seq(2)), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(labels(seq(0)), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(labels(seq(9)), (std::vector<std::string>{"1", "2", "3"}));
    LotteryClass lottery;
    const DrawProvider held = HeldDraws(lottery.state());
    EXPECT_TRUE(held(5)->empty());
    for (int i = 1; i <= 120; ++i) // more than the 100 draw records kept
        (void)lottery.ProcessDraw(std::to_string(1000 + i), "12345");
    const auto all = held(0);
    ASSERT_EQ(all->size(), 120u);
    EXPECT_EQ(all->front().qishu, "1001");
    EXPECT_EQ(labels(held(2)), (std::vector<std::string>{"1119", "1120"}));
}

TEST(DrawProvider, ArchiveThenNewerHeldDraws) {
    const DrawProvider archive =
        SequenceDraws({{"101", "11111"}, {"102", "22222"}, {"103", "33333"}});
    const DrawProvider held = SequenceDraws({{"102", "22222"}, {"103", "33333"}, {"104", "44444"}});
    EXPECT_EQ(labels(ArchiveThenHeld(archive, held)(0)),
              (std::vector<std::string>{"101", "102", "103", "104"}));
    EXPECT_EQ(labels(ArchiveThenHeld(archive, held)(2)), (std::vector<std::string>{"103", "104"}));
    EXPECT_EQ(labels(ArchiveThenHeld(failing(), held)(0)),
              (std::vector<std::string>{"102", "103", "104"}));
    EXPECT_EQ(labels(ArchiveThenHeld(nullptr, held)(1)), (std::vector<std::string>{"104"}));
    EXPECT_FALSE(ArchiveThenHeld(archive, failing())(1).ok());
}

} // namespace
} // namespace zuohao

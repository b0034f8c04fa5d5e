// The draw record: features filled from the draw number, reading by key, the 10-draw
// counter, the digit order by count and the layout of the statistics row.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"
#include "core/model/LotteryItem.h"
#include "support_ref_features.h"

namespace zuohao {
namespace {

std::string text(const SanmaValue& v) {
    const auto* s = std::get_if<std::string>(&v);
    return s ? *s : std::string("<not a text>");
}

LotteryItem itemOf(const std::string& haoma, const std::string& qishu = "1") {
    LotteryItem item;
    item.Qishu = qishu;
    item.Haoma = haoma;
    item.ResetHaomaInfo();
    return item;
}

struct GroupCase {
    int group;
    const char *str, *wei, *reh, *rec, *r3h;
};

class Haoma12345 : public ::testing::TestWithParam<GroupCase> {};

// Worked out by hand for 12345, group by group.
TEST_P(Haoma12345, GroupFeatures) {
    const auto& c = GetParam();
    const LotteryItem item = itemOf("12345");
    EXPECT_EQ(text(item.GetSanmaInfo(c.group, "STR")), c.str);
    EXPECT_EQ(text(item.GetSanmaInfo(c.group, "WEI")), c.wei);
    EXPECT_EQ(text(item.GetSanmaInfo(c.group, "REH")), c.reh);
    EXPECT_EQ(text(item.GetSanmaInfo(c.group, "REC")), c.rec);
    EXPECT_EQ(text(item.GetSanmaInfo(c.group, "R3H")), c.r3h);
}

INSTANTIATE_TEST_SUITE_P(AllGroups, Haoma12345,
                         ::testing::Values(GroupCase{0, "123", "6", "345", "12", "6"},
                                           GroupCase{1, "124", "7", "356", "123", "7"},
                                           GroupCase{2, "125", "8", "367", "134", "8"},
                                           GroupCase{3, "134", "8", "457", "123", "8"},
                                           GroupCase{4, "135", "9", "468", "24", "9"},
                                           GroupCase{5, "145", "0", "569", "134", "0"},
                                           GroupCase{6, "234", "9", "567", "12", "9"},
                                           GroupCase{7, "235", "0", "578", "123", "0"},
                                           GroupCase{8, "245", "1", "679", "123", "1"},
                                           GroupCase{9, "345", "2", "789", "12", "2"},
                                           GroupCase{10, "1234", "0", "34567", "123", "6789"},
                                           GroupCase{11, "2345", "4", "56789", "123", "0129"}));

TEST(DrawRecord, AllZeroDrawHasZeroFeatures) {
    const LotteryItem item = itemOf("00000");
    for (int g = 0; g < kGroupCount; ++g) {
        EXPECT_EQ(text(item.GetSanmaInfo(g, "STR")), g < 10 ? "000" : "0000") << g;
        for (const char* key : {"WEI", "REH", "REC", "R3H"})
            EXPECT_EQ(text(item.GetSanmaInfo(g, key)), "0") << g << key;
    }
}

TEST(DrawRecord, GroupWithLeadingZerosKeepsThemAndUsesTheSmallRecord) {
    const LotteryItem item = itemOf("00007");
    for (int g : {2, 5, 9}) { // 万千个, 万十个, 百十个: all read 0, 0, 7
        EXPECT_EQ(text(item.GetSanmaInfo(g, "STR")), "007") << g;
        EXPECT_EQ(text(item.GetSanmaInfo(g, "WEI")), "7");
        EXPECT_EQ(text(item.GetSanmaInfo(g, "REH")), "07");
        EXPECT_EQ(text(item.GetSanmaInfo(g, "REC")), "07");
        EXPECT_EQ(text(item.GetSanmaInfo(g, "R3H")), "7");
    }
    EXPECT_EQ(text(item.GetSanmaInfo(11, "STR")), "0007");
    EXPECT_EQ(text(item.GetSanmaInfo(11, "R3H")), "07"); // 0+0+0, 0+0+7 ...
}

TEST(DrawRecord, RandomDrawsMatchReferenceInEveryGroup) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int n = 0; n < 500; ++n) {
        std::string haoma;
        for (int k = 0; k < 5; ++k)
            haoma.push_back(char('0' + digit(rng)));
        const LotteryItem item = itemOf(haoma);
        for (int g = 0; g < kGroupCount; ++g) {
            const auto f = reftest::featuresOf(reftest::groupDigits(haoma, g));
            ASSERT_EQ(text(item.GetSanmaInfo(g, "STR")), f.str) << haoma << " g" << g;
            ASSERT_EQ(text(item.GetSanmaInfo(g, "WEI")), f.wei) << haoma << " g" << g;
            ASSERT_EQ(text(item.GetSanmaInfo(g, "REH")), f.reh) << haoma << " g" << g;
            ASSERT_EQ(text(item.GetSanmaInfo(g, "REC")), f.rec) << haoma << " g" << g;
            ASSERT_EQ(text(item.GetSanmaInfo(g, "R3H")), f.r3h) << haoma << " g" << g;
        }
    }
}

TEST(DrawRecord, GroupNames) {
    const char* const names[12] = {"万千百", "万千十", "万千个", "万百十", "万百个", "万十个",
                                   "千百十", "千百个", "千十个", "百十个", "前四星", "后四星"};
    for (int g = 0; g < kGroupCount; ++g)
        EXPECT_EQ(GroupName(g), names[g]);
}

TEST(GetSanmaInfo, KeysIgnoreLetterCase) {
    const LotteryItem item = itemOf("12345");
    EXPECT_EQ(text(item.GetSanmaInfo(4, "str")), "135");
    EXPECT_EQ(text(item.GetSanmaInfo(4, "Wei")), "9");
    EXPECT_EQ(text(item.GetSanmaInfo(4, "rEh")), "468");
    EXPECT_EQ(text(item.GetSanmaInfo(4, "r3h")), "9");
    const auto cells = item.GetSanmaInfo(4, "wyl");
    ASSERT_TRUE(std::holds_alternative<std::vector<Cell>>(cells));
    EXPECT_EQ(std::get<std::vector<Cell>>(cells).size(), 10u);
}

TEST(GetSanmaInfo, UnknownKeyIsEmpty) {
    const LotteryItem item = itemOf("12345");
    for (const char* key : {"", "XYZ", "ST", "STRX", "HOT", "HotOrder"})
        EXPECT_TRUE(std::holds_alternative<std::monostate>(item.GetSanmaInfo(4, key))) << key;
}

TEST(GetSanmaInfo, ArrayKeysHaveTheirSizes) {
    const LotteryItem item = itemOf("12345");
    const std::pair<const char*, std::size_t> keys[] = {{"H3Y", 10}, {"HYL", 10}, {"CYL", 10},
                                                        {"WYL", 10}, {"HHO", 10}, {"R3A", 4},
                                                        {"SMA", 4},  {"RHA", 4},  {"RCA", 4}};
    for (auto [key, size] : keys) {
        const auto v = item.GetSanmaInfo(0, key);
        ASSERT_TRUE(std::holds_alternative<std::vector<Cell>>(v)) << key;
        const auto& cells = std::get<std::vector<Cell>>(v);
        EXPECT_EQ(cells.size(), size) << key;
        // A fresh record: counts 0, statistics cells empty.
        for (const Cell& c : cells)
            EXPECT_TRUE(std::string(key) == "HHO" ? c == Cell::ofNumber(0) : c.isEmpty()) << key;
    }
}

std::vector<double> hho(const LotteryItem& item, int g) {
    std::vector<double> out;
    const SanmaValue v = item.GetSanmaInfo(g, "HHO");
    for (const Cell& c : std::get<std::vector<Cell>>(v))
        out.push_back(c.value());
    return out;
}

TEST(CountHotNumber, AddsEveryCharacterAndCopiesIntoTheGroup) {
    LotteryItem item = itemOf("12345");
    std::array<std::int16_t, 10> counts{};
    item.CountHotNumber(counts, "112", "HM", true, 9);
    EXPECT_EQ(counts, (std::array<std::int16_t, 10>{0, 2, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(hho(item, 9), (std::vector<double>{0, 2, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(hho(item, 8), std::vector<double>(10, 0)); // other groups untouched

    item.CountHotNumber(counts, "1", "hm", false, 9); // type compared without letter case
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(hho(item, 9)[1], 1);
}

TEST(CountHotNumber, OtherTypeOnlyChangesTheCounts) {
    LotteryItem item = itemOf("12345");
    std::array<std::int16_t, 10> counts{};
    item.CountHotNumber(counts, "999", "XX", true, 3);
    EXPECT_EQ(counts[9], 3);
    EXPECT_EQ(hho(item, 3), std::vector<double>(10, 0));
}

struct OrderCase {
    std::array<std::int16_t, 10> counts;
    const char* expected;
};

class DigitOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(DigitOrder, LargestFirstTiesAscending) {
    EXPECT_EQ(DigitOrderByCount(GetParam().counts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, DigitOrder,
    ::testing::Values(OrderCase{{3, 0, 3, 1, 0, 2, 0, 1, 0, 0}, "0253714689"},
                      OrderCase{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "0123456789"},
                      OrderCase{{0, 0, 0, 0, 0, 0, 0, 0, 0, 30}, "9012345678"},
                      OrderCase{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "9876543210"},
                      OrderCase{{-5, 1, 0, 0, 0, 0, 0, 0, 0, 4}, "0912345678"}, // by absolute value
                      OrderCase{{99, 98, 0, 0, 0, 0, 0, 0, 0, 99}, "0912345678"},
                      // counts no 10-draw window reaches, after drift across reloads
                      OrderCase{{2047, 2048, -32768, 32767, 0, 0, 0, 0, 0, 2048}, "2319045678"}));

// The row of a draw without statistics: period, number, the mark alone in cells 3..12.
TEST(GetGridArray, FirstDrawRow) {
    const LotteryItem item = itemOf("12345", "0101");
    for (int g = 0; g < kGroupCount; ++g) {
        const GridRow row = item.GetGridArray(g);
        EXPECT_EQ(row[1], Cell::ofText("0101"));
        EXPECT_EQ(row[2], Cell::ofText("12345"));
        for (int i = 3; i <= 12; ++i) {
            EXPECT_EQ(row[i], Cell::ofText("\x1e")) << i;
            EXPECT_TRUE(row[i].isMark());
            EXPECT_EQ(row[i].shown(), "");
        }
        for (int i = 13; i <= 68; ++i)
            EXPECT_TRUE(row[i].isEmpty()) << i;
    }
}

// Cells of a row block by block against the values read by key, on a draw with every
// statistic computed (the 14th draw held).
TEST(GetGridArray, LayoutFollowsTheKeys) {
    LotteryClass lottery;
    const char* draws[] = {"12345", "67890", "13579", "24680", "11223", "44556", "77889",
                           "90817", "26354", "55555", "10293", "84756", "31415", "92653"};
    int n = 0;
    for (const char* d : draws)
        lottery.ProcessDraw(std::to_string(++n), d);
    const LotteryItem& item = *lottery.state().PreItem01;
    struct Block {
        int first;
        const char* key;
    };
    const Block blocks[] = {{13, "SMA"}, {17, "H3Y"}, {27, "R3A"}, {31, "HYL"},
                            {41, "RHA"}, {45, "CYL"}, {55, "RCA"}, {59, "WYL"}};
    for (int g = 0; g < kGroupCount; ++g) {
        const GridRow row = item.GetGridArray(g);
        EXPECT_EQ(row[1], Cell::ofText("14"));
        EXPECT_EQ(row[2], Cell::ofText("92653"));
        for (const Block& b : blocks) {
            const auto cells = std::get<std::vector<Cell>>(item.GetSanmaInfo(g, b.key));
            for (std::size_t k = 0; k < cells.size(); ++k)
                EXPECT_EQ(row[b.first + int(k)], cells[k]) << "group " << g << " " << b.key << k;
        }
        const std::string str = text(item.GetSanmaInfo(g, "STR"));
        const std::string hot(item.group(g).HotOrder());
        ASSERT_EQ(hot.size(), 10u);
        for (int i = 0; i < 10; ++i) {
            const std::string digit(1, hot[std::size_t(i)]);
            const bool inStr = str.find(digit) != std::string::npos;
            EXPECT_EQ(row[3 + i], inStr ? Cell::ofText("\x1e" + digit) : Cell::ofText(digit))
                << "group " << g << " rank " << i;
        }
    }
}

} // namespace
} // namespace zuohao

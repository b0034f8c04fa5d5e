// The list of lotteries: the name rule shared with the archive, and add / rename / remove with
// the built-in lotteries kept in place.
#include <gtest/gtest.h>

#include <string>

#include "core/model/LotteryName.h"
#include "core/model/LotteryRegistry.h"

using namespace zuohao;

TEST(LotteryName, RuleOfEveryName) {
    const struct {
        std::string name;
        LotteryNameFault fault;
    } cases[] = {
        {"重庆时时彩", LotteryNameFault::None},
        {std::string(kMaxLotteryNameChars, 'x'), LotteryNameFault::None},
        {std::string(kMaxLotteryNameChars + 1, 'x'), LotteryNameFault::TooLong},
        {"", LotteryNameFault::Empty},
        {"   ", LotteryNameFault::Empty},
        {"\xE3\x80\x80 ", LotteryNameFault::Empty}, // an ideographic space and a space
        {"bad\xFF", LotteryNameFault::NotUtf8},
        {"c1\xC2\x85", LotteryNameFault::ControlChar},
        {"tab\there", LotteryNameFault::ControlChar},
        {"del\x7F", LotteryNameFault::ControlChar},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckLotteryName(c.name), c.fault) << c.name;
        EXPECT_EQ(LotteryNameFaultText(c.fault).empty(), c.fault == LotteryNameFault::None);
        EXPECT_EQ(LotteryNameFaultCaption(c.fault).empty(), c.fault == LotteryNameFault::None);
    }
    // 40 Chinese characters are 120 bytes and still a name.
    std::string forty;
    for (std::size_t i = 0; i < kMaxLotteryNameChars; ++i)
        forty += "彩";
    EXPECT_EQ(CheckLotteryName(forty), LotteryNameFault::None);
    EXPECT_EQ(TrimLotteryName("\xE3\x80\x80 新彩 \xE3\x80\x80"), "新彩");
}

TEST(LotteryRegistry, StartsWithTheBuiltInLotteries) {
    const LotteryRegistry r;
    ASSERT_EQ(r.size(), int(kLotteryKinds.size()));
    for (int i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r.at(i)->name, LotteryKindAt(i)->name);
        EXPECT_EQ(r.at(i)->naming, LotteryKindAt(i)->naming);
        EXPECT_EQ(r.at(i)->periodsPerDay, LotteryKindAt(i)->periodsPerDay);
        EXPECT_TRUE(r.at(i)->fixed);
        EXPECT_EQ(NextPeriodLabel(*r.at(i), "202501010119"), NextPeriodLabel(i, "202501010119"));
    }
    EXPECT_EQ(r.at(r.size()), nullptr);
    EXPECT_EQ(r.at(-1), nullptr);
}

TEST(LotteryRegistry, AddRefusesWhatCannotNameOrNumberALottery) {
    const struct {
        std::string name;
        PeriodNaming naming;
        int perDay;
        std::string refusal; // empty: added
    } cases[] = {
        {" 新彩一 ", PeriodNaming::DateLabel, kPeriodsPerDay, ""},
        {"New", PeriodNaming::DayCount, 60, ""},
        {"vr3分彩", PeriodNaming::DateLabel, kPeriodsPerDay, kDuplicateNameCaption}, // case
        {"VR3分彩", PeriodNaming::DateLabel, kPeriodsPerDay, kDuplicateNameCaption},
        {"  腾讯分分彩\xE3\x80\x80", PeriodNaming::DateLabel, kPeriodsPerDay,
         kDuplicateNameCaption},
        {"NEW", PeriodNaming::DateLabel, kPeriodsPerDay, kDuplicateNameCaption},
        {"  ", PeriodNaming::DateLabel, kPeriodsPerDay,
         LotteryNameFaultCaption(LotteryNameFault::Empty)},
        {"x\ny", PeriodNaming::DateLabel, kPeriodsPerDay,
         LotteryNameFaultCaption(LotteryNameFault::ControlChar)},
        {"短天", PeriodNaming::DateLabel, 120, kPeriodsPerDayCaption},
        {"零期", PeriodNaming::DayCount, 0, kPeriodsPerDayCaption},
        {"千期", PeriodNaming::DayCount, 1000, kPeriodsPerDayCaption},
    };
    LotteryRegistry r;
    for (const auto& c : cases) {
        const int before = r.size();
        const auto added = r.add(c.name, "/d.txt", c.naming, c.perDay);
        if (c.refusal.empty()) {
            ASSERT_TRUE(added) << c.name << ": " << added.error();
            EXPECT_EQ(*added, before);
            EXPECT_EQ(r.at(before)->name, std::string(TrimLotteryName(c.name)));
            EXPECT_FALSE(r.at(before)->fixed);
        } else {
            ASSERT_FALSE(added) << c.name;
            EXPECT_EQ(added.error(), c.refusal) << c.name;
            EXPECT_EQ(r.size(), before);
        }
    }
    EXPECT_EQ(r.find("新彩一"), 2);
    EXPECT_EQ(r.find(" new"), 3);
}

TEST(LotteryRegistry, FullListRefusesMore) {
    LotteryRegistry r;
    for (int i = r.size(); i < kMaxLotteries; ++i)
        ASSERT_TRUE(r.add("彩" + std::to_string(i)));
    const auto more = r.add("one too many");
    ASSERT_FALSE(more);
    EXPECT_EQ(more.error(), kListFullCaption);
}

TEST(LotteryRegistry, RenameRemoveAndSettingsKeepTheBuiltInOnes) {
    LotteryRegistry r;
    ASSERT_TRUE(r.add("甲"));
    ASSERT_TRUE(r.add("乙", "", PeriodNaming::DayCount, 120));
    const struct {
        const char* what;
        Result<void> result;
        std::string refusal;
    } cases[] = {
        {"rename fixed", r.rename(0, "别名"), kFixedLotteryCaption},
        {"remove fixed", r.remove(1), kFixedLotteryCaption},
        {"naming fixed", r.setNaming(1, PeriodNaming::DayCount, 60), kFixedNamingCaption},
        {"rename to taken", r.rename(2, "乙"), kDuplicateNameCaption},
        {"rename to blank", r.rename(2, " "), LotteryNameFaultCaption(LotteryNameFault::Empty)},
        {"rename outside", r.rename(9, "丙"), "没有这种彩票"},
        {"remove outside", r.remove(-1), "没有这种彩票"},
        {"rename to own name", r.rename(3, " 乙 "), ""},
        {"rename", r.rename(2, "丙"), ""},
        {"draw file of fixed", r.setDrawFile(1, "/vr3.txt"), ""},
        {"naming", r.setNaming(3, PeriodNaming::DateLabel, kPeriodsPerDay), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result ? std::string() : c.result.error(), c.refusal) << c.what;
    EXPECT_EQ(r.at(0)->name, "腾讯分分彩");
    EXPECT_EQ(r.at(1)->drawFile, "/vr3.txt");
    EXPECT_EQ(r.at(2)->name, "丙");
    EXPECT_EQ(r.at(3)->naming, PeriodNaming::DateLabel);
    ASSERT_TRUE(r.remove(2));
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r.at(2)->name, "乙"); // the later one moved up
    EXPECT_FALSE(r.find("丙"));
    ASSERT_TRUE(r.add("丙")); // a removed name is free again
}

TEST(LotteryRegistry, NextPeriodOfAPlayersLottery) {
    LotteryRegistry r;
    ASSERT_TRUE(r.add("六十期", "", PeriodNaming::DayCount, 60));
    EXPECT_EQ(NextPeriodLabel(*r.at(2), "20250101059"), "060期");
    EXPECT_EQ(NextPeriodLabel(*r.at(2), "20250101060"), "001期");
}

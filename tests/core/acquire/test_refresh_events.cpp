// What one refresh returns: every draw that entered, every plan line scored, every period whose
// evaluation raised the monitor's alarm (not only the last), the monitor restart, and a
// corrected draw as a correction.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "../../support/support_conditions.h"
#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "core/plan/Plan.h"
#include "support_files.h"

namespace zuohao {
namespace {

using testing::haomaOf;
using testing::newestFirstText;

class TextSource : public DrawSource {
public:
    std::optional<std::string> text;
    std::optional<std::string> ReadText() override { return text; }
};

using Labels = std::vector<std::string>;

struct RefreshCase {
    const char* name;
    bool plan;       // a plan runs: each new draw scores the line before it
    bool monitoring; // the monitor is on
    bool baseSet;    // the lottery has a base set the monitor can start from
    int newDraws;    // draws the refresh brings after 1010
    Labels scored;   // the draws whose lines were scored
    Labels alarms;
    MonitorRestart restart;
};

void PrintTo(const RefreshCase& c, std::ostream* os) {
    *os << c.name;
}

class OneRefresh : public ::testing::TestWithParam<RefreshCase> {};

// With every number in the base set every period hits; the trigger counts runs of 0 misses, so
// from a fresh monitor the 2nd, 4th, 6th ... period raise the alarm (the odd ones end its plan).
TEST_P(OneRefresh, ReturnsEveryEnteredScoredAndAlarmedPeriod) {
    const RefreshCase& c = GetParam();
    TextSource source;
    LotteryClass lottery;
    MonitorState& monitor = lottery.monitor();
    monitor.SegmentSettings = {0, 30, 3, 0};
    monitor.SegmentPeriod = 10;
    lottery.setDrawSource(&source);
    lottery.setPositionIndex(9);
    zuohao::testing::EditConditions(lottery, [&](ConditionSet& given) {
        given.KUA = ""; // no condition: the base set holds all 1000 numbers
    });
    source.text = newestFirstText(1010, 10);
    const RefreshEvents loaded = lottery.GetLotteryHisroty(AskForFile::No);
    EXPECT_EQ(loaded.entered.size(), 10u);
    EXPECT_TRUE(loaded.historyLoaded && loaded.drew);
    if (c.baseSet) {
        ASSERT_TRUE(lottery.GetSuoshuiDadi().ok());
    }
    if (c.plan) {
        ASSERT_TRUE(lottery.StartPlan().ok());
    }
    monitor.Monitoring = c.monitoring;

    source.text = newestFirstText(1010 + c.newDraws, 10 + c.newDraws);
    const RefreshEvents e = lottery.GetLotteryNew();

    Labels entered, scored, alarms;
    for (const DrawEntered& d : e.entered) {
        entered.push_back(d.period);
        EXPECT_EQ(d.haoma, haomaOf(std::stoll(d.period)));
    }
    for (const PlanScored& s : e.scored) {
        scored.push_back(s.period);
        EXPECT_EQ(s.line.outcome, PlanOutcome::Hit) << s.period;
        EXPECT_EQ(s.line.period, std::to_string(std::stoll(s.period) + 1) + "期");
    }
    for (const AlarmRaised& a : e.alarms) {
        alarms.push_back(a.period);
        EXPECT_EQ(a.group, 9);
        EXPECT_EQ(a.missRun, 0);
    }
    Labels expected;
    for (int k = 1; k <= c.newDraws; ++k)
        expected.push_back(std::to_string(1010 + k));
    EXPECT_EQ(entered, expected);
    EXPECT_EQ(scored, c.scored);
    EXPECT_EQ(alarms, c.alarms);
    EXPECT_EQ(e.restart, c.restart);
    EXPECT_EQ(e.restartProblem.empty(), c.restart != MonitorRestart::Skipped);
    EXPECT_TRUE(e.drew);
    EXPECT_FALSE(e.historyLoaded);
    EXPECT_EQ(e.alarmPlan.baseCount, e.alarms.empty() ? -1 : 1000);
    EXPECT_TRUE(e.corrected.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refreshes, OneRefresh,
    ::testing::Values(
        RefreshCase{"DrawsOnly", false, false, true, 3, {}, {}, MonitorRestart::None},
        RefreshCase{"PlanScoresEachLine",
                    true,
                    false,
                    true,
                    3,
                    {"1010", "1011", "1012"},
                    {},
                    MonitorRestart::None},
        RefreshCase{"MonitorTellsEveryAlarm",
                    false,
                    true,
                    true,
                    5,
                    {},
                    {"1012", "1014"},
                    MonitorRestart::Done},
        RefreshCase{"PlanAndMonitor",
                    true,
                    true,
                    true,
                    5,
                    {"1010", "1011", "1012", "1013", "1014"},
                    {"1012", "1014"},
                    MonitorRestart::Done},
        RefreshCase{
            "MonitorWithoutBaseSet", false, true, false, 2, {}, {}, MonitorRestart::Skipped}),
    [](const auto& instance) { return std::string(instance.param.name); });

// A stable read that gives another number for a held draw returns the correction (with both
// numbers); the held draws rebuilt after it are not told as new, the fresh one is. The first
// read of the changed text is held back: it returns nothing.
TEST(OneRefresh, ACorrectionIsReturnedAsSuch) {
    TextSource source;
    LotteryClass lottery;
    std::chrono::steady_clock::time_point now{};
    lottery.setFeedClock([&now] { return now; });
    lottery.setDrawSource(&source);
    source.text = newestFirstText(1010, 10);
    (void)lottery.GetLotteryHisroty(AskForFile::No);
    std::string text = newestFirstText(1011, 11);
    const std::string wrong = haomaOf(1008), fixed = "12345";
    text.replace(text.find(wrong), wrong.size(), fixed);
    source.text = text;
    const RefreshEvents held = lottery.GetLotteryNew();
    EXPECT_TRUE(held.entered.empty() && held.corrected.empty() && !held.drew);
    now += kLeastQuietTime;
    const RefreshEvents e = lottery.GetLotteryNew();
    ASSERT_EQ(e.corrected.size(), 1u);
    EXPECT_EQ(e.corrected[0], (DrawCorrected{"1008", wrong, fixed}));
    ASSERT_EQ(e.entered.size(), 1u);
    EXPECT_EQ(e.entered[0], (DrawEntered{"1011", haomaOf(1011)}));
    EXPECT_TRUE(e.drew);
    EXPECT_EQ(*lottery.state().LotteryDic_Jiankong.find("1008"), fixed);
}

} // namespace
} // namespace zuohao

// The replay of all periods, switching monitoring on and off, and the feed from the draw
// pipeline while a monitor plan runs.
#include <gtest/gtest.h>

#include "core/model/NumberTables.h"
#include "support_monitor.h"

namespace zuohao {
namespace {

using testing::MonitorRig;
using testing::Numbers;

// A rig whose lottery holds draws (label -> number) for the replay; group 百十个.
struct ReplayRig : MonitorRig {
    // The periods held go straight into a lottery's data, as no draw feed would enter them.
    LotteryState held;
    ReplayRig() {
        BuildNumberTables();
        lottery.setPositionIndex(9);
        held.conditions.IDX = 9;
    }
    void hold(const std::string& label, const std::string& haoma) {
        held.LotteryDic_Jiankong.Add(label, haoma);
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const MonitorRow& r : state.MonitorRows)
            out.push_back(r.period.text());
        return out;
    }
};

using Keys = std::vector<std::string>;

TEST(PeriodKey, DecimalTextOfTheNumericValue) {
    EXPECT_EQ(PeriodKey("0931"), "931");
    EXPECT_EQ(PeriodKey("931"), "931");
    EXPECT_EQ(PeriodKey("202612080931"), "202612080931");
    EXPECT_EQ(PeriodKey("0000"), "0");
    EXPECT_EQ(PeriodKey("期"), "0");
}

TEST(Replay, KeysArePeriodValuesAndNumbersTheGroupDigits) {
    ReplayRig m;
    m.state.Monitoring = true;
    m.state.MonitorBase = Numbers("931 562");
    m.hold("0931", "00931");
    m.hold("0932", "69562");
    m.hold("0933", "12345");
    ReplayMonitor(m.held, m.state);
    EXPECT_EQ(m.keys(), (Keys{"931", "932", "933"}));
    EXPECT_EQ(m.row(931).Qishu1, "931");
    EXPECT_EQ(m.row(931).Haoma1, "931");
    EXPECT_EQ(m.row(932).Haoma1, "562");
    EXPECT_EQ(m.row(931).Zgua, "中");
    EXPECT_EQ(m.row(932).Zgua, "中");
    EXPECT_EQ(m.row(933).Zgua, "挂");
    EXPECT_TRUE(m.state.ReplayDone);
}

TEST(Replay, NothingWhileMonitoringIsOff) {
    ReplayRig m;
    m.hold("1", "11111");
    ReplayMonitor(m.held, m.state);
    EXPECT_TRUE(m.state.MonitorRows.empty());
    EXPECT_TRUE(m.state.ReplayDone);
}

TEST(Replay, PeriodsBeforeTheLockArePlaceholders) {
    ReplayRig m;
    m.state.Monitoring = true;
    m.state.LockPeriod = Period::parse("0005");
    for (int q = 1; q <= 8; ++q)
        m.hold(std::to_string(q), "00111");
    ReplayMonitor(m.held, m.state);
    ASSERT_EQ(m.keys(), (Keys{"1", "2", "3", "4", "5", "6", "7", "8"}));
    for (int k : {1, 2, 3, 4}) {
        const MonitorRow* r = m.state.MonitorRows.find(Period(k));
        ASSERT_NE(r, nullptr);
        EXPECT_FALSE(r->evaluated());
        EXPECT_EQ(m.row(k).Qishu1, "") << "a placeholder shows no period";
        EXPECT_EQ(m.row(k).Haoma1, "");
        EXPECT_EQ(m.row(k).Zgua, "");
        EXPECT_EQ(m.row(k).Jhzg, "");
    }
    EXPECT_EQ(m.row(5).Qishu1, "5");
    EXPECT_EQ(m.row(5).Zsu, "1") << "the first evaluated period opens the segment";
    EXPECT_EQ(m.row(8).Zsu, "4");
}

// Labels that differ only in leading zeros are one period, on both sides of the lock.
TEST(Replay, RepeatedKeysAreOnePeriod) {
    ReplayRig m;
    m.state.Monitoring = true;
    m.state.LockPeriod = Period::parse("100");
    m.hold("0007", "00111");
    m.hold("7", "00999");
    m.hold("00007", "00999");
    m.hold("0100", "00111");
    m.hold("100", "00999");
    ReplayMonitor(m.held, m.state);
    EXPECT_EQ(m.keys(), (Keys{"7", "100"}));
    EXPECT_EQ(m.row(100).Zgua, "中") << "the first label of the period is evaluated";
    EXPECT_TRUE(m.state.ReplayDone);
}

TEST(Replay, ABlankRowPerPeriodBeforeTheLockKeepsAtMost100Rows) {
    ReplayRig m;
    m.state.Monitoring = true;
    m.state.LockPeriod = Period::parse("1000000");
    for (int q = 1; q <= 150; ++q)
        m.hold(std::to_string(q), "00111");
    ReplayMonitor(m.held, m.state);
    EXPECT_LE(m.state.MonitorRows.Count(), 100u);
    EXPECT_EQ(m.state.MonitorRows.Count(), 100u);
    EXPECT_EQ(m.state.MonitorRows.front().period, Period(51));
    EXPECT_EQ(m.state.MonitorRows.back().period, Period(150));
}

TEST(Replay, ReplayWritesNoLogButKeepsPlanStateAndLog) {
    ReplayRig m;
    m.state.Monitoring = true;
    m.settings("0", "10", "3", "1");
    m.state.Log = {{{}, {}, "earlier"}};
    // miss, hit, miss: alarm at 3; then three misses end the plan with 挂
    const char* numbers[] = {"00999", "00111", "00999", "00999", "00999", "00999", "00999"};
    for (int q = 0; q < 7; ++q)
        m.hold(std::to_string(q + 1), numbers[q]);
    ReplayMonitor(m.held, m.state);
    EXPECT_EQ(m.row(3).Jhzg, "告警");
    EXPECT_EQ(m.row(6).Jhzg, "挂");
    EXPECT_EQ(m.state.LogText(), "earlier");
    EXPECT_TRUE(m.state.ReplayDone);
}

TEST(ReashStar, WithoutABaseSetNothingChanges) {
    for (bool monitoring : {false, true}) {
        ReplayRig m;
        m.state.Monitoring = monitoring;
        m.state.Start = monitoring ? StartButton::Stop : StartButton::Start;
        m.state.MonitorBase = NumberList();
        m.state.MonitorRows.push(MonitorRow::placeholder(Period(1)));
        m.state.SegmentPos = 2;
        m.hold("2", "00111");
        auto r = ReashStar(m.state, m.held, Numbers(""));
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error(), "未有【过滤大底】，先去做出大底");
        EXPECT_EQ(r.code(), ErrorCode::NoBaseSet);
        EXPECT_EQ(m.state.Monitoring, monitoring);
        EXPECT_EQ(m.state.StartCaption(), monitoring ? kStopCaption : kStartCaption);
        EXPECT_EQ(m.keys(), (Keys{"1"}));
        EXPECT_EQ(m.state.SegmentPos, 0);
    }
}

TEST(ReashStar, SwitchesOnAndReplaysFromANewSegment) {
    ReplayRig m;
    m.settings("", "", "", "", "2");
    m.state.MonitorBase = NumberList();
    m.state.SegmentPos = 1;
    m.state.MonitorRows.push(MonitorRow::placeholder(Period(99)));
    for (int q = 1; q <= 3; ++q)
        m.hold(std::to_string(q), "00111");
    ASSERT_TRUE(ReashStar(m.state, m.held, Numbers("111 222")).ok());
    EXPECT_TRUE(m.state.Monitoring);
    EXPECT_EQ(m.state.StartCaption(), "停止监控");
    EXPECT_FALSE(m.state.PeriodListEnabled);
    EXPECT_EQ(m.state.MonitorBase.text(), "111 222");
    EXPECT_EQ(m.keys(), (Keys{"1", "2", "3"}));
    EXPECT_EQ(m.row(2).XHxain, 1) << "the segment position starts from 0 again";
    EXPECT_TRUE(m.state.ReplayDone);
}

TEST(ReashStar, ARunningPlanFreezesTheBaseSet) {
    ReplayRig m;
    m.state.PlanRunning = true;
    m.state.MonitorBase = Numbers("111");
    m.hold("1", "00222");
    ASSERT_TRUE(ReashStar(m.state, m.held, Numbers("222")).ok());
    EXPECT_EQ(m.state.MonitorBase.text(), "111");
    EXPECT_EQ(m.row(1).Zgua, "挂");
    EXPECT_EQ(m.row(1).JHcount, 1) << "the replay begins with the plan still running";

    ReplayRig n;
    n.state.PlanRunning = true;
    n.state.MonitorBase = Numbers("111");
    EXPECT_TRUE(ReashStar(n.state, n.held, Numbers("")).ok()) << "the frozen base set is used";
    EXPECT_TRUE(n.state.Monitoring);
}

TEST(ToggleMonitoring, OffKeepsRowsAndPlan) {
    ReplayRig m;
    m.hold("1", "00111");
    ASSERT_TRUE(ToggleMonitoring(m.state, m.held, Numbers("111")).ok());
    EXPECT_TRUE(m.state.Monitoring);
    m.state.PlanRunning = true;
    m.state.SegmentPos = 3;
    ASSERT_TRUE(ToggleMonitoring(m.state, m.held, Numbers("")).ok());
    EXPECT_FALSE(m.state.Monitoring);
    EXPECT_EQ(m.state.StartCaption(), "开始监控");
    EXPECT_TRUE(m.state.PeriodListEnabled);
    EXPECT_EQ(m.keys(), (Keys{"1"}));
    EXPECT_TRUE(m.state.PlanRunning);
    EXPECT_EQ(m.state.SegmentPos, 0);

    auto again = ToggleMonitoring(m.state, m.held, Numbers(""));
    EXPECT_TRUE(again.ok()) << "the running plan's base set is still there";
    EXPECT_TRUE(m.state.Monitoring);
}

TEST(ToggleMonitoring, OnWithoutBaseSetFails) {
    ReplayRig m;
    auto r = ToggleMonitoring(m.state, m.held, Numbers(""));
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(m.state.Monitoring);
    EXPECT_EQ(m.state.StartCaption(), "开始监控");
}

struct FeedCase {
    const char* name;
    bool monitoring;
    bool planRunning;
    bool fed;
};

void PrintTo(const FeedCase& c, std::ostream* os) {
    *os << c.name;
}

class PipelineFeed : public ::testing::TestWithParam<FeedCase> {};

// A new draw reaches the monitor only while monitoring is on and a monitor plan runs, keyed
// like the replay keys it.
TEST_P(PipelineFeed, NewDraw) {
    const FeedCase& c = GetParam();
    ReplayRig m;
    m.lottery.ProcessDraw("0931", "12111");
    m.state.Monitoring = c.monitoring;
    m.state.PlanRunning = c.planRunning;
    const std::size_t before = m.state.MonitorRows.Count();
    m.lottery.ProcessDraw("0932", "54111");
    EXPECT_EQ(m.state.MonitorRows.Count(), before + (c.fed ? 1 : 0));
    if (c.fed) {
        EXPECT_EQ(m.keys().back(), "932");
        EXPECT_EQ(m.row(932).Haoma1, "111");
        EXPECT_EQ(m.row(932).Jhzg, "中1") << "the plan's first period hits";
        EXPECT_FALSE(m.state.PlanRunning);
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, PipelineFeed,
                         ::testing::Values(FeedCase{"Off", false, false, false},
                                           FeedCase{"OnNoPlan", true, false, false},
                                           FeedCase{"PlanButOff", false, true, false},
                                           FeedCase{"OnWithPlan", true, true, true}),
                         [](const auto& instance) { return std::string(instance.param.name); });

// The replay and the pipeline key a period alike: a label with leading zeros that the
// replay already evaluated is not evaluated again by the pipeline.
TEST(PipelineFeed, SamePeriodFromReplayAndPipelineIsOneRow) {
    ReplayRig m;
    m.lottery.ProcessDraw("931", "00999");
    ASSERT_TRUE(m.lottery.ReashStar(Numbers("111")).ok());
    m.state.PlanRunning = true;
    m.lottery.ProcessDraw("0931", "00111");
    m.lottery.ProcessDraw("0932", "00111");
    EXPECT_EQ(m.keys(), (Keys{"931", "932"}));
    EXPECT_EQ(m.row(931).Zgua, "挂");
}

// A plan that ends through the pipeline writes its log line, since the replay is done.
TEST(PipelineFeed, PlanEndWritesTheLog) {
    ReplayRig m;
    m.settings("0", "10", "3", "1");
    const char* numbers[] = {"00999", "00111", "00999"};
    for (int q = 0; q < 3; ++q)
        m.lottery.ProcessDraw(std::to_string(931 + q), numbers[q]);
    ASSERT_TRUE(m.lottery.ReashStar(Numbers("111")).ok());
    ASSERT_TRUE(m.state.PlanRunning) << "the replay raised the alarm at 933";
    EXPECT_TRUE(m.state.LogText().empty());
    m.lottery.ProcessDraw("0934", "00999");
    m.lottery.ProcessDraw("0935", "00111");
    EXPECT_FALSE(m.state.PlanRunning);
    EXPECT_EQ(m.row(935).Jhzg, "中2");
    EXPECT_EQ(m.state.LogText(), "935期 --- 中2");
    m.lottery.ProcessDraw("0936", "00111");
    EXPECT_EQ(m.state.MonitorRows.Count(), 5u) << "no plan runs: the pipeline leaves the monitor";
}

} // namespace
TEST(ToggleMonitoring, OffClearsTheAlarmAndThePlanLabel) {
    ReplayRig m;
    m.hold("1", "00111");
    ASSERT_TRUE(ToggleMonitoring(m.state, m.held, Numbers("111")).ok());
    m.state.AlarmSound = true;
    m.state.Outputs = m.state.SavedOutputs = {1, Numbers("111")};
    ASSERT_TRUE(ToggleMonitoring(m.state, m.held, Numbers("")).ok());
    EXPECT_FALSE(m.state.AlarmSound);
    EXPECT_EQ(m.state.PlanLabelCaption(), "");
    EXPECT_EQ(m.state.SavedPlanCaption(), "");
    EXPECT_EQ(m.state.BaseText(), "");
    EXPECT_EQ(m.state.SavedBaseText(), "");
    EXPECT_EQ(m.state.CopyButtonCaption(), "复制大底");
}

} // namespace zuohao

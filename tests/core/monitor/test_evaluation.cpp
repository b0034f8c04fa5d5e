// The evaluation of single periods: hits and misses, segments, the trigger, the alarm and
// the plan that follows it, the log.
#include <gtest/gtest.h>

#include <random>

#include "support_monitor.h"

namespace zuohao {
namespace {

using testing::MonitorRig;
using testing::Numbers;

// The fields of a row that the grid shows, as one comparable value.
struct RowView {
    std::string zgua;
    int towYluo;
    std::string zsu;
    std::string jhzg;
    int jhCount;
    int xhXain;
    bool operator==(const RowView&) const = default;
};

std::ostream& operator<<(std::ostream& os, const RowView& r) {
    return os << "{" << r.zgua << " 遗漏" << r.towYluo << " 次数'" << r.zsu << "' 计划'" << r.jhzg
              << "' JH" << r.jhCount << " XH" << r.xhXain << "}";
}

RowView view(const MonitorRow& row) {
    const testing::ShownRow r = testing::Shown(row);
    return {r.Zgua, r.TOW_yluo, r.Zsu, r.Jhzg, r.JHcount, r.XHxain};
}

std::vector<RowView> rows(const MonitorRig& m) {
    std::vector<RowView> out;
    for (const MonitorRow& r : m.state.MonitorRows)
        out.push_back(view(r));
    return out;
}

const std::string kHit = "中", kMiss = "挂", kAlarm = "告警";

TEST(MonitorEvaluation, RowTakesTheKeyAndPositionNumbers) {
    MonitorRig m;
    m.state.MonitorBase = Numbers("0123 4567");
    m.lottery.JiHuaDicAddNewClass("931", "123");
    m.lottery.JiHuaDicAddNewClass("932", "345");
    m.lottery.JiHuaDicAddNewClass("933", "4567"); // a four-digit group
    EXPECT_EQ(m.row(931).Qishu1, "931");
    EXPECT_EQ(m.row(931).Haoma1, "123");
    EXPECT_EQ(m.row(931).Zgua, kHit) << "a part of a longer base number is a hit";
    EXPECT_EQ(m.row(932).Zgua, kMiss) << "345 spans two base numbers only through a blank";
    EXPECT_EQ(m.row(933).Zgua, kHit);
}

// A setting the player types is read once into a number; what no count can equal reads 0.
TEST(MonitorEvaluation, SettingsAreReadOnceAsNumbers) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0},    {"10", 10}, {" 7", 7},  {"5s", 5},         {"3.0", 3},
                 {"2.5", 0}, {"abc", 0}, {"-2", -2}, {"99999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SettingValue(c.text), c.value) << c.text;
}

// A plan of length 3 started by the alarm misses its three periods and ends with 挂.
TEST(MonitorEvaluation, PlanOfThreePeriodsEndsMissed) {
    MonitorRig m;
    m.settings("0", "10", "3", "1");
    m.state.ReplayDone = true;
    m.feed("MHM");
    EXPECT_TRUE(m.state.AlarmSound);
    EXPECT_TRUE(m.state.PlanRunning);
    EXPECT_EQ(m.state.PlanLabelCaption(), "【第 1 期】进行中……");
    EXPECT_EQ(m.state.BaseText(), "111");
    EXPECT_EQ(m.state.CopyButtonCaption(), "复制大底 1注");
    EXPECT_EQ(m.state.SavedPlanCaption(), m.state.PlanLabelCaption());
    EXPECT_EQ(m.state.SavedBaseText(), "111");

    m.feed("MM");
    EXPECT_FALSE(m.state.AlarmSound) << "the alarm describes only the period evaluated last";
    EXPECT_EQ(m.state.PlanLabelCaption(), "【第 3 期】进行中……");
    m.feed("M");
    EXPECT_FALSE(m.state.PlanRunning);
    EXPECT_EQ(m.state.PlanLabelCaption(), "");
    EXPECT_EQ(m.state.BaseText(), "");
    EXPECT_EQ(m.state.CopyButtonCaption(), "复制大底");
    EXPECT_EQ(m.state.SavedPlanCaption(), "");

    const std::vector<RowView> expected{
        {kMiss, 1, "", "", 0, 0}, {kHit, 0, "1", "", 0, 0}, {kMiss, 1, "", kAlarm, 0, 0},
        {kMiss, 2, "", "", 1, 0}, {kMiss, 3, "", "", 2, 0}, {kMiss, 4, "", kMiss, 0, 0},
    };
    EXPECT_EQ(rows(m), expected);
    EXPECT_EQ(m.state.LogText(), "6期 --- 挂");
}

// The same alarm, and a hit in the plan's second period ends it with 中2.
TEST(MonitorEvaluation, HitInTheSecondPlanPeriodEndsWithItsNumber) {
    MonitorRig m;
    m.settings("0", "10", "3", "1");
    m.state.ReplayDone = true;
    m.state.Log = {{Period(3), {PlanMark::Miss, 0}, {}}};
    m.feed("MHMMH");
    const std::vector<RowView> expected{
        {kMiss, 1, "", "", 0, 0}, {kHit, 0, "1", "", 0, 0},    {kMiss, 1, "", kAlarm, 0, 0},
        {kMiss, 2, "", "", 1, 0}, {kHit, 0, "2", "中2", 2, 0},
    };
    EXPECT_EQ(rows(m), expected);
    EXPECT_FALSE(m.state.PlanRunning);
    EXPECT_EQ(m.state.LogText(), "3期 --- 挂\r\n5期 --- 中2") << "newest line last, CR LF between";
}

TEST(MonitorEvaluation, NoLogLineWhileReplaying) {
    MonitorRig m;
    m.settings("0", "10", "3", "1");
    m.state.ReplayDone = false;
    m.feed("MHMMH");
    EXPECT_EQ(m.row(5).Jhzg, "中2");
    EXPECT_EQ(m.state.LogText(), "");
}

TEST(MonitorEvaluation, LogLinesOfTwoPlansInOrder) {
    MonitorRig m;
    m.settings("0", "10", "1", "0"); // plans of one period, trigger on two hits
    m.state.ReplayDone = true;
    m.feed("HHMHHH");
    EXPECT_EQ(m.planColumn(), (std::vector<std::string>{"", kAlarm, kMiss, "", kAlarm, "中1"}));
    EXPECT_EQ(m.state.LogText(), "3期 --- 挂\r\n6期 --- 中1");
}

TEST(MonitorEvaluation, AllSettingsEmptyNeverAlarm) {
    MonitorRig m;
    std::mt19937 rng(99);
    for (int i = 0; i < 400; ++i) {
        m.feed(rng() % 3 ? "H" : "M");
        const testing::ShownRow last = testing::Shown(m.state.MonitorRows.back());
        ASSERT_NE(last.Jhzg, kAlarm) << "period " << i + 1;
        ASSERT_FALSE(m.state.AlarmSound);
        ASSERT_FALSE(m.state.PlanRunning);
        ASSERT_EQ(m.state.TriggerCount, 0);
        ASSERT_EQ(last.XHxain, 0) << "no segment ever ends";
    }
}

struct TriggerCase {
    const char* name;
    const char* s0;
    const char* s1;
    const char* s2;
    const char* s3;
    const char* seq;
    int firstAlarm; // 1-based period of the first 告警, 0 for none
};

void PrintTo(const TriggerCase& c, std::ostream* os) {
    *os << c.name;
}

class Trigger : public ::testing::TestWithParam<TriggerCase> {};

TEST_P(Trigger, FirstAlarm) {
    const TriggerCase& c = GetParam();
    MonitorRig m;
    m.settings(c.s0, c.s1, c.s2, c.s3);
    m.feed(c.seq);
    const auto column = m.planColumn();
    int first = 0;
    for (std::size_t i = 0; i < column.size() && !first; ++i)
        if (column[i] == kAlarm) first = int(i) + 1;
    EXPECT_EQ(first, c.firstAlarm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Trigger,
    ::testing::Values(
        // S3 = 0: the trigger counts hits (a hit makes the miss run 0).
        TriggerCase{"TwoHits", "0", "10", "2", "0", "HH", 2},
        TriggerCase{"HitMissHit", "0", "10", "2", "0", "HMH", 3},
        TriggerCase{"MissRunOfPlanLengthResets", "0", "10", "2", "0", "HMMH", 0},
        TriggerCase{"CountsAgainAfterTheReset", "0", "10", "2", "0", "HMMHH", 5},
        TriggerCase{"OneHitOnly", "0", "10", "2", "0", "MHMM", 0},
        // S3 = 1: the trigger counts miss runs reaching 1.
        TriggerCase{"MissRunsOfOne", "0", "10", "3", "1", "MHM", 3},
        TriggerCase{"MissRunOfThreeResets", "0", "10", "3", "1", "MMMHM", 0},
        // The hit count of the segment must lie in [S0, S1]; a miss counts 0.
        TriggerCase{"HitCountInRange", "2", "2", "2", "0", "HH", 2},
        TriggerCase{"HitCountBelowRange", "3", "3", "2", "0", "HH", 0},
        TriggerCase{"MissNeedsZeroInRange", "1", "10", "3", "1", "MHM", 0},
        // Plan length 0: every miss run resets the trigger (0 > -1).
        TriggerCase{"PlanLengthZero", "0", "10", "0", "0", "HHHHHH", 0},
        TriggerCase{"SettingsAreNumericPrefixes", " 0", "10x", "2期", "0abc", "HH", 2}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(MonitorEvaluation, AfterAPlanTheTriggerCountsAnew) {
    MonitorRig m;
    m.settings("0", "10", "3", "1");
    m.feed("MHM"); // alarm at 3
    m.feed("HMHM");
    // Period 4 hits and ends the plan; the next alarm needs two more miss runs of one.
    EXPECT_EQ(m.planColumn(), (std::vector<std::string>{"", "", kAlarm, "中1", "", "", kAlarm}));
}

TEST(MonitorEvaluation, SegmentsCloseAndRestartTheHitCount) {
    MonitorRig m;
    m.settings("", "", "", "", "3");
    m.feed("HHHHMH"
           "HHH"
           "MH");
    const std::vector<RowView> expected{
        {kHit, 0, "1", "", 0, 0},
        {kHit, 0, "2", "", 0, 0},
        {kHit, 0, "3", "", 0, 1},
        {kHit, 0, "1", "", 0, 0},
        {kMiss, 1, "", "", 0, 0},
        {kHit, 0, "2", "", 0, 1},
        {kHit, 0, "1", "", 0, 0},
        {kHit, 0, "2", "", 0, 0},
        {kHit, 0, "3", "", 0, 1},
        // A miss that opens a segment clears the carried count.
        {kMiss, 1, "", "", 0, 0},
        {kHit, 0, "1", "", 0, 0},
    };
    EXPECT_EQ(rows(m), expected);
    EXPECT_EQ(m.state.SegmentPos, 2);
}

TEST(MonitorEvaluation, NoSegmentLengthCountsEveryHit) {
    for (const char* segment : {"", "0", "x"}) {
        MonitorRig m;
        m.settings("", "", "", "", segment);
        m.feed("HHMHMMH");
        std::vector<std::string> zsu;
        std::vector<int> xh;
        for (const MonitorRow& r : m.state.MonitorRows) {
            zsu.push_back(HitCountText(r.Zsu));
            xh.push_back(r.XHxain);
        }
        EXPECT_EQ(zsu, (std::vector<std::string>{"1", "2", "", "3", "", "", "4"})) << segment;
        EXPECT_EQ(xh, std::vector<int>(7, 0)) << segment;
    }
}

TEST(MonitorEvaluation, KeepsTheNewest100Rows) {
    MonitorRig m;
    m.settings("0", "10", "3", "1", "5");
    std::string seq;
    for (int i = 0; i < 150; ++i)
        seq += (i * 7 % 5 < 2) ? 'H' : 'M';
    m.feed(seq);
    ASSERT_EQ(m.state.MonitorRows.Count(), 100u);
    EXPECT_EQ(m.state.MonitorRows.front().period, Period(51));
    EXPECT_EQ(m.state.MonitorRows.back().period, Period(150));
    int key = 51;
    for (const MonitorRow& r : m.state.MonitorRows)
        EXPECT_EQ(r.period, Period(key++));
    // The rows that stay are the ones an unbounded run evaluates: a new row over the oldest
    // one's place starts from the previous period's fields, not the overwritten ones.
    MonitorRig whole;
    whole.settings("0", "10", "3", "1", "5");
    std::vector<RowView> tail;
    for (char c : seq) {
        whole.feed(std::string(1, c));
        tail.push_back(view(whole.state.MonitorRows.back()));
    }
    tail.erase(tail.begin(), tail.end() - 100);
    EXPECT_EQ(rows(m), tail);
}

TEST(MonitorEvaluation, APeriodIsEvaluatedOnce) {
    MonitorRig m;
    m.settings("", "", "", "", "3");
    m.lottery.JiHuaDicAddNewClass("7", "111");
    m.lottery.JiHuaDicAddNewClass("7", "999");
    ASSERT_EQ(m.state.MonitorRows.Count(), 1u);
    EXPECT_EQ(m.row(7).Zgua, kHit);
    EXPECT_EQ(m.state.SegmentPos, 1);
}

} // namespace
} // namespace zuohao

// Each lottery's monitor advances with its own draws only.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../../support/support_conditions.h"
#include "../acquire/support_files.h"
#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/Captions.h"

namespace zuohao {
namespace {

using testing::newestFirstText;

class TextSource : public DrawSource {
public:
    std::optional<std::string> text;
    std::optional<std::string> ReadText() override { return text; }
};

// A lottery read from its own file, monitoring from a base set that holds every number.
struct Followed {
    TextSource source;
    LotteryClass lottery;
    long long newest;
    Followed(long long first, int count) : newest(first + count - 1) {
        lottery.setDrawSource(&source);
        lottery.setPositionIndex(9);
        zuohao::testing::EditConditions(lottery, [](ConditionSet& c) { c.KUA = ""; });
        MonitorState& m = lottery.monitor();
        m.SegmentSettings = {0, 30, 3, 0};
        m.SegmentPeriod = 10;
        source.text = newestFirstText(newest, count);
        (void)lottery.GetLotteryHisroty(AskForFile::No);
        EXPECT_TRUE(lottery.GetSuoshuiDadi().ok());
        EXPECT_TRUE(lottery.ReashStar(lottery.formSet().DAD).ok());
    }
    RefreshEvents draw(int more) {
        newest += more;
        source.text = newestFirstText(newest, 10 + more);
        return lottery.GetLotteryNew();
    }
};

// What a monitor shows: every row's texts and the counters an alarm depends on.
using Shown = std::tuple<std::vector<std::string>, bool, bool, int, int, std::size_t>;
Shown shown(const MonitorState& m) {
    std::vector<std::string> rows;
    for (const MonitorRow& r : m.MonitorRows)
        rows.push_back(MonitorRowPeriodText(r) + " " + MonitorRowNumberText(r) + " " +
                       VerdictText(r.Zgua) + " " + PlanMarkText(r.Jhzg));
    return {rows, m.PlanRunning, m.AlarmSound, m.SegmentPos, m.TriggerCount, m.Log.size()};
}

struct TwoCase {
    const char* name;
    int drawsA, drawsB; // new draws each lottery's file brings in one refresh round
};

class TwoLotteries : public ::testing::TestWithParam<TwoCase> {};

TEST_P(TwoLotteries, EachMonitorFollowsItsOwnDraws) {
    const TwoCase& c = GetParam();
    Followed a(1001, 10), b(5001, 10);
    const Shown aBefore = shown(a.lottery.monitor()), bBefore = shown(b.lottery.monitor());
    ASSERT_EQ(a.lottery.monitor().MonitorRows.back().period, Period(1010));
    ASSERT_EQ(b.lottery.monitor().MonitorRows.back().period, Period(5010));

    const RefreshEvents eb = b.draw(c.drawsB);
    const RefreshEvents ea = a.draw(c.drawsA);

    for (const auto& [f, e, before, first] :
         {std::tuple{&a, &ea, &aBefore, 1001LL}, std::tuple{&b, &eb, &bBefore, 5001LL}}) {
        const MonitorState& m = f->lottery.monitor();
        const int drew = f == &a ? c.drawsA : c.drawsB;
        if (drew == 0) {
            EXPECT_EQ(shown(m), *before) << "another lottery's draws leave this monitor alone";
            EXPECT_TRUE(e->alarms.empty());
            continue;
        }
        EXPECT_EQ(m.MonitorRows.back().period, Period(f->newest));
        for (const MonitorRow& r : m.MonitorRows)
            EXPECT_TRUE(r.period >= Period(first) && r.period <= Period(f->newest))
                << "row " << r.period.text() << " is not a period of this lottery";
        for (const AlarmRaised& al : e->alarms)
            EXPECT_GT(std::stoll(al.period), f->newest - drew) << "an alarm of this refresh";
    }
}

INSTANTIATE_TEST_SUITE_P(Rounds, TwoLotteries,
                         ::testing::Values(TwoCase{"OnlyB", 0, 3}, TwoCase{"OnlyA", 4, 0},
                                           TwoCase{"Both", 2, 5}, TwoCase{"NeitherDrew", 0, 0}),
                         [](const auto& i) { return std::string(i.param.name); });

// An alarm of lottery B is B's: A's alarm state and rows stay as they were.
TEST(TwoLotteries, AnAlarmOfOneLeavesTheOther) {
    Followed a(1001, 10), b(5001, 10);
    const Shown aBefore = shown(a.lottery.monitor());
    bool alarmed = false;
    for (int round = 0; round < 30 && !alarmed; ++round)
        alarmed = !b.draw(1).alarms.empty();
    ASSERT_TRUE(alarmed) << "the rule raises an alarm within 30 draws";
    EXPECT_TRUE(b.lottery.monitor().MonitorRows.back().Jhzg.kind == PlanMark::Alarm ||
                b.lottery.monitor().PlanRunning);
    EXPECT_EQ(shown(a.lottery.monitor()), aBefore);
}

} // namespace
} // namespace zuohao

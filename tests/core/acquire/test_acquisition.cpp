// History load and new-draw fetch of the lottery object, with a fake draw source: what each
// returns for the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "support_files.h"

namespace zuohao {
namespace {

using testing::haomaOf;
using testing::newestFirstText;

// Gives a set text (or none) and counts the reads.
class FakeSource : public DrawSource {
public:
    std::optional<std::string> text;
    int reads = 0;
    std::optional<std::string> ReadText() override {
        ++reads;
        return text;
    }
};

using Events = std::vector<std::string>;

std::vector<std::string> heldLabels(const LotteryClass& lot) {
    std::vector<std::string> out;
    for (const auto& [label, haoma] : lot.state().LotteryDic_Jiankong)
        out.push_back(label);
    return out;
}

std::vector<std::string> labelRange(long long first, long long last) {
    std::vector<std::string> out;
    for (long long l = first; l <= last; ++l)
        out.push_back(std::to_string(l));
    return out;
}

struct Rig {
    Events events; // what the loads and polls returned, in order
    FakeSource source;
    LotteryClass lottery;
    MonitorState& monitor = lottery.monitor();
    // A lottery without a draw file is given no source.
    explicit Rig(int index = 0, bool withSource = true) {
        lottery.setIndex(index);
        if (withSource) lottery.setDrawSource(&source);
    }
    void record(const RefreshEvents& e) {
        if (e.drew) events.push_back("refresh " + std::to_string(lottery.state().MyIndex));
        if (e.restart != MonitorRestart::None) events.push_back("restart");
        if (e.askForFile) events.push_back("ask");
    }
    void load(AskForFile ask = AskForFile::Yes) { record(lottery.GetLotteryHisroty(ask)); }
    void poll() { record(lottery.GetLotteryNew()); }
    // A monitor row left from before, to see whether a load empties the rows.
    void addMonitorRow() { monitor.MonitorRows.push(MonitorRow::placeholder(Period(1))); }
};

TEST(HistoryLoad, LoadsTheFileAndTellsTheWindow) {
    Rig rig;
    rig.addMonitorRow();
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    EXPECT_EQ(rig.events, (Events{"refresh 0"}));
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(1001, 1010));
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 10u);
    EXPECT_EQ(*rig.lottery.state().LotteryDic_Jiankong.find("1004"), haomaOf(1004));
    EXPECT_TRUE(rig.lottery.state().IsGetHis);
    EXPECT_TRUE(rig.monitor.ReplayDone);
    EXPECT_TRUE(rig.monitor.MonitorRows.empty());
}

TEST(HistoryLoad, EachLoadStartsFromEmptyDictionaries) {
    Rig rig;
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    rig.source.text = newestFirstText(5004, 5);
    rig.load();
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(5000, 5004));
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 5u);
    EXPECT_EQ(rig.lottery.state().LotteryDic.front().first, "5000");

    // The same file again: every draw enters again after the emptying.
    rig.load();
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(5000, 5004));
}

TEST(HistoryLoad, NoTextAsksForTheFileAndLeavesNoHistory) {
    for (std::optional<std::string> none :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        Rig rig;
        rig.source.text = newestFirstText(1010, 10);
        rig.load();
        ASSERT_TRUE(rig.lottery.StartPlan().ok());
        rig.addMonitorRow();
        rig.events.clear();

        rig.source.text = none;
        rig.load();
        EXPECT_EQ(rig.events, (Events{"ask"}));
        EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 0u);
        EXPECT_EQ(rig.lottery.state().LotteryDic_Jiankong.Count(), 0u);
        EXPECT_TRUE(rig.monitor.MonitorRows.empty());
        EXPECT_FALSE(rig.lottery.state().IsGetHis);
        EXPECT_FALSE(rig.monitor.ReplayDone);
        EXPECT_TRUE(rig.lottery.state().IsHasPlan) << "a load does not touch the running plan";
    }
}

TEST(HistoryLoad, TextWithoutDrawsIsNotNoText) {
    Rig rig;
    rig.source.text = "short\r\nlines only\r\n0123456789\r\n";
    rig.load();
    EXPECT_TRUE(rig.events.empty());
    EXPECT_FALSE(rig.lottery.state().IsGetHis);
}

TEST(HistoryLoad, ALotteryWithoutDrawFileLoadsNothing) {
    Rig rig(1, false);
    rig.addMonitorRow();
    rig.monitor.ReplayDone = true;
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    EXPECT_EQ(rig.source.reads, 0);
    EXPECT_TRUE(rig.events.empty());
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 0u);
    EXPECT_FALSE(rig.lottery.state().IsGetHis);
    EXPECT_FALSE(rig.monitor.ReplayDone);
    EXPECT_EQ(rig.monitor.MonitorRows.Count(), 1u) << "a load without a source empties nothing";
}

struct PollCase {
    const char* name;
    bool monitoring;
    bool planRunning;
    Events events;
};

void PrintTo(const PollCase& c, std::ostream* os) {
    *os << c.name;
}

class NewDraws : public ::testing::TestWithParam<PollCase> {};

TEST_P(NewDraws, TwoNewLinesGiveOneRefreshAndMaybeARestart) {
    const PollCase& c = GetParam();
    Rig rig;
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    rig.monitor.Monitoring = c.monitoring;
    rig.monitor.PlanRunning = c.planRunning;
    rig.monitor.MonitorBase = NumberList::read("999", false).list;
    rig.events.clear();

    rig.source.text = newestFirstText(1012, 12);
    rig.poll();
    EXPECT_EQ(rig.events, c.events);
    EXPECT_TRUE(rig.lottery.state().IsGetNew);
    EXPECT_EQ(rig.lottery.state().NewQi, "1012");
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(1001, 1012))
        << "the two draws enter oldest first";
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 12u);
}

INSTANTIATE_TEST_SUITE_P(
    Polls, NewDraws,
    ::testing::Values(PollCase{"MonitorOff", false, false, {"refresh 0"}},
                      // The refresh restarts the monitor itself: the alarms are read after it.
                      PollCase{"MonitorOn", true, false, {"refresh 0", "restart"}},
                      PollCase{"MonitorPlanRunning", true, true, {"refresh 0"}},
                      PollCase{"PlanFlagWithMonitorOff", false, true, {"refresh 0"}}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(NewDraws, NothingNewRaisesNoEvent) {
    Rig rig;
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    rig.monitor.Monitoring = true;
    rig.events.clear();
    ASSERT_TRUE(rig.lottery.hasNewDraw()) << "left from the load";
    rig.poll();
    EXPECT_TRUE(rig.events.empty());
    EXPECT_FALSE(rig.lottery.state().IsGetNew);
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 10u);
}

// A file emptied by a truncate-then-write writer is a passing state: a poll never asks for
// the file (no dialog from a timer); only ten failed polls in a row raise the alarm.
TEST(NewDraws, NoTextIsRetriedAndOnlyTenFailuresRaiseTheAlarm) {
    Rig rig;
    rig.source.text = newestFirstText(1010, 10);
    rig.load();
    rig.events.clear();
    for (std::optional<std::string> none :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        rig.source.text = none;
        const std::vector<std::string> before = heldLabels(rig.lottery);
        for (int poll = 1; poll <= kFailedPollsBeforeAlarm; ++poll) {
            rig.poll();
            EXPECT_EQ(rig.lottery.feedStatus().alarm, poll == kFailedPollsBeforeAlarm) << poll;
            EXPECT_FALSE(rig.lottery.feedStatus().notice.empty());
        }
        EXPECT_TRUE(rig.events.empty()) << "no dialog, no refresh";
        EXPECT_EQ(heldLabels(rig.lottery), before);
        const long long next = std::stoll(before.back()) + 1;
        rig.source.text = newestFirstText(next, int(next - 1000));
        rig.poll();
        EXPECT_FALSE(rig.lottery.feedStatus().alarm) << "a good read ends the alarm";
        EXPECT_EQ(rig.lottery.feedStatus().notice, "");
        rig.events.clear();
    }
    // The history load of the refresh timer does not ask either; start-up does.
    rig.source.text.reset();
    rig.load(AskForFile::No);
    EXPECT_TRUE(rig.events.empty());
}

TEST(NewDraws, ALotteryWithoutDrawFileNeverGetsDraws) {
    Rig rig(1, false);
    rig.source.text = newestFirstText(1010, 10);
    for (int poll = 0; poll < 3; ++poll)
        rig.poll();
    EXPECT_EQ(rig.source.reads, 0);
    EXPECT_TRUE(rig.events.empty());
    EXPECT_FALSE(rig.lottery.state().IsGetNew);
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 0u);
}

TEST(NewDraws, WorksWithoutWindowOrMonitor) {
    LotteryClass lot;
    FakeSource src;
    lot.setDrawSource(&src);
    src.text = newestFirstText(1010, 10);
    lot.GetLotteryHisroty();
    src.text = newestFirstText(1011, 11);
    lot.GetLotteryNew();
    EXPECT_EQ(heldLabels(lot), labelRange(1001, 1011));
    src.text.reset();
    lot.GetLotteryNew(); // no window to ask: nothing happens
    EXPECT_EQ(lot.state().LotteryDic.Count(), 11u);
}

// The file is being written while it is read: a poll sees the new text cut at a byte.
// Returns the lottery after a history load of `before`, a poll of the cut text and two polls
// of the whole text.
struct TornPoll {
    std::vector<std::string> labels;
    int refreshes = 0;
    int asks = 0;
    bool allTrue = true;
};

TornPoll pollTorn(const std::string& before, const std::string& after, std::size_t cut) {
    Rig rig;
    rig.source.text = before;
    rig.load();
    rig.events.clear();
    rig.source.text = after.substr(0, cut);
    rig.poll();
    rig.source.text = after;
    rig.poll();
    rig.poll();
    TornPoll out;
    out.labels = heldLabels(rig.lottery);
    for (const auto& [label, haoma] : rig.lottery.state().LotteryDic_Jiankong)
        out.allTrue = out.allTrue && haoma == haomaOf(std::stoll(label));
    for (const std::string& e : rig.events) {
        out.refreshes += e == "refresh 0";
        out.asks += e == "ask";
    }
    return out;
}

// A torn newest line is no draw yet and enters whole, once and in order, at the next poll.
TEST(NewDraws, TornNewestLineEntersWholeAtTheNextPoll) {
    const std::string before = newestFirstText(202612080940LL, 40);
    const std::string after = newestFirstText(202612080941LL, 41);
    const std::size_t twoLines = after.find('\n', after.find('\n') + 1) + 1;
    for (std::size_t cut = 0; cut <= twoLines + 3; ++cut) {
        TornPoll r = pollTorn(before, after, cut);
        EXPECT_EQ(r.labels, labelRange(202612080901LL, 202612080941LL)) << "cut at byte " << cut;
        EXPECT_TRUE(r.allTrue) << "cut at byte " << cut;
        EXPECT_EQ(r.refreshes, 1) << "cut at byte " << cut;
        EXPECT_EQ(r.asks, 0) << "a poll never asks for the file";
    }
}

// Two new draws and a cut anywhere in the text: no draw is lost, invented or read twice.
TEST(NewDraws, TornTextLosesAndRepeatsNoDraw) {
    const std::string before = newestFirstText(202612080940LL, 40);
    const std::string after = newestFirstText(202612080942LL, 42);
    const std::size_t firstLine = after.find('\n') + 1;
    for (std::size_t cut = 0; cut <= after.size(); cut += (cut < 200 ? 1 : 97)) {
        TornPoll r = pollTorn(before, after, cut);
        std::vector<std::string> sorted = r.labels;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, labelRange(202612080901LL, 202612080942LL)) << "cut at byte " << cut;
        EXPECT_TRUE(r.allTrue) << "cut at byte " << cut;
        if (cut < firstLine - 2) { // the cut tears the newest line: both enter in order
            EXPECT_EQ(r.labels, labelRange(202612080901LL, 202612080942LL)) << "cut " << cut;
        }
    }
}

// A poll that reads the newest line whole and the line below it torn (or not yet written) is
// held back, so that the newest draw does not enter before the one below it.
TEST(NewDraws, TornSecondLineKeepsTheOrder) {
    const std::string before = newestFirstText(202612080940LL, 40);
    const std::string after = newestFirstText(202612080942LL, 42);
    const std::size_t firstLine = after.find('\n') + 1;
    for (std::size_t cut = firstLine; cut < after.find('\n', firstLine); ++cut) {
        TornPoll r = pollTorn(before, after, cut);
        EXPECT_EQ(r.labels, labelRange(202612080901LL, 202612080942LL)) << "cut at byte " << cut;
    }
}

} // namespace
} // namespace zuohao

namespace zuohao {
namespace {

// A read that stops inside a line is held back; the same text read again after the quiet time
// is taken, so a file written without a final line break still loads.
TEST(NewDraws, TextWithoutFinalLineBreakLoadsOnceQuiet) {
    Rig rig;
    std::chrono::steady_clock::time_point now{};
    rig.lottery.setFeedClock([&now] { return now; });
    std::string text = newestFirstText(1010, 10);
    text.pop_back(); // no final line feed
    rig.source.text = text;
    rig.load();
    EXPECT_EQ(rig.lottery.state().LotteryDic.Count(), 0u);
    EXPECT_FALSE(rig.lottery.state().IsGetHis);
    now += kLeastQuietTime;
    rig.load();
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(1001, 1010));

    // Later polls hold complete lines of held draws: a new line enters at once.
    text = newestFirstText(1011, 11);
    text.pop_back();
    rig.source.text = text;
    rig.poll();
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(1001, 1011));
}

TEST(HistoryLoad, CompleteShortFileLoadsAtOnce) {
    Rig rig;
    rig.source.text = newestFirstText(1003, 3);
    rig.load();
    EXPECT_EQ(heldLabels(rig.lottery), labelRange(1001, 1003));
}

} // namespace
} // namespace zuohao

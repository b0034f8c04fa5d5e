// The draw feed's rule of trust, poll by poll, against the texts a betting program's writer
// leaves in the file while it rewrites it: a torn top line, a half-done line-by-line rewrite,
// a real gap, a corrected number.
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

using testing::drawLine;
using testing::haomaOf;
using testing::newestFirstText;

class ListSource : public DrawSource {
public:
    std::optional<std::string> text;
    std::optional<std::string> ReadText() override { return text; }
};

// What the loads and polls returned of the draws, as an archive keeps it.
struct Archive {
    std::vector<std::string> entered;   // labels in the order they entered
    std::vector<std::string> corrected; // "label old>new"
    void take(const RefreshEvents& e) {
        for (const DrawCorrected& c : e.corrected)
            corrected.push_back(c.period + " " + c.oldHaoma + ">" + c.newHaoma);
        for (const DrawEntered& d : e.entered)
            entered.push_back(d.period);
    }
};

// Lines newest .. newest-count+1 with the true numbers, except where `wrong` says otherwise.
std::vector<std::string> trueLines(long long newest, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(drawLine(newest - i, haomaOf(newest - i)));
    return out;
}

std::string join(const std::vector<std::string>& lines) {
    std::string t;
    for (const std::string& l : lines)
        t += l + "\r\n";
    return t;
}

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Feed {
    ListSource source;
    Archive archive;
    LotteryClass lottery;
    MonitorState& monitor = lottery.monitor();
    Clock::time_point now{};
    // Unless a test says otherwise, polls come a quiet time apart: a read that is not whole
    // is believed when the next poll reads the same.
    milliseconds step = kLeastQuietTime;
    Feed() {
        lottery.setDrawSource(&source);
        lottery.setFeedClock([this] { return now; });
    }
    void load(const std::string& text) {
        source.text = text;
        archive.take(lottery.GetLotteryHisroty());
    }
    void poll(const std::string& text) {
        now += step;
        source.text = text;
        archive.take(lottery.GetLotteryNew());
    }
    void startPlan() { ASSERT_TRUE(lottery.StartPlan().ok()); }
};

// Everything a window shows of the held draws: numbers, statistics, plan lines, base set.
std::vector<std::string> fingerprint(const LotteryClass& l) {
    std::vector<std::string> out;
    for (const auto& [label, item] : l.state().LotteryDic) {
        std::string row = label + " " + item->Haoma + " " + item->PlanTxt();
        for (int g = 0; g < 12; ++g)
            for (const Cell& c : item->GetGridArray(g))
                row += "|" + std::to_string(int(c.kind)) + c.text + std::to_string(c.number);
        out.push_back(row);
    }
    out.push_back("DAD " + l.formSet().DAD.text());
    return out;
}

std::vector<std::string> heldTrue(const LotteryClass& l, bool& allTrue) {
    std::vector<std::string> labels;
    allTrue = true;
    for (const auto& [label, haoma] : l.state().LotteryDic_Jiankong) {
        labels.push_back(label);
        allTrue = allTrue && haoma == haomaOf(std::stoll(label));
    }
    return labels;
}

std::vector<std::string> range(long long first, long long last) {
    std::vector<std::string> out;
    for (long long l = first; l <= last; ++l)
        out.push_back(std::to_string(l));
    return out;
}

// The paused in-place writer: the new top line up to the space before its number, then the
// old number, then the old lines below (the previous top line is gone).
std::string tornTop(long long newest) {
    std::vector<std::string> lines = trueLines(newest, 60);
    lines[0] = "第" + std::to_string(newest) + "期 开奖号码 " + haomaOf(newest - 1);
    lines.erase(lines.begin() + 1);
    return join(lines);
}

TEST(Trust, TornTopLineNeverEnters) {
    Feed f;
    f.load(newestFirstText(1064, 64));
    f.poll(tornTop(1065));
    f.poll(newestFirstText(1065, 65));
    bool allTrue = false;
    EXPECT_EQ(heldTrue(f.lottery, allTrue), range(1001, 1065));
    EXPECT_TRUE(allTrue);
    EXPECT_TRUE(f.archive.corrected.empty());
}

// A writer that pauses inside its rewrite leaves the same torn text for every poll of the
// pause: it is believed only once it has stayed unchanged for the quiet time (at least
// kLeastQuietTime, or the poll interval when that is longer); a change of the text in between
// starts the quiet time anew.
TEST(Trust, ATornReadIsBelievedOnlyAfterTheQuietTime) {
    const struct {
        const char* name;
        milliseconds pollInterval, step;
        int reads;      // reads of the torn text, `step` apart
        bool believed;  // its top line has entered
        bool interrupt; // another torn text is read halfway
    } cases[] = {
        {"many polls inside a second", milliseconds(40), milliseconds(40), 25, false, false},
        {"one second unchanged", milliseconds(40), milliseconds(100), 11, true, false},
        {"poll interval longer", milliseconds(6000), milliseconds(1000), 6, false, false},
        {"a poll interval unchanged", milliseconds(6000), milliseconds(1000), 7, true, false},
        {"changed halfway", milliseconds(40), milliseconds(100), 11, false, true},
    };
    for (const auto& c : cases) {
        Feed f;
        f.lottery.setPollInterval(c.pollInterval);
        f.step = c.step;
        f.load(newestFirstText(1064, 64));
        for (int r = 0; r < c.reads; ++r)
            f.poll(c.interrupt && r == c.reads / 2 ? tornTop(1066) : tornTop(1065));
        EXPECT_EQ(f.lottery.state().LotteryDic_Jiankong.Exists("1065"), c.believed) << c.name;
        f.step = std::max(c.pollInterval, kLeastQuietTime);
        f.poll(newestFirstText(1065, 65));
        f.poll(newestFirstText(1065, 65));
        EXPECT_EQ(f.archive.corrected.size(), c.believed ? 1u : 0u) << c.name;
        bool allTrue = false;
        EXPECT_EQ(heldTrue(f.lottery, allTrue), range(1001, 1065)) << c.name;
        EXPECT_TRUE(allTrue) << c.name;
    }
}

// Read twice a quiet time apart, the torn head is believed (the writer may really have written it);
// once the file is whole again the held draws are rebuilt within one poll, exactly as if the draws
// had come right the first time: statistics, plan lines and base set.
TEST(Trust, CorrectedDrawRebuildsTheHeldDrawsFromThatPeriodOn) {
    Feed f, clean;
    f.load(newestFirstText(1064, 64));
    clean.load(newestFirstText(1064, 64));
    f.startPlan();
    clean.startPlan();
    f.monitor.Monitoring = f.monitor.PlanRunning = true;
    f.monitor.MonitorBase = NumberList::read("000 111", false).list;

    f.poll(tornTop(1065));
    f.poll(tornTop(1065));
    EXPECT_EQ(*f.lottery.state().LotteryDic_Jiankong.find("1065"), haomaOf(1064)) << "believed";
    f.poll(newestFirstText(1066, 66)); // whole again, with a new draw: held back once
    f.poll(newestFirstText(1066, 66));
    EXPECT_EQ(f.archive.corrected,
              std::vector<std::string>{"1065 " + haomaOf(1064) + ">" + haomaOf(1065)});
    EXPECT_NE(f.lottery.feedStatus().notice.find("第1065期"), std::string::npos);

    clean.poll(newestFirstText(1065, 65));
    clean.poll(newestFirstText(1066, 66));
    EXPECT_EQ(fingerprint(f.lottery), fingerprint(clean.lottery));
    bool allTrue = false;
    EXPECT_EQ(heldTrue(f.lottery, allTrue), range(1001, 1066));
    EXPECT_TRUE(allTrue);
    const MonitorRow* row = f.monitor.MonitorRows.find(Period(1065));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->number(), f.lottery.weizhiHAO(haomaOf(1065))) << "the monitor row is redone";
    // The archive hears of each period once (1065 entered, then corrected).
    EXPECT_EQ(std::count(f.archive.entered.begin(), f.archive.entered.end(), "1064"), 1);
    EXPECT_EQ(std::count(f.archive.entered.begin(), f.archive.entered.end(), "1066"), 1);
    EXPECT_EQ(std::count(f.archive.entered.begin(), f.archive.entered.end(), "1065"), 1);
}

// An in-place rewrite line by line: every moment of it is read. Draws enter whole, oldest
// first, none twice, none lost.
TEST(Trust, LineByLineRewriteKeepsTheOrder) {
    Feed f;
    f.load(newestFirstText(1040, 40));
    for (long long newest = 1041; newest <= 1060; ++newest) {
        const std::vector<std::string> next = trueLines(newest, 40 + int(newest - 1040));
        const std::vector<std::string> prev = trueLines(newest - 1, 40 + int(newest - 1041));
        for (std::size_t k = 0; k < prev.size(); k += 1 + k / 4) {
            std::vector<std::string> mid(next.begin(), next.begin() + long(k) + 1);
            mid.insert(mid.end(), prev.begin() + long(k) + 1, prev.end());
            f.poll(join(mid));
        }
    }
    f.poll(newestFirstText(1060, 60));
    bool allTrue = false;
    EXPECT_EQ(heldTrue(f.lottery, allTrue), range(1001, 1060));
    EXPECT_TRUE(allTrue);
    EXPECT_EQ(f.archive.entered, range(1001, 1060));
}

struct GapCase {
    const char* name;
    std::string before; // history
    std::string file;   // what the file shows from then on
    std::vector<std::string> held;
    std::string notice;
};

void PrintTo(const GapCase& c, std::ostream* os) {
    *os << c.name;
}

class Gaps : public ::testing::TestWithParam<GapCase> {};

TEST_P(Gaps, ARealGapIsBelievedOnTheSecondReadAndReported) {
    const GapCase& c = GetParam();
    Feed f;
    f.load(c.before);
    f.poll(c.file);
    const std::size_t afterFirst = f.lottery.state().LotteryDic_Jiankong.Count();
    f.poll(c.file);
    bool allTrue = false;
    EXPECT_EQ(heldTrue(f.lottery, allTrue), c.held);
    EXPECT_TRUE(allTrue);
    EXPECT_LT(afterFirst, c.held.size()) << "the first read is held back";
    EXPECT_EQ(f.lottery.feedStatus().notice, c.notice);
    f.poll(c.file);
    EXPECT_EQ(f.lottery.feedStatus().notice, c.notice) << "steady: no flicker";
}

std::string withGap(long long newest, long long missing, int count) {
    std::string t;
    for (long long l = newest; l > newest - count; --l)
        if (l != missing) t += drawLine(l, haomaOf(l)) + "\n";
    return t;
}

std::vector<std::string> without(std::vector<std::string> v, const std::string& gone) {
    v.erase(std::remove(v.begin(), v.end(), gone), v.end());
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Feed, Gaps,
    ::testing::Values(GapCase{"NewDrawAfterAGap", newestFirstText(1064, 64),
                              withGap(1066, 1065, 66), without(range(1001, 1066), "1065"),
                              "断期: 缺 1065期"},
                      GapCase{"GapInTheHistory", "", withGap(1066, 1050, 66),
                              without(range(1001, 1066), "1050"), "断期: 缺 1050期"}),
    [](const auto& instance) { return std::string(instance.param.name); });

// A minute lottery's day ends at period 1440: the next day's 0001 follows it at once, and a
// gap across midnight names the missing label.
TEST(Trust, TheFirstDrawOfADayFollowsTheLastOfTheDayBefore) {
    constexpr long long kLastOfYear = 202612311440;
    const struct {
        std::vector<long long> top; // new lines above the held ones, newest first
        std::vector<std::string> enteredAtOnce;
        std::string notice;
    } cases[] = {
        {{202701010001}, {"202701010001"}, ""},
        {{202701010002, 202701010001}, {"202701010001", "202701010002"}, ""},
        {{202701010002}, {}, "断期: 缺 202701010001期"},
    };
    for (const auto& c : cases) {
        Feed f;
        f.load(join(trueLines(kLastOfYear, 60)));
        f.archive.entered.clear();
        std::vector<std::string> lines = trueLines(kLastOfYear, 60);
        for (auto it = c.top.rbegin(); it != c.top.rend(); ++it)
            lines.insert(lines.begin(), drawLine(*it, haomaOf(*it)));
        f.poll(join(lines));
        EXPECT_EQ(f.archive.entered, c.enteredAtOnce);
        f.poll(join(lines));
        EXPECT_EQ(f.lottery.state().NewQi, std::to_string(c.top.front()));
        EXPECT_EQ(f.lottery.feedStatus().notice, c.notice);
    }
}

TEST(Trust, ManyMissingAreCountedNotListed) {
    Feed f;
    f.load(newestFirstText(1064, 64));
    const std::string file = drawLine(1080, haomaOf(1080)) + "\n" + newestFirstText(1064, 64);
    f.poll(file);
    f.poll(file);
    EXPECT_EQ(f.lottery.state().NewQi, "1080");
    EXPECT_EQ(f.lottery.feedStatus().notice,
              "断期: 缺 1065期、1066期、1067期、1068期、1069期 等 15 期");
}

TEST(Trust, AFileWithoutDrawLinesSaysSo) {
    Feed f;
    f.load(newestFirstText(1010, 10));
    f.poll("这是一个没有开奖号码的文件\r\nnothing to see here\r\n");
    EXPECT_EQ(f.lottery.feedStatus().notice, "文件中没有开奖号码");
    EXPECT_EQ(f.lottery.state().LotteryDic.Count(), 10u);
}

} // namespace
} // namespace zuohao

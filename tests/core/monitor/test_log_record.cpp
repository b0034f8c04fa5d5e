// The record box kept as one line of text: what is written reads back the same, a piece that is
// not one of ours is left out, and the box keeps its newest lines only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/monitor/MonitorLogRecord.h"

namespace zuohao {
namespace {

MonitorLogLine hit(long long period, int n) {
    return {Period(period), {PlanMark::Hit, n}, {}};
}
MonitorLogLine miss(long long period) {
    return {Period(period), {PlanMark::Miss, 0}, {}};
}
MonitorLogLine note(std::string text) {
    return {{}, {}, std::move(text)};
}

bool same(const MonitorLogLine& a, const MonitorLogLine& b) {
    return a.period == b.period && a.mark == b.mark && a.note == b.note;
}

TEST(LogRecord, ReadsBackWhatItWrote) {
    const std::vector<MonitorLogLine> log = {hit(202612100931, 2),
                                             miss(931),
                                             note("回测 100期（评估 90期）：告警 3 次；挂 1 次"),
                                             note(" 100% \"quoted\" = a;b\r\nnext "),
                                             hit(7, 999),
                                             note(std::string("\x01\xff", 2))};
    const std::string text = MonitorLogRecord(log);
    for (char c : text)
        EXPECT_TRUE(c > ' ' && c < 0x7F && c != '"') << "not plain ASCII: " << text;
    const std::vector<MonitorLogLine> back = ParseMonitorLogRecord(text);
    ASSERT_EQ(back.size(), log.size());
    for (std::size_t i = 0; i < log.size(); ++i)
        EXPECT_TRUE(same(back[i], log[i])) << i;
    EXPECT_EQ(MonitorLogRecord(back), text);
}

TEST(LogRecord, LeavesOutPiecesNotOurs) {
    struct Case {
        const char* text;
        std::size_t kept;
    };
    const Case cases[] = {
        {"931:M;", 1},
        {"931:M", 1},
        {"931:H2;931:X;", 1},
        {"0931:M;", 0},
        {":M;", 0},
        {"93a:M;", 0},
        {"931:H0;", 0},
        {"931:H1000;", 0},
        {"931:H;", 0},
        {"931:H02;", 0},
        {"931;", 0},
        {"=;", 0},
        {"=a%4;", 0},
        {"=a%zz;", 0},
        {"=a%41;", 0},
        {"=a b;", 0},
        {"=%E5%9B%9E;;931:M", 2},
        {"1234567890123456789:M;", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseMonitorLogRecord(c.text).size(), c.kept) << c.text;
}

TEST(LogRecord, KeepsTheNewestLines) {
    MonitorState state;
    std::vector<MonitorLogLine> written;
    for (long long p = 1; p <= long(kMonitorLogLimit) + 30; ++p) {
        state.AddLogLine(miss(p));
        written.push_back(miss(p));
    }
    ASSERT_EQ(state.Log.size(), kMonitorLogLimit);
    EXPECT_EQ(state.Log.front().period, Period(31));
    EXPECT_EQ(state.LogLinesAdded, kMonitorLogLimit + 30);
    const std::vector<MonitorLogLine> read = ParseMonitorLogRecord(MonitorLogRecord(written));
    ASSERT_EQ(read.size(), kMonitorLogLimit);
    EXPECT_EQ(read.front().period, Period(31));
    EXPECT_EQ(read.back().period, Period(long(kMonitorLogLimit) + 30));
}

} // namespace
} // namespace zuohao

// The desktop program (the real executable, on an X server) against a second process that
// rewrites its draw file once every 120 ms in each way betting programs do. Its feed log says
// what entered and in which order: every draw has the writer's number, they entered oldest
// first, none of the newest 100 is missing, nothing was corrected (no wrong draw ever entered)
// and no window other than those at start-up (a dialog) appeared.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "../../support/support_process.h"
#include "core/acquire/LineRule.h"
#include "core/acquire/LotteryClass.h"
#include "support_desktop.h"
#include "support_writer.h"

namespace zuohao {
namespace {

using namespace std::chrono_literals;
using desktoptest::linesOf;
using testing::WriteMode;
using testsupport::ChildProcess;

constexpr int kWrites = 62;
constexpr auto kWriteInterval = 120ms;
const char* const kPollMs = "40";

// The visible top-level windows of a process (by _NET_WM_PID), from xdotool.
std::set<std::string> visibleWindows(long pid) {
    std::set<std::string> ids;
    const std::string cmd =
        "xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null";
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[64];
        while (std::fgets(buf, sizeof buf, p))
            ids.insert(buf);
        ::pclose(p);
    }
    return ids;
}

class DesktopFeed : public ::testing::TestWithParam<WriteMode> {};

TEST_P(DesktopFeed, EveryDrawRightInOrderAndNoDialog) {
    const auto dir = desktoptest::makeDesktopFolder("zuohao-desktop-feed-");
    testing::WriterPlan plan;
    plan.path = (dir / "开奖号码.txt").string();
    plan.ledger = (dir / "ledger.txt").string();
    plan.mode = GetParam();
    plan.writes = kWrites;
    plan.interval = kWriteInterval;
    ASSERT_TRUE(desktoptest::writeFirstFile(plan)); // the file exists before the program starts

    const auto feedLog = dir / "feed.log";
    ChildProcess program;
    // Up when the history has entered and the main window shows.
    std::set<std::string> atStart;
    desktoptest::startUntilUp(
        program, ZUOHAO_EXE,
        {"--draw-file", plan.path, "--poll-interval", kPollMs, "--feed-log", feedLog.string(),
         "--ini", (dir / "zelkwt.ini").string(), "--archive", (dir / "draws.sqlite").string()},
        dir, feedLog, [&] { return !(atStart = visibleWindows(program.pid())).empty(); });
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_FALSE(atStart.empty()) << "no window of the program is visible";

    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) ::_exit(testing::runWriter(plan) ? 0 : 1);
    int status = 0;
    std::set<std::string> extra;
    const auto writerBy = std::chrono::steady_clock::now() + 120s;
    while (::waitpid(writer, &status, WNOHANG) != writer) {
        if (std::chrono::steady_clock::now() > writerBy) {
            ::kill(writer, SIGKILL);
            ::waitpid(writer, &status, 0);
            FAIL() << "the writer did not finish";
        }
        for (const std::string& w : visibleWindows(program.pid()))
            if (!atStart.count(w)) extra.insert(w);
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Until the newest draw has entered; the program polls the final file meanwhile.
    const std::string newestLabel = std::to_string(plan.firstLabel + kWrites - 1);
    const auto enteredBy = std::chrono::steady_clock::now() + 60s;
    for (auto lines = linesOf(feedLog);
         (lines.empty() || lines.back().find(newestLabel) == std::string::npos) &&
         std::chrono::steady_clock::now() < enteredBy;
         lines = linesOf(feedLog)) {
        for (const std::string& w : visibleWindows(program.pid()))
            if (!atStart.count(w)) extra.insert(w);
        std::this_thread::sleep_for(100ms);
    }
    for (const std::string& w : visibleWindows(program.pid()))
        if (!atStart.count(w)) extra.insert(w);
    EXPECT_TRUE(program.running()) << "the program ended early";
    program.terminate();
    program.wait();

    std::map<std::string, std::string> ledger;
    for (const std::string& line : linesOf(plan.ledger))
        for (const DrawLine& d : ParseDrawText(line).draws)
            ledger[d.qishu] = d.haoma;
    std::set<long long> entered;
    long long previous = -1;
    for (const std::string& line : linesOf(feedLog)) {
        std::istringstream in(line);
        std::string what, lottery, qishu, haoma;
        in >> what >> lottery >> qishu >> haoma;
        EXPECT_EQ(what, "entered") << line;
        ASSERT_TRUE(ledger.count(qishu)) << "never written: " << line;
        EXPECT_EQ(ledger.at(qishu), haoma) << line;
        const long long value = std::stoll(qishu);
        EXPECT_GT(value, previous) << "entered after a later draw: " << line;
        previous = value;
        entered.insert(value);
    }
    const long long newest = plan.firstLabel + kWrites - 1;
    EXPECT_EQ(previous, newest);
    for (long long l = newest - static_cast<long long>(kHeldDraws) + 1; l <= newest; ++l)
        EXPECT_TRUE(entered.count(l)) << "missing " << l;
    EXPECT_TRUE(extra.empty()) << extra.size() << " window(s) beyond the start-up ones appeared";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

INSTANTIATE_TEST_SUITE_P(Writers, DesktopFeed, ::testing::ValuesIn(testing::kAllWriteModes),
                         [](const auto& instance) { return testing::testNameOf(instance.param); });

} // namespace
} // namespace zuohao

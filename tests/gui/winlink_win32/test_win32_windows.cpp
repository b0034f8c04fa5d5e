// Reading other programs' windows through Win32: a target program with an EDIT control is
// found at a point, read, read again a thousand times, found gone when it ends, and reported
// as not answering when its thread stops taking messages. Runs under Wine with an X server.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "../../support/support_process.h"
#include "gui/winlink/Win32Windows.h"

namespace {

using namespace zuohao::gui::win32;
using zuohao::testsupport::ChildProcess;

const char* const kNumbers = "123 456 789\r\n9";

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the target says when the system gives it no window at all.
const char* const kNoWindowStep = "CreateWindowExW failed";

struct Target {
    ChildProcess process;
    std::filesystem::path dir = zuohao::testsupport::makeTempDir("zuohao-win32-");
    std::uintptr_t main = 0, edit = 0, disabled = 0;

    // Starts the target and waits for its handles. On failure `why` says what happened:
    // the target's exit code and what it wrote to stderr, or that it never answered.
    bool start(int x, int y, bool hang = false) {
        const auto handles = dir / "handles.txt";
        std::vector<std::string> args{handles.string(), std::to_string(x), std::to_string(y),
                                      kNumbers};
        if (hang) args.push_back("hang");
        if (!process.start(ZUOHAO_WIN32_TARGET, args, dir / "out.txt", dir / "err.txt")) {
            why = "the target program could not be started";
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(handles);
            unsigned long long m = 0, e = 0, d = 0;
            if (in >> m >> e >> d) {
                main = std::uintptr_t(m), edit = std::uintptr_t(e), disabled = std::uintptr_t(d);
                return true;
            }
            if (const auto code = process.waitFor(std::chrono::milliseconds(50))) {
                const std::string err = fileText(dir / "err.txt");
                why = "the target ended with code " + std::to_string(*code) + ": " + err;
                cannotMakeWindows = err.rfind(kNoWindowStep, 0) == 0;
                return false;
            }
        }
        why = "the target gave no window handles within 30 s: " + fileText(dir / "err.txt");
        return false;
    }
    std::string why;
    bool cannotMakeWindows = false; // the system made no window at all (Wine without a display)
    ~Target() {
        process.kill();
        process.wait();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// Starts the target or ends the test: skipped where the system cannot make any window (Wine
// that reaches no X display; ctest then lists the test as not run), failed for anything else.
#define START_TARGET(t, ...)                                                                       \
    do {                                                                                           \
        if (!(t).start(__VA_ARGS__)) {                                                             \
            if ((t).cannotMakeWindows) GTEST_SKIP() << "no window can be made here: " << (t).why;  \
            FAIL() << (t).why;                                                                     \
        }                                                                                          \
    } while (false)

POINT centreOf(std::uintptr_t hwnd) {
    RECT r{};
    GetWindowRect(reinterpret_cast<HWND>(hwnd), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(Win32Windows, ReadsTheEditControlAndCutsAtTheLimit) {
    Target t;
    START_TARGET(t, 200, 150);
    const WindowText read = ReadText(t.edit, 65000);
    EXPECT_EQ(read.status, TextStatus::Ok);
    EXPECT_EQ(read.text, L"123 456 789\r\n9");
    EXPECT_EQ(ReadText(t.edit, 5).text, L"123 4");
    EXPECT_TRUE(Exists(t.edit));
}

TEST(Win32Windows, FindsTheControlsAtAPointWithTheirRectangle) {
    Target t;
    START_TARGET(t, 200, 150);
    const POINT c = centreOf(t.edit);
    const auto hit = WindowAt(c.x, c.y);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->hwnd, t.edit);
    RECT r{};
    GetWindowRect(reinterpret_cast<HWND>(t.edit), &r);
    EXPECT_TRUE(hit->hasRect);
    EXPECT_EQ(hit->left, r.left);
    EXPECT_EQ(hit->bottom, r.bottom);
    EXPECT_TRUE(hit->answered);
    // WindowFromPoint passes over a disabled control; it is still the one picked.
    const POINT d = centreOf(t.disabled);
    const auto under = WindowAt(d.x, d.y);
    ASSERT_TRUE(under.has_value());
    EXPECT_EQ(under->hwnd, t.disabled);
    EXPECT_EQ(ReadText(under->hwnd, 65000).text, L"7 8 9");
}

TEST(Win32Windows, AThousandReadsAllAnswer) {
    Target t;
    START_TARGET(t, 200, 150);
    int good = 0;
    for (int i = 0; i < 1000; ++i) {
        const WindowText read = ReadText(t.edit, 65000);
        good += read.status == TextStatus::Ok && read.text == L"123 456 789\r\n9";
    }
    EXPECT_EQ(good, 1000);
}

TEST(Win32Windows, AWindowOfAProgramThatEndedIsGone) {
    std::uintptr_t edit = 0;
    {
        Target t;
        START_TARGET(t, 200, 150);
        edit = t.edit;
    }
    EXPECT_FALSE(Exists(edit));
    EXPECT_EQ(ReadText(edit, 65000).status, TextStatus::Gone);
    EXPECT_FALSE(Exists(0));
    EXPECT_EQ(ReadText(0, 65000).status, TextStatus::Gone);
}

TEST(Win32Windows, AProgramThatStopsAnsweringDoesNotHoldUs) {
    Target t;
    START_TARGET(t, 600, 150, true);
    const auto start = std::chrono::steady_clock::now();
    const WindowText read = ReadText(t.edit, 65000);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(read.status, TextStatus::NoAnswer);
    EXPECT_TRUE(read.text.empty());
    EXPECT_TRUE(Exists(t.edit));
    // Bounded by the time-out (2 s), with room for a slow machine; never the hang itself.
    EXPECT_LT(waited, std::chrono::seconds(10));
    const POINT c = centreOf(t.edit);
    const auto hit = WindowAt(c.x, c.y);
    ASSERT_TRUE(hit.has_value());
    EXPECT_FALSE(hit->answered);
}

} // namespace

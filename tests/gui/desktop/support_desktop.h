#pragma once
// What the desktop program's tests share: a folder of their own (XDG folders inside it), the
// draw file's first text, and the program started on it until its history has entered.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../../support/support_process.h"
#include "support_writer.h"

namespace zuohao::desktoptest {

using namespace std::chrono_literals;

inline std::vector<std::string> linesOf(const std::filesystem::path& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

// A fresh folder with the XDG folders inside it, set for this process and the program.
inline std::filesystem::path makeDesktopFolder(const std::string& prefix) {
    const auto dir = testsupport::makeTempDir(prefix);
    for (const char* sub : {"config", "data", "runtime"})
        std::filesystem::create_directories(dir / sub);
    std::filesystem::permissions(dir / "runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (dir / "runtime").c_str(), 1);
    return dir;
}

// The draw file as it is before the program starts: the plan's history, no further writes.
inline bool writeFirstFile(const testing::WriterPlan& plan) {
    testing::WriterPlan first = plan;
    first.writes = 0;
    first.interval = 0ms;
    return testing::runWriter(first);
}

// Starts the program with `args` and waits until its feed log has the history and `up` holds.
// On a loaded machine the X server may turn a new client away ("could not connect to
// display"): the program is started again then, a few times; any other early end fails.
inline void startUntilUp(testsupport::ChildProcess& program, const std::string& exe,
                         const std::vector<std::string>& args, const std::filesystem::path& dir,
                         const std::filesystem::path& feedLog, const std::function<bool()>& up) {
    constexpr int kStartAttempts = 3;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        ASSERT_TRUE(program.start(exe, args, dir / "out.txt", dir / "err.txt"));
        std::optional<int> ended;
        const auto upBy = std::chrono::steady_clock::now() + 60s;
        bool ready = false;
        while (!ready && !ended && std::chrono::steady_clock::now() < upBy) {
            std::this_thread::sleep_for(100ms);
            ready = !linesOf(feedLog).empty() && up();
            ended = program.waitFor(0ms);
        }
        if (!ended) break;
        std::ifstream errors(dir / "err.txt");
        const std::string why{std::istreambuf_iterator<char>(errors), {}};
        ASSERT_NE(why.find("could not connect to display"), std::string::npos)
            << "the program ended at start-up: " << why;
    }
    ASSERT_FALSE(linesOf(feedLog).empty()) << "the program never took the history";
}

} // namespace zuohao::desktoptest

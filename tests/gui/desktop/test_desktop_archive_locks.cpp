// The desktop program writes its draws into the archive while another program opens and closes
// the same archive (read-write and read-only) again and again; then the program is killed.
// Every draw it entered is in the archive, and it held its locks on the archive throughout: a
// process that drops them lets the other connection take itself for the last one, fold the
// write-ahead log in and delete it while the program still writes into it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "../../support/support_process.h"
#include "support_desktop.h"

namespace zuohao {
namespace {

using namespace std::chrono_literals;
using desktoptest::linesOf;
using testsupport::ChildProcess;

constexpr int kWrites = 40;
constexpr auto kWriteInterval = 150ms;
constexpr auto kLook = 50ms; // between two looks at a condition

// period -> number of the feed log's "entered" lines.
std::map<std::string, std::string> enteredDraws(const std::filesystem::path& feedLog) {
    std::map<std::string, std::string> out;
    for (const std::string& line : linesOf(feedLog)) {
        std::istringstream in(line);
        std::string what, lottery, qishu, haoma;
        in >> what >> lottery >> qishu >> haoma;
        if (what == "entered" || what == "corrected") out[qishu] = haoma;
    }
    return out;
}

// period -> number of every draw in the archive, read by a connection of this process that is
// opened (with `flags`) and closed again; nullopt when the archive could not be read.
std::optional<std::map<std::string, std::string>> archivedDraws(const std::string& path,
                                                                int flags) {
    sqlite3* db = nullptr;
    std::optional<std::map<std::string, std::string>> out;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT qishu, haoma FROM draw", -1, &s, nullptr) == SQLITE_OK) {
            out.emplace();
            int rc = SQLITE_ROW;
            while ((rc = sqlite3_step(s)) == SQLITE_ROW)
                (*out)[reinterpret_cast<const char*>(sqlite3_column_text(s, 0))] =
                    reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
            if (rc != SQLITE_DONE) out.reset();
        }
        if (!out) std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

bool holdsAll(const std::map<std::string, std::string>& archived,
              const std::map<std::string, std::string>& entered) {
    for (const auto& [qishu, haoma] : entered) {
        const auto it = archived.find(qishu);
        if (it == archived.end() || it->second != haoma) return false;
    }
    return true;
}

// Whether /proc/locks shows a lock of process `pid` on the file at `path`.
bool holdsLockOn(long pid, const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream in(line);
        std::string id, kind, mode, access, owner, file;
        in >> id >> kind;
        if (kind == "->") in >> kind; // a waiting lock
        in >> mode >> access >> owner >> file;
        const auto inode = file.substr(file.rfind(':') + 1);
        if (owner == std::to_string(pid) && inode == std::to_string(st.st_ino)) return true;
    }
    return false;
}

TEST(DesktopArchiveLocks, OtherConnectionsThenAKillLoseNoDraw) {
    const auto dir = desktoptest::makeDesktopFolder("zuohao-desktop-locks-");
    testing::WriterPlan plan;
    plan.path = (dir / "draws.txt").string();
    plan.ledger = (dir / "ledger.txt").string();
    plan.writes = kWrites;
    plan.interval = kWriteInterval;
    ASSERT_TRUE(desktoptest::writeFirstFile(plan));

    const auto feedLog = dir / "feed.log";
    const std::string archive = (dir / "draws.sqlite").string();
    ChildProcess program;
    desktoptest::startUntilUp(program, ZUOHAO_EXE,
                              {"--draw-file", plan.path, "--poll-interval", "40", "--feed-log",
                               feedLog.string(), "--ini", (dir / "zelkwt.ini").string(),
                               "--archive", archive},
                              dir, feedLog, [] { return true; });
    if (::testing::Test::HasFatalFailure()) return;
    const auto upBy = std::chrono::steady_clock::now() + 60s;
    // And until its archive holds the history.
    while (std::chrono::steady_clock::now() < upBy) {
        const auto held = archivedDraws(archive, SQLITE_OPEN_READONLY);
        if (held && !held->empty()) break;
        std::this_thread::sleep_for(kLook);
    }

    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) ::_exit(testing::runWriter(plan) ? 0 : 1);
    // Another program's connections come and go while the draws enter.
    int looks = 0;
    int status = 0;
    const auto writerBy = std::chrono::steady_clock::now() + 120s;
    while (::waitpid(writer, &status, WNOHANG) != writer) {
        ASSERT_LT(std::chrono::steady_clock::now(), writerBy) << "the writer did not finish";
        const int flags = looks++ % 2 ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        EXPECT_TRUE(archivedDraws(archive, flags)) << "another connection could not read";
        std::this_thread::sleep_for(kLook);
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(looks, 10);

    // Until every draw the program entered (the newest one among them) is in the archive.
    const std::string newest = std::to_string(plan.firstLabel + kWrites - 1);
    const auto writtenBy = std::chrono::steady_clock::now() + 60s;
    std::map<std::string, std::string> entered;
    bool written = false;
    while (!written && std::chrono::steady_clock::now() < writtenBy) {
        entered = enteredDraws(feedLog);
        const auto archived = archivedDraws(archive, SQLITE_OPEN_READWRITE);
        written = entered.count(newest) && archived && holdsAll(*archived, entered);
        if (!written) std::this_thread::sleep_for(kLook);
    }
    ASSERT_TRUE(written) << "the other connections never saw every entered draw";
    EXPECT_TRUE(holdsLockOn(program.pid(), archive)) << "the program let go of its locks";

    program.kill();
    program.wait();
    const auto archived = archivedDraws(archive, SQLITE_OPEN_READONLY);
    ASSERT_TRUE(archived);
    EXPECT_TRUE(holdsAll(*archived, enteredDraws(feedLog)));
    EXPECT_GE(archived->size(), std::size_t(kWrites));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace
} // namespace zuohao

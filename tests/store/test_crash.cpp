// A writer killed (SIGKILL; TerminateProcess on Windows) in the middle of a large import
// leaves a file that opens and holds a prefix of whole transactions.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "../support/support_process.h"
#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;

namespace {

constexpr int kBatch = 5000;

// Adds batches of draws to the archive until killed; the exit code says what failed.
[[noreturn]] void writeUntilKilled(const std::string& path) {
    auto a = Archive::open(path);
    if (!a) std::_Exit(3);
    for (long long first = 1;; first += kBatch)
        if (!(*a)->add(kDefaultLottery, storetest::plainDraws(first, kBatch), "import:big"))
            std::_Exit(4);
}

#ifdef _WIN32
// Windows has no fork: the test program starts itself again with the archive's path in this
// variable, and the copy only writes (before any test runs).
constexpr const char* kWriterVariable = "ZUOHAO_CRASH_WRITER";
[[maybe_unused]] const bool kIsWriter = [] {
    if (const char* path = std::getenv(kWriterVariable)) writeUntilKilled(path);
    return false;
}();

struct Writer {
    zuohao::testsupport::ChildProcess process;
    std::filesystem::path logs = zuohao::testsupport::makeTempDir("zuohao-crash-");
    bool start(const std::string& path) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        SetEnvironmentVariableA(kWriterVariable, path.c_str());
        const bool ok =
            process.start(std::filesystem::path(self).string(), {}, logs / "out", logs / "err");
        SetEnvironmentVariableA(kWriterVariable, nullptr);
        return ok;
    }
    ~Writer() {
        std::error_code ec;
        std::filesystem::remove_all(logs, ec);
    }
};
#else
struct Writer {
    pid_t pid = -1;
    bool start(const std::string& path) {
        pid = ::fork();
        if (pid == 0) writeUntilKilled(path);
        return pid > 0;
    }
};
#endif

// Ends the writer at once and tells whether it was still writing when killed.
bool killWriter(Writer& w) {
#ifdef _WIN32
    w.process.kill();
    return w.process.wait() == zuohao::testsupport::kKilledExitCode;
#else
    ::kill(w.pid, SIGKILL);
    int status = 0;
    ::waitpid(w.pid, &status, 0);
    return WIFSIGNALED(status);
#endif
}

} // namespace

TEST(ArchiveCrash, KilledImportLeavesWholeTransactions) {
    storetest::TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    { storetest::openOrDie(path); } // the schema exists before the writer starts
    Writer writer;
    ASSERT_TRUE(writer.start(path));
    // Wait until a few batches are in, then kill the writer mid-flight.
    auto reader = storetest::openOrDie(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        auto n = reader->newest(kDefaultLottery, 1);
        if (n && !n->empty() && n->back().period > 3 * kBatch) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(killWriter(writer));
    reader.reset();

    OpenReport rep;
    auto a = storetest::openOrDie(path, &rep);
    EXPECT_TRUE(rep.setAsideAs.empty());
    auto all = a->range(kDefaultLottery);
    ASSERT_TRUE(all);
    ASSERT_GT(all->size(), std::size_t(3 * kBatch));
    EXPECT_EQ(all->size() % kBatch, 0u);
    for (std::size_t i = 0; i < all->size(); ++i)
        ASSERT_EQ(all->at(i).period, static_cast<long long>(i) + 1);
    EXPECT_TRUE(a->gaps(kDefaultLottery)->empty());
    // And it takes new draws.
    EXPECT_TRUE(a->add(kDefaultLottery, storetest::plainDraws(1, 1), "x"));
}

// A writer killed with SIGKILL in the middle of a large import leaves a file that opens and
// holds a prefix of whole transactions.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;

TEST(ArchiveCrash, KilledImportLeavesWholeTransactions) {
    constexpr int kBatch = 5000;
    storetest::TempDir dir;
    const std::string path = dir.file("draws.sqlite");
    { storetest::openOrDie(path); } // the schema exists before the child starts
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        auto a = Archive::open(path);
        if (!a) ::_exit(3);
        for (long long first = 1;; first += kBatch)
            if (!(*a)->add(kDefaultLottery, storetest::plainDraws(first, kBatch), "import:big"))
                ::_exit(4);
    }
    // Wait until a few batches are in, then kill the writer mid-flight.
    auto reader = storetest::openOrDie(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        auto n = reader->newest(kDefaultLottery, 1);
        if (n && !n->empty() && n->back().period > 3 * kBatch) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    reader.reset();

    OpenReport rep;
    auto a = storetest::openOrDie(path, &rep);
    EXPECT_TRUE(rep.setAsideAs.empty());
    auto all = a->range(kDefaultLottery);
    ASSERT_TRUE(all);
    ASSERT_GT(all->size(), std::size_t(3 * kBatch));
    EXPECT_EQ(all->size() % kBatch, 0u);
    for (std::size_t i = 0; i < all->size(); ++i)
        ASSERT_EQ(all->at(i).period, (long long)(i) + 1);
    EXPECT_TRUE(a->gaps(kDefaultLottery)->empty());
    // And it takes new draws.
    EXPECT_TRUE(a->add(kDefaultLottery, storetest::plainDraws(1, 1), "x"));
}
#endif

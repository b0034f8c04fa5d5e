// The harness: a second process writes the draw file in each way betting programs do, while
// the core's acquisition polls it far more often than the window would. At the end every
// period held has the ledger's number, they entered oldest first, none the ledger shows in
// the window of the newest 100 is missing, and the file dialog was never asked for.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <random>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/Text.h"
#include "support_writer.h"

namespace zuohao {
namespace {

using testing::WriteMode;

// What the loads and polls returned: the draws that entered and the asks for the file.
struct Watcher {
    std::vector<std::string> entered;
    int asks = 0;
    void take(const RefreshEvents& e) {
        asks += e.askForFile;
        for (const DrawEntered& d : e.entered)
            entered.push_back(d.period);
    }
};

// label -> number of every draw the ledger shows.
std::map<std::string, std::string> readLedger(const std::string& path) {
    std::map<std::string, std::string> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const ParsedDrawText p = ParseDrawText(line);
        for (const DrawLine& d : p.draws)
            out[d.qishu] = d.haoma;
    }
    return out;
}

class Harness : public ::testing::TestWithParam<WriteMode> {};

TEST_P(Harness, EveryDrawRightInOrderAndNoDialog) {
    testing::TempDir dir;
    testing::WriterPlan plan;
    plan.path = dir.file("draws.txt");
    plan.ledger = dir.file("ledger.txt");
    plan.mode = GetParam();
    plan.writes = 64;
    testing::writeBytes(plan.path, "");

    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) _exit(testing::runWriter(plan) ? 0 : 1);

    Watcher watcher;
    FileDrawSource source;
    source.setPath(plan.path);
    LotteryClass lottery;
    lottery.setDrawSource(&source);
    std::mt19937 rng(std::uint32_t(GetParam()) + 7);
    int status = 0;
    bool done = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done && std::chrono::steady_clock::now() < deadline) {
        if (!lottery.state().IsGetHis)
            watcher.take(lottery.GetLotteryHisroty(AskForFile::No));
        else
            watcher.take(lottery.GetLotteryNew());
        std::this_thread::sleep_for(std::chrono::microseconds(500 + rng() % 6000));
        done = ::waitpid(writer, &status, WNOHANG) == writer;
    }
    if (!done) {
        ::kill(writer, SIGKILL);
        ::waitpid(writer, &status, 0);
        FAIL() << "the writer did not finish";
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer failed";
    watcher.take(lottery.GetLotteryNew()); // the file is whole now: at most one poll to believe it
    watcher.take(lottery.GetLotteryNew());

    const auto ledger = readLedger(plan.ledger);
    ASSERT_FALSE(lottery.state().LotteryDic_Jiankong.empty());
    for (const auto& [label, haoma] : lottery.state().LotteryDic_Jiankong) {
        ASSERT_TRUE(ledger.count(label)) << label << " was never written";
        EXPECT_EQ(haoma, ledger.at(label)) << "period " << label;
    }
    for (std::size_t i = 1; i < watcher.entered.size(); ++i)
        EXPECT_LT(NumericValue(watcher.entered[i - 1]), NumericValue(watcher.entered[i]))
            << "entered out of order at " << watcher.entered[i];
    const double newest = NumericValue(lottery.state().NewQi);
    EXPECT_EQ(newest, double(plan.firstLabel + plan.writes - 1)) << "the newest draw is held";
    for (const auto& [label, haoma] : ledger) {
        if (NumericValue(label) > newest - double(kHeldDraws)) {
            EXPECT_TRUE(lottery.state().LotteryDic.Exists(label)) << "missing " << label;
        }
    }
    EXPECT_EQ(watcher.asks, 0) << "no dialog";
}

INSTANTIATE_TEST_SUITE_P(Writers, Harness, ::testing::ValuesIn(testing::kAllWriteModes),
                         [](const auto& instance) { return testing::testNameOf(instance.param); });

} // namespace
} // namespace zuohao

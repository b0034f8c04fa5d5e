// The draw feed: one poll of the betting program's file (a usual 99-line file, and a 1 GB file
// whose tail has no line break), and the memory of a lottery after 1,000 and after 100,000
// draws through the pipeline with the monitor on.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "support_process_figures.h"

using namespace zuohao;

namespace {

std::string drawLines(long long newest, int count) {
    std::string t;
    char buf[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, "第%lld期 开奖号码 %05lld\r\n", newest - i,
                      ((newest - i) * 7919 + 13) % 100000);
        t += buf;
    }
    return t;
}

struct TempFile {
    std::filesystem::path path;
    explicit TempFile(const char* name) {
        path = std::filesystem::temp_directory_path() /
               (std::string("zuohao-bench-") + std::to_string(::getpid()) + "-" + name);
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

// Polls a file whose draws are all held already: the steady cost of every 6-second tick.
void pollFile(benchmark::State& state, const std::string& path) {
    FileDrawSource source;
    source.setPath(path);
    LotteryClass lottery;
    lottery.setDrawSource(&source);
    lottery.GetLotteryHisroty(AskForFile::No);
    if (lottery.state().LotteryDic.Count() < 98) state.SkipWithError("the file did not load");
    for (auto _ : state)
        lottery.GetLotteryNew();
}

void BM_PollFile99Lines(benchmark::State& state) {
    TempFile f("99.txt");
    std::ofstream(f.path, std::ios::binary) << drawLines(202612080999LL, 99);
    pollFile(state, f.path.string());
}
BENCHMARK(BM_PollFile99Lines)->Unit(benchmark::kMicrosecond);

// 98 lines, then a tail without a line break up to 1 GB (sparse: made at once, no disk used).
void BM_PollFile1GBUnterminatedTail(benchmark::State& state) {
    TempFile f("1g.txt");
    std::ofstream(f.path, std::ios::binary) << drawLines(202612080999LL, 98);
    std::filesystem::resize_file(f.path, 1ull << 30);
    pollFile(state, f.path.string());
}
BENCHMARK(BM_PollFile1GBUnterminatedTail)->Unit(benchmark::kMicrosecond);

using zuohao::bench::residentKb;

// Resident memory after 1,000 and after 100,000 draws, monitor on (each draw evaluated and
// kept as a row). Both are printed; the growth between them is what a long run costs.
void BM_MemoryAfterDraws(benchmark::State& state) {
    for (auto _ : state) {
        LotteryClass lottery;
        MonitorState& monitor = lottery.monitor();
        monitor.Monitoring = monitor.PlanRunning = true;
        monitor.MonitorBase = NumberList::read("012 345 678 901 234", false).list;
        monitor.SegmentSettings = {1, 3, 5, 2};
        long at1000 = 0, at30000 = 0;
        char haoma[8];
        for (long long i = 1; i <= 100000; ++i) {
            std::snprintf(haoma, sizeof haoma, "%05lld", (i * 7919 + 13) % 100000);
            (void)lottery.ProcessDraw(std::to_string(202600000000LL + i), haoma);
            if (i == 1000) at1000 = residentKb();
            if (i == 30000) at30000 = residentKb(); // the monitor's 20,000 periods are full
        }
        const long at100000 = residentKb();
        state.counters["rss_kb_after_1000"] = double(at1000);
        state.counters["rss_kb_after_100000"] = double(at100000);
        state.counters["rss_kb_after_30000"] = double(at30000);
        std::printf("resident memory: %ld KB after 1,000 draws, %ld KB after 30,000, %ld KB "
                    "after 100,000 (growth %ld KB from 1,000, %ld KB from 30,000)\n",
                    at1000, at30000, at100000, at100000 - at1000, at100000 - at30000);
    }
}
BENCHMARK(BM_MemoryAfterDraws)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

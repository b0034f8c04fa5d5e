// Import and export of ten million draws in bounded memory: each run happens in a child
// process whose peak resident memory is reported (peak_rss_MB, the target is 64 MB or less),
// with the time per million draws (s_per_M). Also the check the desktop program runs on its
// archive at start (PRAGMA quick_check) on a year of draws.
// And the archive import command on a year of draws.
// Run: build/zuohao-bench --benchmark_filter='TenMillion|QuickCheck|CliImportYear'
#ifndef _WIN32
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/CsvExport.h"
#include "store/DrawArchive.h"
#include "store/ImportText.h"

namespace {
using namespace zuohao::store;
namespace fs = std::filesystem;

constexpr long long kDraws = 10'000'000;
constexpr int kPerDay = 1440;

fs::path streamDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "zuohao-bench-stream";
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Ten million draw lines (about 19 years of minute draws), oldest first, written once.
const fs::path& drawFile() {
    static const fs::path file = [] {
        const fs::path f = streamDir() / "ten-million.txt";
        FILE* out = std::fopen(f.c_str(), "wb");
        if (!out) std::abort();
        using namespace std::chrono;
        sys_days day = year(2000) / January / 1;
        std::uint32_t x = 12345;
        for (long long n = 0; n < kDraws; day += days(1)) {
            const year_month_day ymd{day};
            const long long date =
                int(ymd.year()) * 10000LL + unsigned(ymd.month()) * 100 + unsigned(ymd.day());
            for (int i = 1; i <= kPerDay && n < kDraws; ++i, ++n) {
                x = x * 1664525u + 1013904223u;
                std::fprintf(out, "第%lld期 开奖号码 %05u\r\n", date * 10000 + i,
                             (x >> 8) % 100000);
            }
        }
        if (std::fclose(out) != 0) std::abort();
        return f;
    }();
    return file;
}

// Runs `body` in a child; its peak resident memory in MB (-1 when it failed).
template <class F> double inChild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) std::_Exit(body() ? 0 : 1);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return double(usage.ru_maxrss) / 1024.0; // KB on Linux
}

const fs::path archiveFile() {
    return streamDir() / "ten-million.sqlite";
}

bool importTenMillion() {
    auto a = Archive::open(archiveFile().string());
    if (!a || !(*a)->setBulkWrites(true)) return false;
    auto read = ReadImportFile(drawFile().string(), [&](std::vector<DrawIn>& batch) {
        return bool((*a)->add(kDefaultLottery, batch, "import:bench"));
    });
    return read && read->drawsRead == kDraws && (*a)->setBulkWrites(false);
}

void report(benchmark::State& state, double rss, double seconds) {
    if (rss < 0) state.SkipWithError("the child failed");
    state.counters["peak_rss_MB"] = rss;
    state.counters["s_per_M"] = seconds / (double(kDraws) / 1e6);
}

void BM_ImportTenMillion(benchmark::State& state) {
    drawFile();
    for (auto _ : state) {
        fs::remove(archiveFile());
        const auto t0 = std::chrono::steady_clock::now();
        const double rss = inChild(importTenMillion);
        report(state, rss,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}
BENCHMARK(BM_ImportTenMillion)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_ExportTenMillion(benchmark::State& state) {
    if (!fs::exists(archiveFile()) && inChild(importTenMillion) < 0) std::abort();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const double rss = inChild([] {
            auto a = Archive::open(archiveFile().string(), nullptr, OpenMode::ReadOnly);
            auto out = OutputFile::create((streamDir() / "export.csv").string());
            if (!a || !out) return false;
            ExportRequest r;
            r.csv = true;
            auto n = ExportDraws(**a, r, **out);
            return n && *n == kDraws;
        });
        report(state, rss,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}
BENCHMARK(BM_ExportTenMillion)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The command itself: `zuohao-cli archive import` of a year of draw lines (525,600) into a new
// archive, run as its own process (the program beside this one, or $ZUOHAO_CLI): its time and
// peak memory (targets: 2 s or less, 64 MB or less).
void BM_CliImportYear(benchmark::State& state) {
    const fs::path lines = streamDir() / "year.txt";
    {
        FILE* out = std::fopen(lines.c_str(), "wb");
        if (!out) std::abort();
        using namespace std::chrono;
        sys_days day = year(2025) / January / 1;
        std::uint32_t x = 777;
        for (int d = 0; d < 365; ++d, day += days(1)) {
            const year_month_day ymd{day};
            const long long date =
                int(ymd.year()) * 10000LL + unsigned(ymd.month()) * 100 + unsigned(ymd.day());
            for (int i = 1; i <= kPerDay; ++i) {
                x = x * 1664525u + 1013904223u;
                std::fprintf(out, "%lld %05u\n", date * 10000 + i, (x >> 8) % 100000);
            }
        }
        if (std::fclose(out) != 0) std::abort();
    }
    const char* env = std::getenv("ZUOHAO_CLI");
    const std::string cli =
        env ? env : (fs::read_symlink("/proc/self/exe").parent_path() / "zuohao-cli").string();
    const std::string archive = (streamDir() / "cli-year.sqlite").string();
    for (auto _ : state) {
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(archive + suffix);
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (!std::freopen("/dev/null", "w", stdout)) std::_Exit(1);
            ::execl(cli.c_str(), cli.c_str(), "archive", "import", lines.c_str(), "--archive",
                    archive.c_str(), static_cast<char*>(nullptr));
            std::_Exit(1); // not started
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError(("the import failed: " + cli).c_str());
        auto secondsOf = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        state.counters["s"] = seconds;
        // Its own processor time: the wall time less what other programs took meanwhile.
        state.counters["cpu_s"] = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
        state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
    }
}
BENCHMARK(BM_CliImportYear)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The check a desktop start runs, on the ten-million-draw archive.
void BM_QuickCheckTenMillion(benchmark::State& state) {
    if (!fs::exists(archiveFile()) && inChild(importTenMillion) < 0) std::abort();
    for (auto _ : state) {
        auto a = Archive::open(archiveFile().string(), nullptr, OpenMode::SetAsideDamaged);
        if (!a) std::abort();
    }
}
BENCHMARK(BM_QuickCheckTenMillion)->Unit(benchmark::kMillisecond)->Iterations(2);
} // namespace
#endif

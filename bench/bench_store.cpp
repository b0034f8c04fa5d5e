// The draw archive: a year of minute draws imported, one poll's write, the newest 10,000
// read back, and the size of a year's archive.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "store/DrawArchive.h"

namespace {
using namespace zuohao::store;
namespace fs = std::filesystem;

constexpr int kDays = 365;
constexpr std::size_t kBatch = 10000; // as zuohao-cli archive import writes

// A year of minute draws, 2026-01-01 0001 to 2026-12-31 1440.
const std::vector<DrawIn>& yearOfDraws() {
    static const std::vector<DrawIn> draws = [] {
        std::vector<DrawIn> v;
        v.reserve(std::size_t(kDays) * kPeriodsPerDay);
        using namespace std::chrono;
        sys_days day = year(2026) / January / 1;
        std::uint32_t x = 12345;
        for (int d = 0; d < kDays; ++d, day += days(1)) {
            const year_month_day ymd{day};
            const long long date =
                int(ymd.year()) * 10000LL + unsigned(ymd.month()) * 100 + unsigned(ymd.day());
            for (int i = 1; i <= kPeriodsPerDay; ++i) {
                x = x * 1664525u + 1013904223u;
                char h[8];
                std::snprintf(h, sizeof h, "%05u", (x >> 8) % 100000);
                v.push_back({std::to_string(date * 10000 + i), h});
            }
        }
        return v;
    }();
    return draws;
}

fs::path benchDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "zuohao-bench-store";
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

void importAll(Archive& a, const std::vector<DrawIn>& draws) {
    if (!a.setBulkWrites(true)) std::abort();
    for (std::size_t at = 0; at < draws.size(); at += kBatch) {
        std::vector<DrawIn> batch(draws.begin() + std::ptrdiff_t(at),
                                  draws.begin() +
                                      std::ptrdiff_t(std::min(at + kBatch, draws.size())));
        if (!a.add(kDefaultLottery, batch, "import:bench")) std::abort();
    }
    if (!a.setBulkWrites(false)) std::abort();
}

// The archive holding a year, built once.
Archive& yearArchive() {
    static std::unique_ptr<Archive> a = [] {
        auto r = Archive::open((benchDir() / "year.sqlite").string());
        if (!r) std::abort();
        auto p = std::move(r).value();
        importAll(*p, yearOfDraws());
        return p;
    }();
    return *a;
}

void BM_ImportYear(benchmark::State& state) {
    const auto& draws = yearOfDraws();
    std::uintmax_t bytes = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path file = benchDir() / ("import" + std::to_string(n++) + ".sqlite");
        auto a = Archive::open(file.string());
        if (!a) std::abort();
        state.ResumeTiming();
        importAll(**a, draws);
        state.PauseTiming();
        a = zuohao::fail("closed");
        bytes = fs::file_size(file);
        fs::remove(file);
        state.ResumeTiming();
    }
    state.counters["draws"] = double(draws.size());
    state.counters["archive_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_ImportYear)->Unit(benchmark::kMillisecond)->Iterations(3);

// One poll: the new draw written in its own transaction on top of a year.
void BM_PollWrite(benchmark::State& state) {
    Archive& a = yearArchive();
    long long next = 202701010001;
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!a.add(kDefaultLottery, {DrawIn{std::to_string(next++), "12345"}}, "/draws.txt"))
            std::abort();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::nth_element(ms.begin(), ms.begin() + std::ptrdiff_t(ms.size() / 2), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
}
BENCHMARK(BM_PollWrite)->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_Newest10000(benchmark::State& state) {
    Archive& a = yearArchive();
    for (auto _ : state) {
        auto r = a.newest(kDefaultLottery, 10000);
        if (!r || r->size() != 10000) std::abort();
        benchmark::DoNotOptimize(r->back().haoma.data());
    }
}
BENCHMARK(BM_Newest10000)->Unit(benchmark::kMillisecond);

void BM_DaysYear(benchmark::State& state) {
    Archive& a = yearArchive();
    for (auto _ : state) {
        auto r = a.days(kDefaultLottery);
        if (!r || r->size() < std::size_t(kDays)) std::abort();
    }
}
BENCHMARK(BM_DaysYear)->Unit(benchmark::kMillisecond);

void BM_CountsPerDayYear(benchmark::State& state) {
    Archive& a = yearArchive();
    for (auto _ : state) {
        auto r = a.countsPerDay(kDefaultLottery);
        if (!r || r->size() < std::size_t(kDays)) std::abort();
    }
}
BENCHMARK(BM_CountsPerDayYear)->Unit(benchmark::kMillisecond);

void BM_GapsYear(benchmark::State& state) {
    Archive& a = yearArchive();
    for (auto _ : state) {
        auto r = a.gaps(kDefaultLottery);
        if (!r) std::abort();
        benchmark::DoNotOptimize(r->size());
    }
}
BENCHMARK(BM_GapsYear)->Unit(benchmark::kMillisecond);
} // namespace

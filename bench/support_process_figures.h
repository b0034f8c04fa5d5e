#pragma once
// What a benchmark reads of its own process (Linux): resident memory and CPU time used.
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace zuohao::bench {

// Resident memory in KiB; -1 when it cannot be read.
inline long residentKb() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// CPU time of every thread of the process so far, in seconds.
inline double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// CPU time of the calling thread so far, in seconds: what the thread was busy with, without
// the time it waited for a core.
inline double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace zuohao::bench

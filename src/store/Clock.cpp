// The archive's clock text.
#include <chrono>
#include <cstdio>

#include "store/DrawArchive.h"

namespace zuohao::store {

std::string UtcNowIso() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto today = floor<days>(now);
    const year_month_day ymd{today};
    const hh_mm_ss hms{now - today};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(hms.hours().count()),
                  int(hms.minutes().count()), int(hms.seconds().count()));
    return buf;
}

} // namespace zuohao::store

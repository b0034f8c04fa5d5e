// The archive's clock text: first-seen and correction times.
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

bool IsUtcIso(std::string_view t) {
    // yyyy-mm-ddThh:mm:ssZ
    static constexpr std::string_view kShape = "0000-00-00T00:00:00Z";
    if (t.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const bool digit = t[i] >= '0' && t[i] <= '9';
        if (kShape[i] == '0' ? !digit : t[i] != kShape[i]) return false;
    }
    return true;
}

} // namespace zuohao::store

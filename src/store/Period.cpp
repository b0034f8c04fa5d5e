// Period arithmetic of the archive: numeric value, the period after a label, days.
#include <chrono>
#include <cstdio>

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace {
constexpr std::int64_t kIndexDigits = 10000; // NNNN of yyyymmddNNNN
constexpr int kMaxDigits = 18;               // fits an int64

struct DateLabel {
    int year = 0, month = 0, day = 0;
    std::int64_t index = 0; // 1..1440
};

bool dateLabel(std::int64_t v, DateLabel& out) {
    if (v < kDateBandLow || v > kDateBandHigh) return false;
    out.index = v % kIndexDigits;
    const std::int64_t date = v / kIndexDigits;
    out.year = int(date / 10000);
    out.month = int(date / 100 % 100);
    out.day = int(date % 100);
    if (out.index < 1 || out.index > kPeriodsPerDay) return false;
    const std::chrono::year_month_day ymd{std::chrono::year(out.year),
                                          std::chrono::month(unsigned(out.month)),
                                          std::chrono::day(unsigned(out.day))};
    return ymd.ok();
}

std::int64_t ordinal(const DateLabel& d) {
    const std::chrono::sys_days days = std::chrono::year_month_day{
        std::chrono::year(d.year), std::chrono::month(unsigned(d.month)),
        std::chrono::day(unsigned(d.day))};
    return std::int64_t(days.time_since_epoch().count()) * kPeriodsPerDay + (d.index - 1);
}
} // namespace

std::int64_t PeriodValue(const std::string& qishu) {
    std::int64_t v = 0;
    int digits = 0;
    for (char c : qishu) {
        if (c < '0' || c > '9') break;
        if (digits == kMaxDigits) break;
        if (v != 0 || c != '0') ++digits;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::int64_t PeriodsBetweenValues(std::int64_t earlier, std::int64_t later) {
    DateLabel a, b;
    std::int64_t diff =
        (dateLabel(earlier, a) && dateLabel(later, b)) ? ordinal(b) - ordinal(a) : later - earlier;
    return diff > 1 ? diff - 1 : 0;
}

std::int64_t PeriodsBetween(const std::string& earlier, const std::string& later) {
    return PeriodsBetweenValues(PeriodValue(earlier), PeriodValue(later));
}

std::string DayOfPeriod(std::int64_t period) {
    DateLabel d;
    if (!dateLabel(period, d)) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string DayOfLabel(const std::string& qishu) {
    return DayOfPeriod(PeriodValue(qishu));
}

bool DayPeriodRange(const std::string& day, std::int64_t& first, std::int64_t& last) {
    int y = 0, m = 0, d = 0;
    if (day.size() != 10 || std::sscanf(day.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3) return false;
    const std::int64_t base = (std::int64_t(y) * 10000 + m * 100 + d) * kIndexDigits;
    first = base + 1;
    last = base + kPeriodsPerDay;
    DateLabel probe;
    return dateLabel(first, probe);
}

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

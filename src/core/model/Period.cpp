#include "core/model/Period.h"

#include <chrono>
#include <cstdio>

namespace zuohao {

namespace {
constexpr std::int64_t kIndexDigits = 10000; // NNNN of yyyymmddNNNN
constexpr int kMaxDigits = 18;               // fits an int64

struct DateLabel {
    int year = 0, month = 0, day = 0;
    std::int64_t index = 0; // 1..kPeriodsPerDay
};

std::chrono::year_month_day dateOf(const DateLabel& d) {
    return {std::chrono::year(d.year), std::chrono::month(unsigned(d.month)),
            std::chrono::day(unsigned(d.day))};
}

bool dateLabel(std::int64_t v, DateLabel& out) {
    if (v < kDateBandLow || v > kDateBandHigh) return false;
    out.index = v % kIndexDigits;
    const std::int64_t date = v / kIndexDigits;
    out.year = int(date / 10000);
    out.month = int(date / 100 % 100);
    out.day = int(date % 100);
    if (out.index < 1 || out.index > kPeriodsPerDay) return false;
    return dateOf(out).ok();
}

// Periods since 1970-01-01 period 0001.
std::int64_t ordinal(const DateLabel& d) {
    const std::chrono::sys_days days = dateOf(d);
    return std::int64_t(days.time_since_epoch().count()) * kPeriodsPerDay + (d.index - 1);
}
} // namespace

std::int64_t PeriodValue(std::string_view qishu) {
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

bool IsDatePeriod(std::int64_t value) {
    DateLabel d;
    return dateLabel(value, d);
}

std::int64_t PeriodSteps(std::int64_t earlier, std::int64_t later) {
    DateLabel a, b;
    if (dateLabel(earlier, a) && dateLabel(later, b)) return ordinal(b) - ordinal(a);
    return later - earlier;
}

std::int64_t NextPeriodValue(std::int64_t value) {
    DateLabel d;
    if (!dateLabel(value, d) || d.index < kPeriodsPerDay) return value + 1;
    const std::chrono::year_month_day next{std::chrono::sys_days(dateOf(d)) + std::chrono::days(1)};
    const std::int64_t date = std::int64_t(int(next.year())) * 10000 +
                              std::int64_t(unsigned(next.month())) * 100 + unsigned(next.day());
    return date * kIndexDigits + 1;
}

std::string NextLabelText(std::string_view label) {
    return Period::parse(label).next().text();
}

Period Period::parse(std::string_view label) {
    const std::size_t start = label.find_first_not_of(" \t");
    return Period(start == std::string_view::npos ? 0 : PeriodValue(label.substr(start)));
}

bool Period::isDate() const {
    return IsDatePeriod(m_value);
}

std::string Period::day() const {
    return DayOfPeriod(m_value);
}

int Period::numberInDay() const {
    DateLabel d;
    return dateLabel(m_value, d) ? int(d.index) : 0;
}

Period Period::next() const {
    return Period(NextPeriodValue(m_value));
}

std::string Period::text() const {
    return std::to_string(m_value);
}

std::string PeriodKey(std::string_view label) {
    return Period::parse(label).text();
}

std::int64_t PeriodsBetweenValues(std::int64_t earlier, std::int64_t later) {
    const std::int64_t steps = PeriodSteps(earlier, later);
    return steps > 1 ? steps - 1 : 0;
}

std::int64_t PeriodsBetween(std::string_view earlier, std::string_view later) {
    return PeriodsBetweenValues(PeriodValue(earlier), PeriodValue(later));
}

std::string DayOfPeriod(std::int64_t period) {
    DateLabel d;
    if (!dateLabel(period, d)) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string DayOfLabel(std::string_view qishu) {
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

} // namespace zuohao

// libFuzzer target: the time service's answer. Whatever the text, a parse gives a real date
// and time of day, and printing the fields back reads as the same fields.
#include <cstdint>
#include <cstdio>

#include "core/acquire/TimeText.h"
#include "support_fuzz.h"

using namespace zuohao;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<TimeFields> t = ParseServiceTime(text);
    if (!t) return 0;
    FUZZ_CHECK(t->month >= 1 && t->month <= 12 && t->day >= 1 && t->day <= 31);
    FUZZ_CHECK(t->hour >= 0 && t->hour <= 23 && t->minute <= 59 && t->second <= 59);
    FUZZ_CHECK(t->msec >= 0 && t->msec <= 999);
    FUZZ_CHECK(t->offsetSeconds > -100 * 3600 && t->offsetSeconds < 100 * 3600);
    char again[64];
    std::snprintf(again, sizeof again, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t->year, t->month,
                  t->day, t->hour, t->minute, t->second, t->msec);
    const std::optional<TimeFields> u = ParseServiceTime(again);
    FUZZ_CHECK(u && u->year == t->year && u->month == t->month && u->day == t->day &&
               u->hour == t->hour && u->minute == t->minute && u->second == t->second &&
               u->msec == t->msec);
    return 0;
}

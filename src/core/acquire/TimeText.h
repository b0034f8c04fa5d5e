#pragma once
// The time service's answer: a date-time text read into its fields, without any clock or
// time-zone library. "2025-01-02 03:04:05", "2025/1/2 3:04:05", ISO 8601 with "T" (with or
// without a zone), seconds and time optional, AM/PM allowed, blanks around it ignored.
#include <optional>
#include <string_view>

namespace zuohao {

struct TimeFields {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
    bool zoned = false;    // a zone was given ("Z" or an offset)
    int offsetSeconds = 0; // east of UTC
};

// The fields of a date-time text, or nothing when it is not one (or names no real date or
// time of day).
std::optional<TimeFields> ParseServiceTime(std::string_view text);

} // namespace zuohao

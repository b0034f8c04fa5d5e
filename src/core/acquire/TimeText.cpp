#include "core/acquire/TimeText.h"

namespace zuohao {

namespace {
constexpr int kMaxOffsetHours = 23;
constexpr int kMaxOffsetMinutes = 59;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads between `least` and `most` digits at `at`; nothing when fewer are there.
std::optional<int> digits(std::string_view s, std::size_t& at, int least, int most) {
    int n = 0, value = 0;
    while (at < s.size() && n < most && isDigit(s[at])) {
        value = value * 10 + (s[at] - '0');
        ++at;
        ++n;
    }
    if (n < least) return std::nullopt;
    return value;
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysIn(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool dateSeparator(char c) {
    return c == '-' || c == '/' || c == '.';
}

// The optional part after the date: time, AM/PM and zone. False when it does not fit.
bool readTime(std::string_view s, std::size_t& at, TimeFields& t) {
    if (at < s.size() && s[at] == 'T') {
        ++at;
    } else {
        const std::size_t blanks = at;
        while (at < s.size() && isSpace(s[at]))
            ++at;
        if (at == blanks) return false;
    }
    const auto hour = digits(s, at, 1, 2);
    if (!hour || at >= s.size() || s[at] != ':') return false;
    ++at;
    const auto minute = digits(s, at, 1, 2);
    if (!minute) return false;
    t.hour = *hour;
    t.minute = *minute;
    if (at < s.size() && s[at] == ':') {
        ++at;
        const auto second = digits(s, at, 1, 2);
        if (!second) return false;
        t.second = *second;
        if (at < s.size() && (s[at] == '.' || s[at] == ',')) {
            ++at;
            const std::size_t from = at;
            if (!digits(s, at, 1, 9)) return false;
            int ms = 0;
            for (std::size_t k = 0; k < 3; ++k)
                ms = ms * 10 + (from + k < at ? s[from + k] - '0' : 0);
            t.msec = ms;
        }
    }
    std::size_t look = at;
    while (look < s.size() && isSpace(s[look]))
        ++look;
    if (look + 1 < s.size() &&
        (s[look] == 'A' || s[look] == 'a' || s[look] == 'P' || s[look] == 'p') &&
        (s[look + 1] == 'M' || s[look + 1] == 'm')) {
        if (t.hour < 1 || t.hour > 12) return false;
        const bool pm = s[look] == 'P' || s[look] == 'p';
        t.hour = t.hour % 12 + (pm ? 12 : 0);
        at = look + 2;
    }
    look = at;
    while (look < s.size() && isSpace(s[look]))
        ++look;
    if (look < s.size() && s[look] == 'Z') {
        t.zoned = true;
        at = look + 1;
    } else if (look < s.size() && (s[look] == '+' || s[look] == '-')) {
        const bool west = s[look] == '-';
        at = look + 1;
        const auto h = digits(s, at, 2, 2);
        if (!h) return false;
        int m = 0;
        if (at < s.size() && s[at] == ':') {
            ++at;
            const auto mm = digits(s, at, 2, 2);
            if (!mm) return false;
            m = *mm;
        } else if (at + 1 < s.size() && isDigit(s[at]) && isDigit(s[at + 1])) {
            m = *digits(s, at, 2, 2);
        }
        // Real offsets lie within a day; anything else is no offset but a broken answer.
        if (*h > kMaxOffsetHours || m > kMaxOffsetMinutes) return false;
        t.zoned = true;
        t.offsetSeconds = (west ? -1 : 1) * (*h * 3600 + m * 60);
    }
    return true;
}

} // namespace

std::optional<TimeFields> ParseServiceTime(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    TimeFields t;
    std::size_t at = 0;
    const auto year = digits(s, at, 4, 4);
    if (!year || at >= s.size() || !dateSeparator(s[at])) return std::nullopt;
    ++at;
    const auto month = digits(s, at, 1, 2);
    if (!month || at >= s.size() || !dateSeparator(s[at])) return std::nullopt;
    ++at;
    const auto day = digits(s, at, 1, 2);
    if (!day) return std::nullopt;
    t.year = *year;
    t.month = *month;
    t.day = *day;
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysIn(t.year, t.month))
        return std::nullopt;
    if (at < s.size() && !readTime(s, at, t)) return std::nullopt;
    if (at != s.size()) return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t;
}

} // namespace zuohao

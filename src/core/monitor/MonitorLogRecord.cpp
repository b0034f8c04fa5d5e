#include "core/monitor/MonitorLogRecord.h"

#include <charconv>
#include <optional>

namespace zuohao {

namespace {
// "20261210-0001:H2", "...:M", "=<note>"; pieces are parted by ';'.
constexpr char kPieceEnd = ';';
constexpr char kMarkSep = ':';
constexpr char kNoteLead = '=';
constexpr char kEscape = '%';
constexpr char kHitMark = 'H';
constexpr char kMissMark = 'M';
constexpr std::size_t kMaxPeriodDigits = 18; // a period's value fits an int64
constexpr int kMaxPlanPeriod = 999;
constexpr std::size_t kMaxNoteBytes = 2000;
constexpr const char* kHex = "0123456789ABCDEF";

bool plain(unsigned char c) {
    return c > ' ' && c < 0x7F && c != kPieceEnd && c != kEscape && c != '"';
}

void putNote(std::string& out, std::string_view note) {
    out += kNoteLead;
    for (unsigned char c : note) {
        if (plain(c)) {
            out += char(c);
            continue;
        }
        out += kEscape;
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The note of a piece after its lead; nothing when it is not written as putNote writes it.
std::optional<std::string> readNote(std::string_view s) {
    if (s.empty() || s.size() > kMaxNoteBytes * 3) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c != kEscape) {
            if (!plain(c)) return std::nullopt;
            out += char(c);
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        const int hi = hexValue(s[i + 1]);
        const int lo = hexValue(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        const auto byte = static_cast<unsigned char>(hi * 16 + lo);
        if (plain(byte)) return std::nullopt; // written plain, never escaped
        out += char(byte);
        i += 2;
    }
    if (out.size() > kMaxNoteBytes) return std::nullopt;
    return out;
}

std::optional<MonitorLogLine> readPlanLine(std::string_view s) {
    const std::size_t sep = s.find(kMarkSep);
    if (sep == std::string_view::npos || sep == 0 || sep > kMaxPeriodDigits) return std::nullopt;
    const std::string_view digits = s.substr(0, sep);
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt; // as written: no leading 0
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    MonitorLogLine line;
    line.period = Period::parse(digits);
    const std::string_view mark = s.substr(sep + 1);
    if (mark.size() == 1 && mark[0] == kMissMark) {
        line.mark = {PlanMark::Miss, 0};
        return line;
    }
    if (mark.size() < 2 || mark[0] != kHitMark || mark[1] == '0') return std::nullopt;
    int n = 0;
    const char* end = mark.data() + mark.size();
    const auto [ptr, ec] = std::from_chars(mark.data() + 1, end, n);
    if (ec != std::errc() || ptr != end || n < 1 || n > kMaxPlanPeriod) return std::nullopt;
    line.mark = {PlanMark::Hit, n};
    return line;
}
} // namespace

std::string MonitorLogRecord(const std::vector<MonitorLogLine>& log) {
    std::string out;
    for (const MonitorLogLine& line : log) {
        if (!line.note.empty()) {
            if (line.note.size() > kMaxNoteBytes) continue;
            putNote(out, line.note);
        } else if (line.mark.kind == PlanMark::Hit && line.mark.period >= 1 &&
                   line.mark.period <= kMaxPlanPeriod && line.period.value() >= 0) {
            out += line.period.text() + kMarkSep + kHitMark + std::to_string(line.mark.period);
        } else if (line.mark.kind == PlanMark::Miss && line.period.value() >= 0) {
            out += line.period.text() + kMarkSep + kMissMark;
        } else {
            continue; // no line the monitor writes
        }
        out += kPieceEnd;
    }
    return out;
}

std::vector<MonitorLogLine> ParseMonitorLogRecord(std::string_view text) {
    std::vector<MonitorLogLine> log;
    while (!text.empty()) {
        const std::size_t end = text.find(kPieceEnd);
        const std::string_view piece = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!piece.empty() && piece[0] == kNoteLead) {
            if (auto note = readNote(piece.substr(1))) log.push_back({{}, {}, std::move(*note)});
        } else if (auto line = readPlanLine(piece)) {
            log.push_back(*line);
        }
    }
    if (log.size() > kMonitorLogLimit)
        log.erase(log.begin(), log.end() - std::ptrdiff_t(kMonitorLogLimit));
    return log;
}

} // namespace zuohao

#pragma once
// A betting program's writer, for the harness: it writes a draw file newest first, one new
// draw per write, in one of the ways such programs rewrite their file, and keeps a ledger of
// every draw it wrote ("label number" per line, written before the draw reaches the file).
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <string>
#include <thread>

#include "support_files.h"

namespace zuohao::testing {

enum class WriteMode { Rename, TruncateThenWrite, LineByLine, PausedTopLine };

inline const char* modeName(WriteMode m) {
    switch (m) {
    case WriteMode::Rename:
        return "rename";
    case WriteMode::TruncateThenWrite:
        return "truncate";
    case WriteMode::LineByLine:
        return "line-by-line";
    case WriteMode::PausedTopLine:
        return "paused-top-line";
    }
    return "";
}

inline constexpr WriteMode kAllWriteModes[] = {WriteMode::Rename, WriteMode::TruncateThenWrite,
                                               WriteMode::LineByLine, WriteMode::PausedTopLine};

// The mode's name as a test name ("line_by_line").
inline std::string testNameOf(WriteMode m) {
    std::string n = modeName(m);
    for (char& c : n)
        if (c == '-') c = '_';
    return n;
}

struct WriterPlan {
    std::string path, ledger;
    WriteMode mode = WriteMode::Rename;
    int writes = 60;
    long long firstLabel = 202612080001LL;
    int keepLines = 120;
    std::chrono::milliseconds interval{40};
    std::chrono::microseconds linePause{1000};
    std::chrono::milliseconds topPause{30};
};

namespace detail {
inline void sleepFor(std::chrono::microseconds d) {
    std::this_thread::sleep_for(d);
}
inline bool writeAll(int fd, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        const ssize_t n = ::write(fd, s.data() + done, s.size() - done);
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}
} // namespace detail

// Runs the writer to its end; false when a write failed. Meant to run in its own process.
inline bool runWriter(const WriterPlan& plan) {
    std::deque<std::string> lines; // newest first
    FILE* ledger = std::fopen(plan.ledger.c_str(), "w");
    if (!ledger) return false;
    // The history the file starts with.
    const long long start = plan.firstLabel - plan.keepLines;
    for (long long l = start; l < plan.firstLabel; ++l)
        lines.push_front(drawLine(l, haomaOf(l)));
    for (int w = 0; w <= plan.writes; ++w) {
        if (w > 0) {
            const long long label = plan.firstLabel + w - 1;
            lines.push_front(drawLine(label, haomaOf(label)));
            if (int(lines.size()) > plan.keepLines) lines.pop_back();
        }
        for (const std::string& l : lines) // the ledger: every draw the file shows
            std::fprintf(ledger, "%s\n", l.c_str());
        std::fprintf(ledger, "--\n");
        std::fflush(ledger);
        std::string text;
        for (const std::string& l : lines)
            text += l + "\r\n";
        if (plan.mode == WriteMode::Rename || w == 0) {
            const std::string tmp = plan.path + ".tmp";
            writeBytes(tmp, text);
            if (std::rename(tmp.c_str(), plan.path.c_str()) != 0) return false;
        } else if (plan.mode == WriteMode::TruncateThenWrite) {
            const int fd = ::open(plan.path.c_str(), O_WRONLY | O_TRUNC);
            if (fd < 0) return false;
            detail::sleepFor(plan.linePause); // the empty moment
            bool ok = true;
            for (std::size_t at = 0; ok && at < text.size(); at += 700) {
                ok = detail::writeAll(fd, text.substr(at, 700));
                detail::sleepFor(plan.linePause);
            }
            ::close(fd);
            if (!ok) return false;
        } else {
            const int fd = ::open(plan.path.c_str(), O_WRONLY);
            if (fd < 0) return false;
            bool ok = true;
            if (plan.mode == WriteMode::LineByLine) {
                for (const std::string& l : lines) {
                    ok = ok && detail::writeAll(fd, l + "\r\n");
                    detail::sleepFor(plan.linePause);
                }
            } else {
                const std::size_t cut = text.find(' ', text.find(' ') + 1) + 1; // before the number
                ok = detail::writeAll(fd, text.substr(0, cut));
                detail::sleepFor(plan.topPause);
                ok = ok && detail::writeAll(fd, text.substr(cut));
            }
            ok = ok && ::ftruncate(fd, off_t(text.size())) == 0;
            ::close(fd);
            if (!ok) return false;
        }
        detail::sleepFor(plan.interval);
    }
    std::fclose(ledger);
    return true;
}

} // namespace zuohao::testing

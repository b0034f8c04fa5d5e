#include "core/acquire/DrawSource.h"

#include "core/acquire/LineRule.h"
#include "core/platform/ReadOnlyFile.h"

namespace zuohao {

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF)
            len = 2, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            len = 3, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            len = 4, cp = c & 0x07;
        else
            return false;
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::string DecodeDrawLine(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    static constexpr const char* kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char c = at(i);
        if (c < 0x80) {
            out.push_back(char(c));
            ++i;
            continue;
        }
        // GB18030: lead 81-FE, then 40-7E/80-FE (two bytes) or 30-39 81-FE 30-39 (four).
        if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) {
            unsigned char t = at(i + 1);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFE)) {
                out += kReplacement;
                i += 2;
                continue;
            }
            if (t >= 0x30 && t <= 0x39 && i + 3 < bytes.size() && at(i + 2) >= 0x81 &&
                at(i + 2) <= 0xFE && at(i + 3) >= 0x30 && at(i + 3) <= 0x39) {
                out += kReplacement;
                i += 4;
                continue;
            }
        }
        out += kReplacement; // a stray byte is one unknown character
        ++i;
    }
    return out;
}

namespace {
// One pass over the head of the file.
std::optional<std::string> readHeadOnce(const std::string& path) {
    platform::ReadOnlyFile f;
    if (!f.open(path)) return std::nullopt;
    std::string text, line;
    bool overLong = false;
    int lines = 0;
    char buf[65536];
    auto endLine = [&] {
        text += overLong ? std::string() : DecodeDrawLine(line);
        line.clear();
        overLong = false;
    };
    while (lines < kDrawFileLines) {
        const std::optional<std::size_t> got = f.read(buf, sizeof buf);
        if (!got) return std::nullopt;
        const std::size_t n = *got;
        if (n == 0) break;
        for (std::size_t i = 0; i < n && lines < kDrawFileLines; ++i) {
            if (buf[i] == '\n') {
                endLine();
                text.push_back('\n');
                ++lines;
            } else if (!overLong) {
                line.push_back(buf[i]);
                if (line.size() > FileDrawSource::kLineCap) {
                    overLong = true;
                    line.clear();
                }
            }
        }
    }
    if (lines < kDrawFileLines && (!line.empty() || overLong)) endLine();
    if (text.empty()) return std::nullopt;
    return text;
}
} // namespace

std::optional<std::string> ReadDrawFileHead(const std::string& path) {
    if (path.empty()) return std::nullopt;
    // A betting program that rewrites its file in place (truncate, then write) can be caught
    // between two versions: the start of a line from one and its end from the next would
    // make a wrong draw. Two passes that read the same text are taken as one moment of the
    // file; a file that never holds still in a few passes gives no text this time.
    constexpr int kPasses = 8;
    std::optional<std::string> previous = readHeadOnce(path);
    for (int pass = 1; pass < kPasses; ++pass) {
        std::optional<std::string> again = readHeadOnce(path);
        if (again == previous) return previous;
        previous = std::move(again);
    }
    return std::nullopt;
}

std::optional<std::string> FileDrawSource::ReadText() {
    return ReadDrawFileHead(m_path);
}

} // namespace zuohao

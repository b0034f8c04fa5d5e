#include "core/acquire/DrawSource.h"

#include "core/model/Text.h"
#include "core/platform/ReadOnlyFile.h"

namespace zuohao {

const char* DrawFileProblemText(DrawFileProblem problem) {
    switch (problem) {
    case DrawFileProblem::None:
        return "";
    case DrawFileProblem::NoPath:
        return "未选择开奖文件";
    case DrawFileProblem::CannotOpen:
        return "开奖文件打不开";
    case DrawFileProblem::ReadError:
        return "开奖文件读取出错";
    case DrawFileProblem::Empty:
        return "开奖文件是空的";
    case DrawFileProblem::Unsteady:
        return "开奖文件正在改写";
    }
    return "";
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

enum class Utf16 { No, Le, Be };

Utf16 utf16Of(std::string_view raw) {
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') return Utf16::Le;
    if (raw.size() >= 2 && raw[0] == '\xFE' && raw[1] == '\xFF') return Utf16::Be;
    return Utf16::No;
}

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// UTF-16 after its byte-order mark, as UTF-8; an unpaired surrogate becomes U+FFFD and an odd
// last byte is dropped.
std::string utf16ToUtf8(std::string_view raw, Utf16 order) {
    constexpr unsigned kReplacementChar = 0xFFFD;
    std::string out;
    out.reserve(raw.size());
    auto unit = [&](std::size_t i) {
        const unsigned a = static_cast<unsigned char>(raw[i]);
        const unsigned b = static_cast<unsigned char>(raw[i + 1]);
        return order == Utf16::Le ? (a | (b << 8)) : ((a << 8) | b);
    };
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        const unsigned u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < raw.size()) {
            const unsigned low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacementChar : u);
    }
    return out;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One pass over the head of the file: its first bytes, no more than kDrawReadCap and no
// further than the chunk holding the 99th line end.
struct RawHead {
    std::string bytes;
    DrawFileProblem problem = DrawFileProblem::None;
};

// Line ends in a chunk: LF, and CR not followed by LF (a CR at the very end of a chunk is
// not counted, so the read may go on a little further than needed, never less).
std::size_t countLineEnds(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' || (s[i] == '\r' && i + 1 < s.size() && s[i + 1] != '\n')) ++n;
    return n;
}

RawHead readRawHead(const std::string& path) {
    RawHead head;
    platform::ReadOnlyFile f;
    if (!f.open(path)) {
        head.problem = DrawFileProblem::CannotOpen;
        return head;
    }
    constexpr std::size_t kChunk = 16384;
    std::size_t lineEnds = 0;
    while (head.bytes.size() < kDrawReadCap) {
        const std::size_t old = head.bytes.size();
        const std::size_t want = std::min(kChunk, kDrawReadCap - old);
        head.bytes.resize(old + want);
        const std::optional<std::size_t> got = f.read(head.bytes.data() + old, want);
        if (!got) {
            head.bytes.clear();
            head.problem = DrawFileProblem::ReadError;
            return head;
        }
        head.bytes.resize(old + *got);
        if (*got == 0) break;
        // A UTF-16 file is read up to the cap: a byte 0x0A or 0x0D there may be half of
        // another character, so counting bytes could stop short of the 99th line.
        if (utf16Of(head.bytes) != Utf16::No) continue;
        lineEnds += countLineEnds(std::string_view(head.bytes).substr(old));
        if (lineEnds >= std::size_t(kDrawFileLines)) break;
    }
    if (head.bytes.empty()) head.problem = DrawFileProblem::Empty;
    return head;
}

} // namespace

std::string DecodeDrawFileHead(std::string_view raw) {
    std::string converted;
    const Utf16 order = utf16Of(raw);
    if (order != Utf16::No) {
        converted = utf16ToUtf8(raw, order);
        raw = converted;
    } else if (raw.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        raw.remove_prefix(kUtf8Bom.size());
    }
    std::string text;
    int lines = 0;
    std::size_t start = 0;
    while (lines < kDrawFileLines && start < raw.size()) {
        std::size_t end = start;
        while (end < raw.size() && raw[end] != '\n' && raw[end] != '\r')
            ++end;
        const std::string_view line = raw.substr(start, end - start);
        const bool overLong = line.size() > kDrawLineCap;
        if (!overLong) text += DecodeDrawLine(line);
        if (end == raw.size()) break;               // an unfinished last line
        if (raw[end] == '\r') text.push_back('\r'); // CR LF and a lone CR alike
        text.push_back('\n');
        ++lines;
        start = end + 1;
        if (raw[end] == '\r' && start < raw.size() && raw[start] == '\n') ++start;
    }
    return text;
}

DrawFileRead ReadDrawFile(const std::string& path) {
    DrawFileRead result;
    if (path.empty()) {
        result.problem = DrawFileProblem::NoPath;
        return result;
    }
    // A betting program that rewrites its file in place (truncate, then write) can be caught
    // between two versions: the start of a line from one and its end from the next would
    // make a wrong draw. Two passes that read the same bytes are taken as one moment of the
    // file; a file that never holds still in a few passes gives no text this time.
    constexpr int kPasses = 8;
    RawHead previous = readRawHead(path);
    for (int pass = 1; pass < kPasses; ++pass) {
        RawHead again = readRawHead(path);
        if (again.problem == previous.problem && again.bytes == previous.bytes) {
            if (previous.problem != DrawFileProblem::None) {
                result.problem = previous.problem;
                return result;
            }
            std::string text = DecodeDrawFileHead(previous.bytes);
            if (text.empty()) {
                result.problem = DrawFileProblem::Empty;
                return result;
            }
            result.text = std::move(text);
            return result;
        }
        previous = std::move(again);
    }
    result.problem = DrawFileProblem::Unsteady;
    return result;
}

std::optional<std::string> ReadDrawFileHead(const std::string& path) {
    return ReadDrawFile(path).text;
}

std::optional<std::string> FileDrawSource::ReadText() {
    DrawFileRead r = ReadDrawFile(m_path);
    m_problem = r.problem;
    return std::move(r.text);
}

} // namespace zuohao

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
    case DrawFileProblem::FirstLineTooLong:
        return "开奖文件第一行太长，不是开奖行";
    }
    return "";
}

namespace {

enum class Utf16 { No, Le, Be };

Utf16 utf16Of(std::string_view raw) {
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') return Utf16::Le;
    if (raw.size() >= 2 && raw[0] == '\xFE' && raw[1] == '\xFF') return Utf16::Be;
    return Utf16::No;
}

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

namespace {
struct DecodedHead {
    std::string text;
    bool firstLineOverLong = false;
};

DecodedHead decodeHead(std::string_view raw) {
    DecodedHead head;
    int lines = 0;
    DrawLineDecoder decoder(kDrawLineCap);
    const DrawLineDecoder::Sink sink = [&](const DecodedLine& line) {
        if (lines == 0 && line.overLong) head.firstLineOverLong = true;
        if (lines >= kDrawFileLines) return;
        head.text += line.text;
        if (!line.finished) return;                  // an unfinished last line
        if (line.crEnded) head.text.push_back('\r'); // CR LF and a lone CR alike
        head.text.push_back('\n');
        ++lines;
    };
    decoder.feed(raw, sink);
    decoder.finish(sink);
    return head;
}
} // namespace

std::string DecodeDrawFileHead(std::string_view raw) {
    return decodeHead(raw).text;
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
            DecodedHead head = decodeHead(previous.bytes);
            if (head.text.empty()) {
                // A first line too long to be a draw line is not an empty file.
                result.problem = head.firstLineOverLong ? DrawFileProblem::FirstLineTooLong
                                                        : DrawFileProblem::Empty;
                return result;
            }
            result.text = std::move(head.text);
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

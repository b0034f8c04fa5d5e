// Reading the head of the draw file: what counts as no text, the 99-line window, huge
// files and lines, encodings and line ends.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/model/Text.h"
#include "support_files.h"

namespace zuohao {
namespace {

using testing::drawLine;
using testing::haomaOf;
using testing::newestFirstText;
using testing::TempDir;
using testing::writeBytes;

std::size_t lineFeeds(std::string_view s) {
    return std::size_t(std::count(s.begin(), s.end(), '\n'));
}

// Every draw of a parse is a true one: the label is digits and the number the one the
// tests give it.
void expectOnlyTrueDraws(const ParsedDrawText& p) {
    for (const DrawLine& d : p.draws) {
        ASSERT_FALSE(d.qishu.empty());
        ASSERT_EQ(d.qishu.find_first_not_of("0123456789"), std::string::npos) << d.qishu;
        EXPECT_EQ(d.haoma, haomaOf(std::stoll(d.qishu))) << "label " << d.qishu;
    }
}

TEST(DrawFileHead, NoTextCases) {
    TempDir dir;
    writeBytes(dir.file("empty.txt"), "");
    std::filesystem::create_directory(dir.path() / "a-directory");
    EXPECT_FALSE(ReadDrawFileHead("").has_value()) << "no path set";
    EXPECT_FALSE(ReadDrawFileHead(dir.file("missing.txt")).has_value());
    EXPECT_FALSE(ReadDrawFileHead(dir.file("no-such-dir/draws.txt")).has_value());
    EXPECT_FALSE(ReadDrawFileHead(dir.file("empty.txt")).has_value());
    EXPECT_FALSE(ReadDrawFileHead(dir.file("a-directory")).has_value());
}

#ifdef _WIN32
// Runs the read on a thread of its own so that a read that blocks or never ends fails the
// test instead of hanging it (a stuck thread is left behind and ends with the process).
bool readReturnsNoTextPromptly(const std::string& path) {
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> result = done->get_future();
    std::thread([path, done] { done->set_value(!ReadDrawFileHead(path).has_value()); }).detach();
    return result.wait_for(std::chrono::seconds(10)) == std::future_status::ready && result.get();
}

TEST(DrawFileHead, APipeOrDeviceIsNoTextAndDoesNotHang) {
    const std::string name = "\\\\.\\pipe\\zuohao-draws-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096,
                                   4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(readReturnsNoTextPromptly(name)) << "a pipe whose writer never writes";
    EXPECT_TRUE(readReturnsNoTextPromptly("NUL")) << "a device";
    EXPECT_TRUE(readReturnsNoTextPromptly("CONIN$")) << "the console";
    CloseHandle(pipe);
}
#else
// Runs the read in a child process so that a read that blocks or never ends fails the test
// instead of hanging it.
bool readReturnsNoTextPromptly(const std::string& path) {
    pid_t pid = ::fork();
    if (pid == 0) _exit(ReadDrawFileHead(path).has_value() ? 1 : 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
}

TEST(DrawFileHead, APipeOrDeviceIsNoTextAndDoesNotHang) {
    TempDir dir;
    const std::string fifo = dir.file("draws.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(readReturnsNoTextPromptly(fifo)) << "a pipe without a writer";
    EXPECT_TRUE(readReturnsNoTextPromptly("/dev/zero")) << "an endless source without lines";
}
#endif

TEST(DrawFileHead, SourceReadsItsPath) {
    TempDir dir;
    writeBytes(dir.file("d.txt"), newestFirstText(1200, 3));
    FileDrawSource src;
    EXPECT_FALSE(src.ReadText().has_value()) << "no path yet";
    src.setPath(dir.file("d.txt"));
    auto text = src.ReadText();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, newestFirstText(1200, 3));
}

TEST(DrawFileHead, StopsAtThe99thLineBreak) {
    TempDir dir;
    writeBytes(dir.file("d.txt"), newestFirstText(5000, 150));
    auto text = ReadDrawFileHead(dir.file("d.txt"));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, newestFirstText(5000, 99));
}

TEST(DrawFileHead, ALastLineWithoutLineBreakIsRead) {
    TempDir dir;
    writeBytes(dir.file("d.txt"), drawLine(1001, "12345"));
    auto text = ReadDrawFileHead(dir.file("d.txt"));
    ASSERT_TRUE(text.has_value());
    ParsedDrawText p = ParseDrawText(*text);
    ASSERT_EQ(p.draws.size(), 1u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[0].haoma, "12345");
}

TEST(DrawFileHead, HundredMegabyteFileGivesOnlyItsHead) {
    TempDir dir;
    const std::string path = dir.file("big.txt");
    {
        // About 100 MB of draw lines, newest first.
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        long long label = 900000000000LL;
        std::string chunk;
        std::size_t written = 0;
        while (written < 100u * 1024 * 1024) {
            chunk.clear();
            for (int i = 0; i < 20000; ++i, --label)
                chunk += drawLine(label, haomaOf(label)) + "\r\n";
            ASSERT_EQ(std::fwrite(chunk.data(), 1, chunk.size(), f), chunk.size());
            written += chunk.size();
        }
        std::fclose(f);
    }
    ASSERT_GE(std::filesystem::file_size(path), 100u * 1024 * 1024);
    auto text = ReadDrawFileHead(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, newestFirstText(900000000000LL, 99));
    ParsedDrawText p = ParseDrawText(*text);
    EXPECT_EQ(p.draws.size(), 99u);
    expectOnlyTrueDraws(p);
}

TEST(DrawFileHead, HundredMegabytesWithoutLineBreakGiveNoDraw) {
    TempDir dir;
    const std::string path = dir.file("one-line.txt");
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string chunk(1 << 20, '7'); // one endless digit run
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(std::fwrite(chunk.data(), 1, chunk.size(), f), chunk.size());
        std::fclose(f);
    }
    auto text = ReadDrawFileHead(path);
    // The line is far too long to be a draw line: nothing of it is kept.
    EXPECT_LE(text.value_or("").size(), FileDrawSource::kLineCap);
    EXPECT_TRUE(ParseDrawText(text.value_or("")).draws.empty());
}

TEST(DrawFileHead, TenMegabyteLineIsDroppedAndTheLinesAfterItAreRead) {
    TempDir dir;
    const std::string longLine = "第1期 开奖号码 " + std::string(10u * 1024 * 1024, '5');
    writeBytes(dir.file("alone.txt"), longLine);
    auto alone = ReadDrawFileHead(dir.file("alone.txt"));
    EXPECT_LE(alone.value_or("").size(), FileDrawSource::kLineCap);
    EXPECT_TRUE(ParseDrawText(alone.value_or("")).draws.empty());

    // Reads are bounded: the lines after a line longer than the whole read cap are not
    // reached; a long line within the cap is dropped and the 98 lines after it are read.
    writeBytes(dir.file("head.txt"), longLine + "\r\n" + newestFirstText(7000, 120));
    EXPECT_TRUE(ParseDrawText(ReadDrawFileHead(dir.file("head.txt")).value_or("")).draws.empty());
    const std::string capLine = "第1期 开奖号码 " + std::string(kDrawLineCap * 50, '5');
    writeBytes(dir.file("head2.txt"), capLine + "\r\n" + newestFirstText(7000, 120));
    auto text = ReadDrawFileHead(dir.file("head2.txt"));
    ASSERT_TRUE(text.has_value());
    EXPECT_LT(text->size(), 99u * 64);
    EXPECT_EQ(lineFeeds(*text), 99u);
    ParsedDrawText p = ParseDrawText(*text);
    EXPECT_EQ(p.considered, 99);
    ASSERT_EQ(p.draws.size(), 98u);
    EXPECT_EQ(p.draws.back().qishu, "7000");
    EXPECT_EQ(p.draws.front().qishu, "6903");
    expectOnlyTrueDraws(p);
}

TEST(DrawFileHead, BinaryFileDoesNoHarm) {
    TempDir dir;
    std::mt19937 rng(4242);
    for (int round = 0; round < 8; ++round) {
        std::string bytes(1 << 20, '\0');
        for (char& c : bytes)
            c = char(rng() & 0xFF);
        if (round % 2) // fewer line feeds: long lines around the cap
            for (char& c : bytes)
                if (c == '\n' || c == '\r') c = 'x';
        writeBytes(dir.file("bin.dat"), bytes);
        auto text = ReadDrawFileHead(dir.file("bin.dat"));
        if (round % 2) {
            // One line far over the cap: nothing of it is a draw line.
            EXPECT_FALSE(text.has_value());
            continue;
        }
        ASSERT_TRUE(text.has_value());
        EXPECT_LE(lineFeeds(*text), 99u);
        EXPECT_TRUE(IsValidUtf8(*text));
        for (const DrawLine& d : ParseDrawText(*text).draws) {
            EXPECT_EQ(d.haoma.size(), 5u);
            EXPECT_EQ(d.haoma.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_EQ(d.qishu.find_first_not_of("0123456789"), std::string::npos);
        }
    }
}

// GB18030 bytes written literally: 第 B5 DA, 期 C6 DA, 开 BF AA, 奖 BD B1, 号 BA C5, 码 C2 EB.
const std::string kGbDi = "\xB5\xDA", kGbQi = "\xC6\xDA", kGbJiang = "\xBD\xB1",
                  kGbKaiJiang = "\xBF\xAA\xBD\xB1", kGbHaoMa = "\xBA\xC5\xC2\xEB";

TEST(DrawFileHead, Gb18030FileIsDecodedLineByLine) {
    TempDir dir;
    std::string file;
    file += kGbDi + "202612080933" + kGbQi + " " + kGbKaiJiang + kGbHaoMa + " 04797\r\n";
    // Ten characters with the carriage return, in 13 bytes: too short to be a draw.
    file += kGbDi + "1" + kGbQi + kGbJiang + "12345\r\n";
    // Eleven characters: a draw.
    file += kGbDi + "12" + kGbQi + kGbJiang + "54321\r\n";
    // A four-byte GB18030 character after the number: its bytes 0x30 are not digit runs.
    file += kGbDi + "202612080931" + kGbQi + " 69562\x81\x30\x81\x30\r\n";
    // A UTF-8 line in the same file stays as it is.
    file += drawLine(202612080930LL, "31579") + "\r\n";
    writeBytes(dir.file("gb.txt"), file);

    auto text = ReadDrawFileHead(dir.file("gb.txt"));
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(IsValidUtf8(*text));
    ParsedDrawText p = ParseDrawText(*text);
    EXPECT_EQ(p.considered, 6); // five lines and the empty piece after the last line feed
    ASSERT_EQ(p.draws.size(), 4u);
    EXPECT_EQ(p.draws[0].qishu, "202612080930");
    EXPECT_EQ(p.draws[0].haoma, "31579");
    EXPECT_EQ(p.draws[1].qishu, "202612080931");
    EXPECT_EQ(p.draws[1].haoma, "69562");
    EXPECT_EQ(p.draws[2].qishu, "12");
    EXPECT_EQ(p.draws[2].haoma, "54321");
    EXPECT_EQ(p.draws[3].qishu, "202612080933");
    EXPECT_EQ(p.draws[3].haoma, "04797");
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::size_t characters;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class DecodeCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCases, CharacterCountOfTheDecodedLine) {
    const DecodeCase& c = GetParam();
    const std::string out = DecodeDrawLine(c.bytes);
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_EQ(Utf8Length(out), c.characters);
    if (IsValidUtf8(c.bytes)) {
        EXPECT_EQ(out, c.bytes) << "valid UTF-8 is kept as it is";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeCases,
    ::testing::Values(DecodeCase{"Ascii", "1001 12345\r", 11},
                      DecodeCase{"Utf8Chinese", "第0931期 开奖号码 69562", 17},
                      DecodeCase{"Gb18030TwoByte",
                                 "\xB5\xDA"
                                 "0931\xC6\xDA",
                                 6},
                      DecodeCase{"Gb18030FourByte",
                                 "\x81\x30\x81\x30"
                                 "12",
                                 3},
                      DecodeCase{"StrayHighByte",
                                 "12\xFF"
                                 "34",
                                 5},
                      DecodeCase{"LeadByteAtTheEnd", "1234\xB5", 5},
                      DecodeCase{"TruncatedUtf8IsAGb18030Pair", "12\xE5\xBC", 3},
                      DecodeCase{"OverlongUtf8Slash", "\xC0\xAF", 1},
                      DecodeCase{"Utf8Surrogate", "\xED\xA0\x80", 2}, DecodeCase{"Empty", "", 0}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(DrawFileHead, CrLfAndLfMixedInOneFile) {
    TempDir dir;
    std::string file;
    for (int i = 0; i < 30; ++i)
        file += drawLine(3000 - i, haomaOf(3000 - i)) + (i % 2 ? "\n" : "\r\n");
    writeBytes(dir.file("mixed.txt"), file);
    auto text = ReadDrawFileHead(dir.file("mixed.txt"));
    ASSERT_TRUE(text.has_value());
    ParsedDrawText p = ParseDrawText(*text);
    ASSERT_EQ(p.draws.size(), 30u);
    expectOnlyTrueDraws(p);
    EXPECT_EQ(p.draws.front().qishu, "2971");
    EXPECT_EQ(p.draws.back().qishu, "3000");
}

// A reader racing a writer that rewrites the file in place (truncate, then write in small
// pieces) sees empty files and torn lines, but never a wrong draw.
TEST(DrawFileHead, ReadsWhileTheFileIsRewrittenInPlace) {
    TempDir dir;
    const std::string path = dir.file("live.txt");
    writeBytes(path, newestFirstText(202612080100LL, 99));
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (long long newest = 202612080101LL; newest < 202612080301LL; ++newest) {
            const std::string text = newestFirstText(newest, 99);
            FILE* f = std::fopen(path.c_str(), "wb");
            if (!f) continue;
            std::setvbuf(f, nullptr, _IONBF, 0);
            for (std::size_t at = 0; at < text.size(); at += 37)
                std::fwrite(text.data() + at, 1, std::min<std::size_t>(37, text.size() - at), f);
            std::fclose(f);
        }
        done = true;
    });
    int reads = 0;
    while (!done) {
        auto text = ReadDrawFileHead(path);
        ++reads;
        if (text) expectOnlyTrueDraws(ParseDrawText(*text));
    }
    writer.join();
    EXPECT_GT(reads, 0);
    auto text = ReadDrawFileHead(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, newestFirstText(202612080300LL, 99));
}

} // namespace
} // namespace zuohao

namespace zuohao {
namespace {

std::string utf16(std::string_view ascii, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
        out.push_back(littleEndian ? c : '\0');
        out.push_back(littleEndian ? '\0' : c);
    }
    return out;
}

std::string asciiLines(const char* eol) {
    std::string t;
    for (int i = 0; i < 30; ++i)
        t += "qi " + std::to_string(3000 - i) + " haoma " + testing::haomaOf(3000 - i) + eol;
    return t;
}

struct EncodingCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class Encodings : public ::testing::TestWithParam<EncodingCase> {};

// Every line end and encoding a Windows program writes gives all 30 draws.
TEST_P(Encodings, AllThirtyDrawsAreRead) {
    testing::TempDir dir;
    testing::writeBytes(dir.file("d.txt"), GetParam().bytes);
    const DrawFileRead r = ReadDrawFile(dir.file("d.txt"));
    ASSERT_TRUE(r.text.has_value()) << DrawFileProblemText(r.problem);
    const ParsedDrawText p = ParseDrawText(*r.text);
    ASSERT_EQ(p.draws.size(), 30u);
    expectOnlyTrueDraws(p);
    EXPECT_EQ(p.draws.back().qishu, "3000");
}

INSTANTIATE_TEST_SUITE_P(
    DrawFile, Encodings,
    ::testing::Values(EncodingCase{"Lf", asciiLines("\n")},
                      EncodingCase{"CrLf", asciiLines("\r\n")},
                      EncodingCase{"CrOnly", asciiLines("\r")},
                      EncodingCase{"Utf8Bom", "\xEF\xBB\xBF" + asciiLines("\r\n")},
                      EncodingCase{"Utf16Le", utf16(asciiLines("\r\n"), true)},
                      EncodingCase{"Utf16Be", utf16(asciiLines("\r\n"), false)},
                      EncodingCase{"Utf16LeCrOnly", utf16(asciiLines("\r"), true)}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(DrawFileHead, ProblemsAreNamed) {
    testing::TempDir dir;
    testing::writeBytes(dir.file("empty.txt"), "");
    EXPECT_EQ(ReadDrawFile("").problem, DrawFileProblem::NoPath);
    EXPECT_EQ(ReadDrawFile(dir.file("missing.txt")).problem, DrawFileProblem::CannotOpen);
    EXPECT_EQ(ReadDrawFile(dir.file("empty.txt")).problem, DrawFileProblem::Empty);
    FileDrawSource src;
    src.setPath(dir.file("empty.txt"));
    EXPECT_FALSE(src.ReadText().has_value());
    EXPECT_EQ(src.lastProblem(), "开奖文件是空的");
    // A first line longer than any draw line, whether or not it ends within the read.
    for (std::size_t n : {kDrawLineCap + 1, kDrawReadCap + 1}) {
        testing::writeBytes(dir.file("long.txt"), std::string(n, '7'));
        EXPECT_EQ(ReadDrawFile(dir.file("long.txt")).problem, DrawFileProblem::FirstLineTooLong);
    }
}

// The decoder fed a byte at a time gives what it gives fed the whole: a UTF-16 unit, a
// surrogate pair and a CR LF split between two pieces change nothing.
TEST(DrawFileHead, DecodingInPiecesIsDecodingTheWhole) {
    const std::string head = asciiLines("\r\n") + "qi 1 ", tail = " 12345\r\r\n";
    const std::string die = "\xF0\x9F\x8E\xB2"; // U+1F3B2, a surrogate pair in UTF-16
    const std::string le = utf16(head, true) + "\x3C\xD8\xB2\xDF" + utf16(tail, true).substr(2);
    const std::string be = utf16(head, false) + "\xD8\x3C\xDF\xB2" + utf16(tail, false).substr(2);
    for (const std::string& bytes : {head + die + tail, le, be}) {
        std::string whole, pieces;
        auto into = [](std::string& out) {
            return [&out](const DecodedLine& l) {
                out += std::string(l.text) + (l.crEnded ? "|cr" : "|lf") + (l.finished ? "\n" : "");
            };
        };
        DrawLineDecoder all(kDrawLineCap), bytewise(kDrawLineCap);
        all.feed(bytes, into(whole));
        all.finish(into(whole));
        for (char c : bytes)
            bytewise.feed(std::string_view(&c, 1), into(pieces));
        bytewise.finish(into(pieces));
        EXPECT_EQ(pieces, whole);
        EXPECT_NE(whole.find("qi 1 " + die + " 12345|cr\n|cr\n"), std::string::npos) << whole;
    }
}

// Bytes this process has read so far (Linux).
long long bytesRead() {
    FILE* f = std::fopen("/proc/self/io", "r");
    if (!f) return -1;
    char key[64];
    long long value = 0, out = -1;
    while (std::fscanf(f, "%63s %lld", key, &value) == 2)
        if (std::string(key) == "rchar:") out = value;
    std::fclose(f);
    return out;
}

// 98 lines, then 200 MB without a line break: a poll reads a bounded amount, not the tail.
TEST(DrawFileHead, AnUnterminatedTailIsNotRead) {
    testing::TempDir dir;
    const std::string path = dir.file("tail.txt");
    testing::writeBytes(path, newestFirstText(5000, 98));
    {
        FILE* f = std::fopen(path.c_str(), "ab");
        ASSERT_NE(f, nullptr);
        const std::string chunk(1 << 20, '7');
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(std::fwrite(chunk.data(), 1, chunk.size(), f), chunk.size());
        std::fclose(f);
    }
    const long long before = bytesRead();
    if (before < 0) GTEST_SKIP() << "no /proc/self/io";
    const DrawFileRead r = ReadDrawFile(path);
    const long long read = bytesRead() - before;
    ASSERT_TRUE(r.text.has_value());
    EXPECT_EQ(ParseDrawText(*r.text).draws.size(), 98u);
    EXPECT_LE(read, 2 * static_cast<long long>(kDrawReadCap) + 65536)
        << "two passes of at most the cap";
}

} // namespace
} // namespace zuohao

// libFuzzer target: the draw line rule, the decoding of a draw-file line and the numeric
// value of a text. Each input is checked against properties that must hold for any bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/model/Text.h"
#include "support_fuzz.h"

using namespace zuohao;

namespace {

std::size_t digitCount(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        n += (c >= '0' && c <= '9');
    return n;
}

void checkParse(std::string_view text) {
    const ParsedDrawText p = ParseDrawText(text);
    FUZZ_CHECK(p.considered >= 0 && p.considered <= kDrawFileLines);
    FUZZ_CHECK(int(p.draws.size()) + p.skipped == p.considered);
    for (const DrawLine& d : p.draws) {
        FUZZ_CHECK(d.haoma.size() == 5 && fuzz::allDigits(d.haoma));
        FUZZ_CHECK(!d.qishu.empty() && fuzz::allDigits(d.qishu));
        // Both come from the text: the label, a gap, then the number.
        FUZZ_CHECK(text.find(d.haoma) != std::string_view::npos);
        FUZZ_CHECK(text.find(d.qishu) != std::string_view::npos);
    }
}

// The file reader's way: the first 99 lines, each decoded on its own.
std::string decodeLines(std::string_view bytes) {
    std::string out;
    int lines = 0;
    std::size_t start = 0;
    while (lines < kDrawFileLines) {
        const std::size_t nl = bytes.find('\n', start);
        const std::string_view line =
            bytes.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
        const std::string decoded = DecodeDrawLine(line);
        FUZZ_CHECK(IsValidUtf8(decoded));
        FUZZ_CHECK(Utf8Length(decoded) <= line.size());
        FUZZ_CHECK(digitCount(decoded) <= digitCount(line));
        if (IsValidUtf8(line)) FUZZ_CHECK(decoded == line);
        FUZZ_CHECK(decoded.find('\n') == std::string::npos);
        out += decoded;
        if (nl == std::string_view::npos) break;
        out.push_back('\n');
        ++lines;
        start = nl + 1;
    }
    return out;
}

void checkNumericValue(std::string_view text) {
    const double v = NumericValue(text);
    FUZZ_CHECK(!std::isnan(v));

    // A plain run of at most 15 digits (not followed by a fraction) is read exactly, and its
    // decimal text is the run without leading zeros: the period key of a label.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const bool sign = i < text.size() && (text[i] == '+' || text[i] == '-');
    const bool negative = sign && text[i] == '-';
    if (sign) ++i;
    std::size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    const std::string_view run = text.substr(i, end - i);
    // No digit and no fraction point after the blanks and the sign: no number at all.
    if (run.empty() && (i == text.size() || text[i] != '.')) FUZZ_CHECK(v == 0);
    FUZZ_CHECK(HasNumericPrefix(text) == !run.empty());
    if (run.empty() || run.size() > 15 || (end < text.size() && text[end] == '.')) return;
    const long long exact = std::stoll(std::string(run));
    FUZZ_CHECK(v == (negative ? -double(exact) : double(exact)));
    if (!sign) {
        std::size_t nz = run.find_first_not_of('0');
        const std::string_view stripped = nz == std::string_view::npos ? "0" : run.substr(nz);
        FUZZ_CHECK(DecimalText(v) == stripped);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkParse(bytes);
    const std::string decoded = decodeLines(bytes);
    checkParse(decoded);
    // Decoding never loses a draw line that was valid UTF-8 already.
    if (IsValidUtf8(bytes))
        FUZZ_CHECK(ParseDrawText(decoded).draws.size() == ParseDrawText(bytes).draws.size());
    // The file reader's whole-head decoding: any bytes give UTF-8 of at most 99 line feeds.
    const std::string head = DecodeDrawFileHead(bytes);
    FUZZ_CHECK(IsValidUtf8(head));
    FUZZ_CHECK(std::count(head.begin(), head.end(), '\n') <= kDrawFileLines);
    checkParse(head);
    checkNumericValue(bytes);
    checkNumericValue(bytes.substr(0, bytes.find('\n')));
    return 0;
}

#include "core/model/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zuohao {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

double NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0;
    bool any = false;
    while (i < text.size() && isDigit(text[i])) {
        value = value * 10 + (text[i] - '0');
        any = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < text.size() && isDigit(text[i])) {
            value += (text[i] - '0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any) return 0;
    return negative ? -value : value;
}

bool HasNumericPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i < text.size() && isDigit(text[i]);
}

std::string DecimalText(double value) {
    if (value == 0) return "0";
    char buf[64];
    if (std::fabs(value) < 1e16) { // every whole number of a label is exact here
        auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        std::string s(buf, r.ptr);
        if (s.find('.') != std::string::npos) {
            // shortest round-trip text in fixed notation
            auto r2 = std::to_chars(buf, buf + sizeof buf, value);
            std::string g(buf, r2.ptr);
            if (g.find('e') == std::string::npos) return g;
        }
        return s;
    }
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

long long RoundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));
}

std::vector<std::string_view> SplitNumberList(std::string_view list) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t sp = list.find(' ', start);
        if (sp == std::string_view::npos) sp = list.size();
        if (sp > start) out.push_back(list.substr(start, sp - start));
        start = sp + 1;
    }
    return out;
}

int CountNumberList(std::string_view list) {
    int n = 0;
    bool inPiece = false;
    for (char c : list) {
        if (c == ' ') {
            inPiece = false;
        } else if (!inPiece) {
            inPiece = true;
            ++n;
        }
    }
    return n;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(at);
    if (c < 0x80) return 1;
    std::size_t len;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF)
        len = 2, cp = c & 0x1Fu;
    else if (c >= 0xE0 && c <= 0xEF)
        len = 3, cp = c & 0x0Fu;
    else if (c >= 0xF0 && c <= 0xF4)
        len = 4, cp = c & 0x07u;
    else
        return 0;
    if (at + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char t = byte(at + k);
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3Fu);
    }
    const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = Utf8SequenceLength(text, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::size_t Utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n)
        i += std::max<std::size_t>(1, Utf8SequenceLength(text, i));
    return n;
}

std::string RemoveChar(std::string_view text, char c) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != c) out.push_back(ch);
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return text.substr(b, e - b);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty()) return std::string(text);
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

} // namespace zuohao

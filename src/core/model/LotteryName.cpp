#include "core/model/LotteryName.h"

#include <algorithm>

#include "core/model/Text.h"

namespace zuohao {

namespace {
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80"; // U+3000

bool isControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// The code point of the well-formed sequence of `n` bytes at `at`.
char32_t codePoint(std::string_view text, std::size_t at, std::size_t n) {
    char32_t c = static_cast<unsigned char>(text[at]);
    if (n > 1) {
        c &= 0x7Fu >> n;
        for (std::size_t i = 1; i < n; ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
    }
    return c;
}
} // namespace

bool SameLotteryName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string_view TrimLotteryName(std::string_view name) {
    for (bool changed = true; changed;) {
        changed = false;
        for (std::string_view blank : {std::string_view(" "), kIdeographicSpace}) {
            if (name.starts_with(blank)) name.remove_prefix(blank.size()), changed = true;
            if (name.ends_with(blank)) name.remove_suffix(blank.size()), changed = true;
        }
    }
    return name;
}

LotteryNameFault CheckLotteryName(std::string_view name) {
    if (TrimLotteryName(name).empty()) return LotteryNameFault::Empty;
    if (!IsValidUtf8(name)) return LotteryNameFault::NotUtf8;
    if (Utf8Length(name) > kMaxLotteryNameChars) return LotteryNameFault::TooLong;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t n = Utf8SequenceLength(name, at);
        if (isControl(codePoint(name, at, n))) return LotteryNameFault::ControlChar;
        at += n;
    }
    return LotteryNameFault::None;
}

std::string LotteryNameFaultText(LotteryNameFault fault) {
    switch (fault) {
    case LotteryNameFault::None:
        return {};
    case LotteryNameFault::Empty:
        return "a lottery needs a name";
    case LotteryNameFault::NotUtf8:
        return "a lottery's name must be UTF-8 text";
    case LotteryNameFault::TooLong:
        return "a lottery's name has at most " + std::to_string(kMaxLotteryNameChars) +
               " characters";
    case LotteryNameFault::ControlChar:
        return "a lottery's name holds no control characters";
    }
    return {};
}

std::string LotteryNameFaultCaption(LotteryNameFault fault) {
    switch (fault) {
    case LotteryNameFault::None:
        return {};
    case LotteryNameFault::Empty:
        return "请填写彩票名称";
    case LotteryNameFault::NotUtf8:
        return "名称含有无法识别的字符";
    case LotteryNameFault::TooLong:
        return "名称最多 " + std::to_string(kMaxLotteryNameChars) + " 个字";
    case LotteryNameFault::ControlChar:
        return "名称不能含有控制字符";
    }
    return {};
}

} // namespace zuohao

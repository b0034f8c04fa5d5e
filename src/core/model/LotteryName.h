#pragma once
// The rule for a lottery's name, the player's own text: after trimming, 1 to
// kMaxLotteryNameChars characters of valid UTF-8 without control characters. The lottery
// list, the archive and the command-line tool all check names by it.
#include <cstddef>
#include <string>
#include <string_view>

namespace zuohao {

inline constexpr std::size_t kMaxLotteryNameChars = 40;

enum class LotteryNameFault {
    None,
    Empty,       // nothing but blanks
    NotUtf8,     // bytes that are no UTF-8 text
    TooLong,     // more than kMaxLotteryNameChars characters
    ControlChar, // C0, DEL or C1: they would break a tab- and line-separated listing
};

// The name without blanks (ASCII spaces and the ideographic space U+3000) at either end.
std::string_view TrimLotteryName(std::string_view name);

// Whether two names name the same lottery: equal but for the case of ASCII letters.
bool SameLotteryName(std::string_view a, std::string_view b);

// What is wrong with `name` as given (blanks at the ends count as characters).
LotteryNameFault CheckLotteryName(std::string_view name);

// The fault in the command-line tool's words (English); empty for None.
std::string LotteryNameFaultText(LotteryNameFault fault);
// The fault as the windows show it (Chinese); empty for None.
std::string LotteryNameFaultCaption(LotteryNameFault fault);

} // namespace zuohao

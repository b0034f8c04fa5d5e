// The names of the archive's lotteries: the player's own text, checked before it is written.
#include <string>
#include <string_view>

#include "core/model/Text.h"
#include "store/DrawArchive.h"

namespace zuohao::store {

namespace {
// C0, DEL and C1: they would break the tab- and line-separated output of a listing.
bool isControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}
} // namespace

std::string LotteryNameProblem(std::string_view name) {
    if (name.empty()) return "a lottery needs a name";
    if (!IsValidUtf8(name)) return "a lottery's name must be UTF-8 text";
    if (Utf8Length(name) > kMaxLotteryNameChars)
        return "a lottery's name has at most " + std::to_string(kMaxLotteryNameChars) +
               " characters";
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t n = Utf8SequenceLength(name, at);
        char32_t c = static_cast<unsigned char>(name[at]);
        if (n > 1) { // the payload bits of a well-formed sequence
            c &= 0x7Fu >> n;
            for (std::size_t i = 1; i < n; ++i)
                c = (c << 6) | (static_cast<unsigned char>(name[at + i]) & 0x3Fu);
        }
        if (isControl(c)) return "a lottery's name holds no control characters";
        at += n;
    }
    return {};
}

} // namespace zuohao::store

// libFuzzer target: a base set typed or pasted into the 大底 box, and a period label. The
// first byte picks the space used without a number to go by. Whatever the text, reading it
// accounts for every piece (kept, unreadable or repeated), what was kept reads back the same
// from its own text with nothing left out, and every kept number is a hit. A label parses to
// a period whose text parses to the same period.
#include <cstdint>

#include "core/model/NumberList.h"
#include "core/model/Period.h"
#include "support_fuzz.h"

using namespace zuohao;

namespace {
int pieceCount(std::string_view text) {
    int n = 0;
    bool in = false;
    for (char c : text) {
        const bool blank =
            c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
        if (!blank && !in) ++n;
        in = !blank;
    }
    return n;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const NumberListRead r = NumberList::read(text, (data[0] & 1) != 0);
    FUZZ_CHECK(r.list.count() + r.unreadable + r.repeated == pieceCount(text));
    const std::string kept = r.list.text();
    const NumberListRead again = NumberList::read(kept, r.list.fourDigit());
    FUZZ_CHECK(again.unreadable == 0 && again.repeated == 0);
    FUZZ_CHECK(again.list == r.list && again.list.text() == kept);
    const std::size_t width = r.list.fourDigit() ? 4 : 3;
    for (std::size_t at = 0; at + width <= kept.size(); at += width + 1)
        FUZZ_CHECK(r.list.containsText(kept.substr(at, width)));

    const Period p = Period::parse(text);
    FUZZ_CHECK(p.value() >= 0 && Period::parse(p.text()) == p);
    FUZZ_CHECK(p.next() > p);
    return 0;
}

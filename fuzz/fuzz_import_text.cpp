// libFuzzer target: the text of an archive import file (draw-file lines or CSV). Each input
// is checked against properties that must hold for any bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/ImportText.h"
#include "support_fuzz.h"

using namespace zuohao::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ImportText t = ParseImportText(bytes);
    // Every line end, in any encoding, holds a byte 0x0A or 0x0D.
    std::size_t lineEnds = 0;
    for (char c : bytes)
        lineEnds += c == '\n' || c == '\r';
    FUZZ_CHECK(std::size_t(t.lines) <= lineEnds + 1);
    FUZZ_CHECK(t.draws.size() + std::size_t(t.badLines) <= std::size_t(t.lines));
    FUZZ_CHECK(t.firstBad.size() <= kBadLinesListed);
    FUZZ_CHECK(t.firstBad.size() ==
               std::min<std::size_t>(kBadLinesListed, std::size_t(t.badLines)));
    for (std::size_t i = 1; i < t.firstBad.size(); ++i)
        FUZZ_CHECK(t.firstBad[i] > t.firstBad[i - 1]);
    for (const DrawIn& d : t.draws) {
        FUZZ_CHECK(!d.qishu.empty() && zuohao::fuzz::allDigits(d.qishu));
        FUZZ_CHECK(d.haoma.size() == 5 && zuohao::fuzz::allDigits(d.haoma));
        FUZZ_CHECK(PeriodValue(d.qishu) >= 0);
        FUZZ_CHECK(d.seenUtc.empty() || IsUtcIso(d.seenUtc));
        for (const PastNumber& p : d.past)
            FUZZ_CHECK(p.haoma.size() == 5 && zuohao::fuzz::allDigits(p.haoma));
    }
    FUZZ_CHECK(t.longLines <= t.badLines);
    FUZZ_CHECK(std::int64_t(t.draws.size()) == t.drawsRead);
    // A CSV line splits into fields whose quoting round-trips for plain text.
    const auto fields = SplitCsvLine(bytes.substr(0, bytes.find('\n')));
    FUZZ_CHECK(!fields.empty());
    return 0;
}

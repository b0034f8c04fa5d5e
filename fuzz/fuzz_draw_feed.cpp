// libFuzzer target: the draw feed over a sequence of reads. The input is split at 0x00 into
// up to 12 file contents; each is turned into text the way the file reader does it and polled
// (each twice when the input's first byte is odd, so the held-back reads are believed). For any
// sequence: the held periods entered in ascending order, each held number is five digits,
// the windows stay within their limits, and a load that may not ask never asks for the file.
#include <cstdint>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "core/model/Period.h"
#include "core/model/Text.h"
#include "support_fuzz.h"

using namespace zuohao;

namespace {

class ListSource : public DrawSource {
public:
    std::optional<std::string> text;
    std::optional<std::string> ReadText() override { return text; }
};

// Every draw a refresh says entered has a five-digit number; a poll never asks for the file.
void checkEvents(const RefreshEvents& events) {
    for (const DrawEntered& d : events.entered)
        FUZZ_CHECK(d.haoma.size() == 5);
    FUZZ_CHECK(!events.askForFile);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool twice = data[0] & 1;
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
    ListSource source;
    LotteryClass lottery;
    MonitorState& monitor = lottery.monitor();
    monitor.Monitoring = (data[0] & 2) != 0;
    monitor.PlanRunning = (data[0] & 4) != 0;
    monitor.MonitorBase = NumberList::read("012 345 678 901", false).list;
    lottery.setDrawSource(&source);
    bool loaded = false;
    for (const std::string& file : fuzz::pieces(in, '\0', 12)) {
        const std::string text = DecodeDrawFileHead(file);
        FUZZ_CHECK(IsValidUtf8(text));
        source.text = text;
        for (int k = 0; k < (twice ? 2 : 1); ++k) {
            if (!loaded) {
                checkEvents(lottery.GetLotteryHisroty(AskForFile::No));
                loaded = lottery.hasHistory();
            } else {
                checkEvents(lottery.GetLotteryNew());
            }
        }
        Period previous{-1};
        for (const auto& [label, haoma] : lottery.monitorPeriods()) {
            FUZZ_CHECK(haoma.size() == 5);
            const Period v = Period::parse(label);
            FUZZ_CHECK(v >= previous); // held in ascending order
            previous = v;
        }
        FUZZ_CHECK(lottery.heldDraws().Count() <= kHeldDraws);
        FUZZ_CHECK(monitor.MonitorRows.Count() <= kMonitorRowLimit);
    }
    return 0;
}

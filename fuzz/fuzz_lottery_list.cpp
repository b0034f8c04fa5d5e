// libFuzzer target: the file the player's lotteries are kept in. Whatever the bytes, the list
// read starts with the built-in lotteries, every name follows the rule and is unique, and the
// file written from it reads back to the same list with nothing set aside.
#include <cstdint>

#include "core/model/LotteryName.h"
#include "gui/common/LotterySettings.h"
#include "support_fuzz.h"

using namespace zuohao;
using namespace zuohao::gui;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const LotteryListParse parsed = ParseLotteryList(bytes);
    const LotteryRegistry& r = parsed.registry;
    FUZZ_CHECK(r.size() >= int(kLotteryKinds.size()) && r.size() <= kMaxLotteries);
    for (int i = 0; i < r.size(); ++i) {
        const LotteryEntry& e = *r.at(i);
        FUZZ_CHECK(e.fixed == (i < int(kLotteryKinds.size())));
        FUZZ_CHECK(CheckLotteryName(e.name) == LotteryNameFault::None);
        FUZZ_CHECK(TrimLotteryName(e.name) == e.name);
        FUZZ_CHECK(r.find(e.name) == i);
        FUZZ_CHECK(ValidPeriodsPerDay(e.naming, e.periodsPerDay));
    }
    const LotteryListParse again = ParseLotteryList(LotteryListBytes(r));
    FUZZ_CHECK(!again.foreign && again.badSections.isEmpty());
    // The first lottery's draw file lives in the shared file, not in this one.
    LotteryRegistry expected = r;
    (void)expected.setDrawFile(0, {});
    FUZZ_CHECK(again.registry == expected);
    return 0;
}

// libFuzzer target: the file the player's work is kept in. Whatever the bytes, reading gives
// nothing or values in range (2 to 16 named lotteries, a position group 0-11, kill lists that
// are number lists, digit sets of digits, record boxes within their limit), and the file
// written from what was read reads back to the same bytes.
#include <cstdint>

#include "core/making/KillList.h"
#include "core/model/LotteryRegistry.h"
#include "gui/common/SavedWork.h"
#include "support_fuzz.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
bool digitsOnly(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<SavedWork> work = ParseSavedWork(bytes);
    if (!work) return 0;
    FUZZ_CHECK(work->lotteries.size() >= 2 && work->lotteries.size() <= std::size_t(kMaxLotteries));
    for (const LotteryWork& l : work->lotteries) {
        FUZZ_CHECK(!l.name.empty() && digitsOnly(l.selectionPeriod));
        for (int v : l.segmentSettings)
            FUZZ_CHECK(v >= 0 && v <= 30);
        FUZZ_CHECK(l.monitorLog.size() <= kMonitorLogLimit);
        const ConditionSet& c = l.conditions;
        FUZZ_CHECK(c.IDX >= 0 && c.IDX <= 11);
        for (const std::string& s : c.SEL)
            FUZZ_CHECK(digitsOnly(s));
        for (const std::string& s : c.CNT)
            FUZZ_CHECK(!s.empty() && digitsOnly(s));
        FUZZ_CHECK(digitsOnly(c.KUA) && digitsOnly(c.DAN[0]) && digitsOnly(c.DCC[1]));
        FUZZ_CHECK(l.kill.three.empty() || IsNumberList(l.kill.three, 3));
        FUZZ_CHECK(l.kill.four[2].empty() || IsNumberList(l.kill.four[2], 3) ||
                   IsNumberList(l.kill.four[2], 4));
        for (const std::string& s : l.extraDigits)
            FUZZ_CHECK(digitsOnly(s));
    }
    const QByteArray written = SavedWorkBytes(*work);
    const std::optional<SavedWork> again = ParseSavedWork(written);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(SavedWorkBytes(*again) == written);
    return 0;
}

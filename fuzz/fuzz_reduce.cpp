// libFuzzer target: kill-list and selection texts through the reduction. The input is split at
// 0x00 into the position group, five selections, banker and span texts and a kill text; the
// kill text is accepted the way the kill-list boxes accept it. Whatever the texts, the
// reduction either fails cleanly or splits its number space: base set and complement are
// number lists of the space's width, disjoint, and together as many as the space.
#include <cstdint>
#include <set>

#include "core/making/KillList.h"
#include "core/making/Reduction.h"
#include "core/model/Text.h"
#include "support_fuzz.h"

using namespace zuohao;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::vector<std::string> f =
        fuzz::pieces(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), '\0', 10);
    ConditionSet set;
    set.IDX = data[0] % 12;
    set.FAN = data[1] & 1;
    set.PLA = data[1] & 2;
    for (std::size_t k = 0; k < f.size() && k < std::size_t(kSelGroups); ++k)
        set.SEL[k] = f[k];
    if (f.size() > 5) set.DAN[0] = f[5];
    if (f.size() > 6) set.DCC[0] = f[6];
    if (f.size() > 7) set.KUA = f[7];
    if (f.size() > 8) {
        KillTexts kill;
        AcceptKillList(kill, f[8], set.fourDigit() ? 1 : 0);
        set.KL0 = kill.three;
        set.KL1 = kill.four[0];
        set.KLU[0] = set.KLU[1] = (data[1] & 4) ? 1 : 0;
        FUZZ_CHECK(kill.three.empty() || IsNumberList(kill.three, 3));
    }
    const Result<ReductionOutput> r = Reduce(set);
    if (!r) return 0;
    const std::size_t width = set.fourDigit() ? 4 : 3;
    const std::size_t space = set.fourDigit() ? 10000 : 1000;
    std::set<std::string_view> seen;
    const std::string lists[2] = {r->base.text(), r->complement.text()};
    for (const std::string& list : lists)
        for (std::string_view n : SplitNumberList(list)) {
            FUZZ_CHECK(n.size() == width);
            FUZZ_CHECK(seen.insert(n).second);
        }
    FUZZ_CHECK(seen.size() == space);
    return 0;
}

// LotteryClass operations of number making: the reduction and the selection strings.
#include "core/making/Reduction.h"
#include "core/model/Groups.h"
#include "core/model/LotteryClass.h"
#include "core/model/MonitorState.h"

namespace zuohao {

Result<std::string> LotteryClass::GetSuoshuiDadi() {
    auto r = Reduce(m_set);
    if (!r) return r.failure();
    m_set.DAD = r->base;
    m_set.FJI = r->complement;
    if (m_monitor && m_monitor->Monitoring && m_observer) m_observer->MonitorRestart();
    return m_set.DAD;
}

namespace {
// Statistic a draw box of selection group g contributes.
const char* const kDrawBoxKey[4] = {"STR", "R3H", "REH", "REC"};
} // namespace

static std::string buildSelection(const ConditionSet& set, int g, const GridRow& row,
                                  const std::array<const LotteryItem*, 4>& drawBoxes) {
    std::string t;
    for (int place = 0; place < BlockPlaces(g); ++place) {
        if (!set.CHK[CheckOf(g, place)]) continue;
        if (!IsDrawBoxPlace(place)) {
            if (g == 0)
                t += row[ColumnOf(g, place)].shown(); // the digit shown, its hit mark dropped
            else
                t.push_back(char('0' + place));
            continue;
        }
        const LotteryItem* draw = drawBoxes[place - kDigitPlaces];
        if (!draw) continue; // a draw that does not exist yet contributes nothing
        auto v = draw->GetSanmaInfo(set.IDX, kDrawBoxKey[g]);
        if (auto* s = std::get_if<std::string>(&v)) t += *s;
    }
    return DistinctDigits(t);
}

Result<void> LotteryClass::ResultSelStr(int checkIdx) {
    if (checkIdx < 0 || checkIdx >= kCheckCount) return fail(ErrorCode::OutOfRange, "下标越界");
    if (!PreItem01) return fail(ErrorCode::NoDraws, "未有开奖数据，无法生成选号");
    if (m_set.IDX < 0 || m_set.IDX >= kGroupCount) return fail(ErrorCode::OutOfRange, "下标越界");
    const int g = CheckBlock(checkIdx);
    const GridRow row = PreItem01->GetGridArray(m_set.IDX);
    std::array<const LotteryItem*, 4> boxes{};
    for (int k = 0; k < 4; ++k)
        boxes[k] = m_preItems[k].get();
    m_set.SEL[g] = buildSelection(m_set, g, row, boxes);
    return {};
}

Result<void> LotteryClass::ResultAutoSelStr(const LotteryItem* itemCls, bool isAuto, int jian) {
    if (!isAuto) return {};
    if (!itemCls) return fail(ErrorCode::NoDraws, "未有开奖数据，无法生成选号");
    if (m_set.IDX < 0 || m_set.IDX >= kGroupCount) return fail(ErrorCode::OutOfRange, "下标越界");
    const GridRow row = itemCls->GetGridArray(m_set.IDX);
    std::array<const LotteryItem*, 4> boxes{};
    boxes[0] = itemCls;
    for (int b = 1; b < kDrawBoxPlaces; ++b) {
        int k = b - jian;
        boxes[b] = (k >= 0 && k < 4) ? m_preItems[k].get() : nullptr;
    }
    for (int g = 0; g < kSelGroups; ++g)
        m_set.SEL[g] = buildSelection(m_set, g, row, boxes);
    return {};
}

} // namespace zuohao

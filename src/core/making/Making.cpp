#include "core/making/Making.h"

#include "core/making/Reduction.h"
#include "core/model/Groups.h"
#include "core/model/MonitorState.h"

namespace zuohao {

namespace {
constexpr const char* kOutOfRange = "下标越界";
constexpr const char* kNoDraws = "未有开奖数据，无法生成选号";

// The digits a draw box of selection group g contributes: those of the draw's STR, R3H, REH
// or REC.
DigitMask drawBoxDigits(int g, const GroupMasks& m) {
    switch (g) {
    case 0:
        return m.str;
    case 1:
        return m.r3h;
    case 2:
        return m.reh;
    default:
        return m.rec;
    }
}

// Selection digits of group g from its ticked boxes: a hot-digit box gives the digit at its
// place of `rowItem`'s hot order (group 0), any other digit box its own digit, and a draw box
// the digits of the draw it stands for (none when that draw does not exist yet).
std::string buildSelection(const ConditionSet& set, int g, const LotteryItem& rowItem,
                           const std::array<const LotteryItem*, kDrawBoxPlaces>& drawBoxes) {
    DigitMask digits = 0;
    for (int place = 0; place < BlockPlaces(g); ++place) {
        if (!set.CHK[std::size_t(CheckOf(g, place))]) continue;
        if (!IsDrawBoxPlace(place)) {
            if (g != 0) {
                digits |= DigitMask(1u << place);
            } else if (const SanmaRecord& r = rowItem.group(set.IDX); r.hasHot) {
                digits |= DigitMask(1u << (r.hot[std::size_t(place)] - '0'));
            }
            continue;
        }
        const LotteryItem* draw = drawBoxes[std::size_t(place - kDigitPlaces)];
        if (draw) digits |= drawBoxDigits(g, draw->masks(set.IDX));
    }
    return MaskDigits(digits);
}
} // namespace

Result<void> RenewBaseSet(LotteryState& lottery) {
    auto r = Reduce(lottery.conditions);
    if (!r) return r.failure();
    lottery.conditions.DAD = std::move(r.value().base);
    lottery.conditions.FJI = std::move(r.value().complement);
    return {};
}

Result<void> RebuildSelection(LotteryState& lottery, int checkIdx) {
    ConditionSet& set = lottery.conditions;
    if (checkIdx < 0 || checkIdx >= kCheckCount) return fail(ErrorCode::OutOfRange, kOutOfRange);
    if (!lottery.PreItem01) return fail(ErrorCode::NoDraws, kNoDraws);
    if (set.IDX < 0 || set.IDX >= kGroupCount) return fail(ErrorCode::OutOfRange, kOutOfRange);
    const int g = CheckBlock(checkIdx);
    std::array<const LotteryItem*, kDrawBoxPlaces> boxes{};
    for (std::size_t k = 0; k < boxes.size(); ++k)
        boxes[k] = lottery.PreItems[k].get();
    set.SEL[std::size_t(g)] = buildSelection(set, g, *lottery.PreItem01, boxes);
    return {};
}

Result<void> RebuildSelections(LotteryState& lottery, const LotteryItem* item, bool isAuto,
                               int jian) {
    ConditionSet& set = lottery.conditions;
    if (!isAuto) return {};
    if (!item) return fail(ErrorCode::NoDraws, kNoDraws);
    if (set.IDX < 0 || set.IDX >= kGroupCount) return fail(ErrorCode::OutOfRange, kOutOfRange);
    std::array<const LotteryItem*, kDrawBoxPlaces> boxes{};
    boxes[0] = item;
    for (int b = 1; b < kDrawBoxPlaces; ++b) {
        const int k = b - jian;
        boxes[std::size_t(b)] =
            (k >= 0 && k < int(kPreviousDraws)) ? lottery.PreItems[std::size_t(k)].get() : nullptr;
    }
    for (int g = 0; g < kSelGroups; ++g)
        set.SEL[std::size_t(g)] = buildSelection(set, g, *item, boxes);
    return {};
}

} // namespace zuohao

#include "core/model/LotteryClass.h"

#include <cmath>
#include <cstdio>

#include "core/model/Groups.h"
#include "core/model/Period.h"
#include "core/model/Text.h"

namespace zuohao {

LotteryClass::LotteryClass() {
    BuildNumberTables();
}

Result<FormValue> LotteryClass::GetMyFormSet(std::string_view infoType, int index) const {
    return GetFormValue(m_set, infoType, index);
}

Result<void> LotteryClass::LetMyFormSet(std::string_view infoType, const FormValue& formSet,
                                        int idx) {
    return LetFormValue(m_set, infoType, formSet, idx);
}

std::string LotteryClass::GetNextQiShu() const {
    if (MyIndex == 0) return NextLabelText(NewQi) + "期";
    if (MyIndex == 1) {
        std::string_view tail = NewQi;
        if (tail.size() > 3) tail = tail.substr(tail.size() - 3);
        long long v = RoundHalfEven(NumericValue(tail));
        long long next = ((v % 120) + 120) % 120 + 1;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%03lld", next);
        return std::string(buf) + "期";
    }
    return {};
}

bool LotteryClass::GetHasChecked() const {
    for (const auto& s : m_set.SEL)
        if (!s.empty()) return true;
    return false;
}

std::string LotteryClass::weizhiHAO(std::string_view haoma) const {
    std::string out;
    int idx = m_set.IDX;
    if (idx < 0 || idx >= kGroupCount) return out;
    const auto& gp = kGroupPositions[idx];
    for (int k = 0; k < gp.count; ++k) {
        int p = gp.pos[k];
        if (p <= int(haoma.size())) out.push_back(haoma[p - 1]);
    }
    return out;
}

void LotteryClass::AddNewPlan(LotteryItem& item) {
    item.SetPlanTxt(GetNextQiShu(), m_set.IDX, CountNumberList(m_set.DAD));
}

} // namespace zuohao

#include "core/analysis/AnalysisBasis.h"

#include <tuple>

namespace zuohao {

ConditionSet AnalysedConditions(const ConditionSet& set) {
    ConditionSet c = set;
    c.DAD = NumberList{};
    c.FJI = NumberList{};
    c.PLT.clear();
    return c;
}

bool SameAnalysedConditions(const ConditionSet& a, const ConditionSet& b, bool pipeline) {
    const auto fixed = [](const ConditionSet& s) {
        return std::tie(s.IDX, s.CNT, s.DAN, s.DCC, s.KUA, s.KLU, s.killList(), s.FAN);
    };
    if (fixed(a) != fixed(b)) return false;
    if (!pipeline) return a.SEL == b.SEL;
    if (a.PLA != b.PLA || a.CHK != b.CHK) return false;
    return a.PLA || a.SEL == b.SEL;
}

} // namespace zuohao

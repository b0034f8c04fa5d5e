#pragma once
// Conditions a test gives a lottery object, through its façade as the panel's edits do:
// `edit` changes a copy of the condition set, which the lottery then takes (its base set,
// complement and plan text stay as they were).
#include "core/acquire/LotteryClass.h"

namespace zuohao::testing {

template <class Edit> void EditConditions(LotteryClass& lottery, Edit edit) {
    ConditionSet conditions = lottery.formSet();
    edit(conditions);
    lottery.restoreConditions(conditions);
}

} // namespace zuohao::testing

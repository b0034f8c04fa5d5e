#include "gui/making/ConditionStore.h"

#include "core/acquire/LotteryClass.h"
#include "gui/common/QtText.h"
#include "gui/making/FormState.h"

namespace zuohao::gui {

void ReportFailure(const FormState& form, const QString& what, const std::string& error) {
    if (form.ShowLabelTxt) form.ShowLabelTxt(what + toQ(error));
}

void StoreCondition(FormState& form, std::string_view key, const FormValue& value, int idx) {
    if (!form.ActiveCls) return;
    if (auto r = form.ActiveCls->LetMyFormSet(key, value, idx); !r)
        ReportFailure(form, QStringLiteral("条件未保存："), r.error());
    if (form.WorkChanged) form.WorkChanged();
}

} // namespace zuohao::gui

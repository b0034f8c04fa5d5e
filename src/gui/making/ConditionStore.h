#pragma once
// How the conditions panel's parts store what a control says: through the active lottery's
// keyed writer (LetMyFormSet), never into its condition set directly.
#include <QString>
#include <string>
#include <string_view>

#include "core/model/ConditionSet.h"

namespace zuohao::gui {

struct FormState;

// Stores one condition of the active lottery and marks the work changed. The keys and values
// the panel hands over are always well formed; a refusal would mean a bug in the panel, so it
// is shown in the status line, not dropped.
void StoreCondition(FormState& form, std::string_view key, const FormValue& value, int idx);
// Tells the status line that `what` failed, with the reason.
void ReportFailure(const FormState& form, const QString& what, const std::string& error);

} // namespace zuohao::gui

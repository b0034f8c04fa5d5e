#pragma once
// The condition set of a lottery: the user's reduction conditions and the two results of
// the last reduction, addressed by three-letter keys.
#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/model/GridLayout.h"
#include "core/model/NumberList.h"
#include "core/model/Result.h"

namespace zuohao {

inline constexpr int kCheckCount = kStatColumns; // one selection box per statistics column
inline constexpr int kSelGroups = kBlockCount;   // one selection text per trend block

struct ConditionSet {
    int IDX = 0;     // position group (WeiIndex) of the base set and of plans; 10, 11 four-digit
    bool PLA = true; // 自动做号: while a plan runs, selections are derived anew at every draw
    std::array<bool, kCheckCount> CHK{};       // the selection boxes; box i belongs to group i / 14
    std::array<std::string, kSelGroups> SEL{}; // selection digits of each selection group
    // Allowed match counts of each selection group, a string of count digits.
    std::array<std::string, kSelGroups> CNT{"1234", "1234", "123456", "123456", "1234"};
    std::array<std::string, 2> DAN{}; // banker digits (胆码) of banker groups 1 and 2
    std::array<std::string, 2> DCC{}; // allowed banker counts; empty reads as "1234"
    std::string KUA;                  // spans to kill (杀跨度)
    std::array<int, 4> KLU{}; // switches 全0路, 全1路, 全2路, 杀对子: 0 off, non-zero on
    std::string KL0;          // numbers killed from a three-digit base set
    std::string KL1;          // numbers killed from a four-digit base set
    bool FAN = false;         // 大底反集: the base set is formed of the removed numbers
    NumberList DAD;           // the base set (大底)
    NumberList FJI;           // the complement (反集) of the last reduction
    std::string PLT;          // a spare text, kept and returned unchanged

    bool fourDigit() const { return IDX >= 10; }
    // The kill list of the current number space.
    const std::string& killList() const { return fourDigit() ? KL1 : KL0; }
};

// True when at least one selection text is set (GetHasChecked).
bool AnySelection(const ConditionSet& set);

// A value read or written by key: nothing, a Boolean, an integer, a text, or a copy of an array.
using FormValue = std::variant<std::monostate, bool, int, std::string, std::vector<bool>,
                               std::vector<std::string>, std::vector<int>>;

// Conversions the keyed writer applies to a value.
int FormAsInt(const FormValue& v);
bool FormAsBool(const FormValue& v);
std::string FormAsString(const FormValue& v);

// Reads one value by key (compared in upper case). Whole-value keys ignore the index;
// DAN and DCC need index 0 or 1. Unknown keys give an empty value.
Result<FormValue> GetFormValue(const ConditionSet& set, std::string_view infoType, int index);

// Writes one value by key. DAN, DCC and KUA toggle one digit: value = button number,
// idx = the button's new state (1 selected). FJI and unknown keys change nothing.
Result<void> LetFormValue(ConditionSet& set, std::string_view infoType, const FormValue& formSet,
                          int idx);

} // namespace zuohao

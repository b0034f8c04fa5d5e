#pragma once
// The condition set of a lottery: the user's reduction conditions and the two results of
// the last reduction, addressed by three-letter keys.
#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/model/GridLayout.h"
#include "core/model/Result.h"

namespace zuohao {

inline constexpr int kCheckCount = kStatColumns; // one selection box per statistics column
inline constexpr int kSelGroups = kBlockCount;   // one selection text per trend block

struct ConditionSet {
    int IDX = 0;
    bool PLA = true;
    std::array<bool, kCheckCount> CHK{};
    std::array<std::string, kSelGroups> SEL{};
    std::array<std::string, kSelGroups> CNT{"1234", "1234", "123456", "123456", "1234"};
    std::array<std::string, 2> DAN{};
    std::array<std::string, 2> DCC{};
    std::string KUA;
    std::array<int, 4> KLU{}; // 0 off, non-zero on
    std::string KL0;
    std::string KL1;
    bool FAN = false;
    std::string DAD;
    std::string FJI;
    std::string PLT;

    bool fourDigit() const { return IDX >= 10; }
    // The kill list of the current number space.
    const std::string& killList() const { return fourDigit() ? KL1 : KL0; }
};

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

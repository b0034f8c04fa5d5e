#include "core/model/ConditionSet.h"

#include <algorithm>

#include "core/model/Text.h"

namespace zuohao {

namespace {
const char* kOutOfRange = "下标越界";

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return u;
}

template <std::size_t N> std::vector<std::string> copyOf(const std::array<std::string, N>& a) {
    return {a.begin(), a.end()};
}

void toggle(std::string& target, char c, int state) {
    target.erase(std::remove(target.begin(), target.end(), c), target.end());
    if (state == 1) target.push_back(c);
}
} // namespace

bool AnySelection(const ConditionSet& set) {
    for (const auto& s : set.SEL)
        if (!s.empty()) return true;
    return false;
}

int FormAsInt(const FormValue& v) {
    if (auto* i = std::get_if<int>(&v)) return *i;
    if (auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
    if (auto* s = std::get_if<std::string>(&v)) return int(RoundHalfEven(NumericValue(*s)));
    return 0;
}

bool FormAsBool(const FormValue& v) {
    if (auto* b = std::get_if<bool>(&v)) return *b;
    if (auto* i = std::get_if<int>(&v)) return *i != 0;
    if (auto* s = std::get_if<std::string>(&v)) {
        std::string u = upper(*s);
        if (u == "TRUE") return true;
        if (u == "FALSE" || u.empty()) return false;
        return NumericValue(*s) != 0;
    }
    return false;
}

std::string FormAsString(const FormValue& v) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* i = std::get_if<int>(&v)) return std::to_string(*i);
    if (auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    return {};
}

Result<FormValue> GetFormValue(const ConditionSet& set, std::string_view infoType, int index) {
    const std::string key = upper(infoType);
    if (key == "IDX") return FormValue{set.IDX};
    if (key == "PLA") return FormValue{set.PLA};
    if (key == "FAN") return FormValue{set.FAN};
    if (key == "DAD") return FormValue{set.DAD.text()};
    if (key == "PLT") return FormValue{set.PLT};
    if (key == "FJI") return FormValue{set.FJI.text()};
    if (key == "KL0") return FormValue{set.KL0};
    if (key == "KL1") return FormValue{set.KL1};
    if (key == "KUA") return FormValue{set.KUA};
    if (key == "CHK") return FormValue{std::vector<bool>(set.CHK.begin(), set.CHK.end())};
    if (key == "SEL") return FormValue{copyOf(set.SEL)};
    if (key == "CNT") return FormValue{copyOf(set.CNT)};
    if (key == "KLU") return FormValue{std::vector<int>(set.KLU.begin(), set.KLU.end())};
    if (key == "DAN" || key == "DCC") {
        if (index < 0 || index > 1) return fail(ErrorCode::OutOfRange, kOutOfRange);
        return FormValue{key == "DAN" ? set.DAN[index] : set.DCC[index]};
    }
    return FormValue{};
}

Result<void> LetFormValue(ConditionSet& set, std::string_view infoType, const FormValue& formSet,
                          int idx) {
    const std::string key = upper(infoType);
    if (key == "IDX") {
        set.IDX = FormAsInt(formSet);
    } else if (key == "PLA") {
        set.PLA = FormAsBool(formSet);
    } else if (key == "FAN") {
        set.FAN = FormAsBool(formSet);
    } else if (key == "CHK") {
        if (idx < 0 || idx >= kCheckCount) return fail(ErrorCode::OutOfRange, kOutOfRange);
        set.CHK[idx] = FormAsBool(formSet);
    } else if (key == "SEL" || key == "CNT") {
        if (idx < 0 || idx >= kSelGroups) return fail(ErrorCode::OutOfRange, kOutOfRange);
        (key == "SEL" ? set.SEL : set.CNT)[idx] = FormAsString(formSet);
    } else if (key == "DAD") {
        set.DAD = NumberList::read(FormAsString(formSet), set.fourDigit()).list;
    } else if (key == "PLT") {
        set.PLT = FormAsString(formSet);
    } else if (key == "KL0") {
        set.KL0 = FormAsString(formSet);
    } else if (key == "KL1") {
        set.KL1 = FormAsString(formSet);
    } else if (key == "KLU") {
        if (idx < 0 || idx > 3) return fail(ErrorCode::OutOfRange, kOutOfRange);
        set.KLU[idx] = FormAsInt(formSet);
    } else if (key == "DAN") {
        int v = FormAsInt(formSet);
        if (v < 0 || v > 19) return fail(ErrorCode::OutOfRange, kOutOfRange);
        toggle(set.DAN[v / 10], char('0' + v % 10), idx);
    } else if (key == "DCC") {
        int v = FormAsInt(formSet);
        if (v < 0 || v > 9) return fail(ErrorCode::OutOfRange, kOutOfRange);
        toggle(set.DCC[v / 5], char('0' + v % 5), idx);
    } else if (key == "KUA") {
        int v = FormAsInt(formSet);
        if (v < 0) return fail(ErrorCode::OutOfRange, kOutOfRange);
        toggle(set.KUA, char('0' + v % 10), idx);
    }
    return {};
}

} // namespace zuohao

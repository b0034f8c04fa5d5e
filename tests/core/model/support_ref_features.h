#pragma once
// Test-side reference of the number features, written from the definitions with plain
// character arithmetic and std::set, independent of the engine's digit masks. Shared by the
// model, making and plan test executables.
#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace reftest {

inline int digitOf(char c) {
    return c - '0';
}

// Each value once, ascending, as digit characters.
inline std::string ascendingSet(const std::vector<int>& values) {
    std::set<int> s(values.begin(), values.end());
    std::string out;
    for (int v : s)
        out += std::to_string(v);
    return out;
}

inline std::string tailOf(int sum) {
    return std::to_string(sum % 10);
}

// All unordered pairs of positions of a text.
inline std::vector<std::pair<int, int>> pairsOf(std::string_view s) {
    std::vector<std::pair<int, int>> out;
    for (std::size_t a = 0; a < s.size(); ++a)
        for (std::size_t b = a + 1; b < s.size(); ++b)
            out.emplace_back(digitOf(s[a]), digitOf(s[b]));
    return out;
}

inline int digitSum(std::string_view s) {
    int t = 0;
    for (char c : s)
        t += digitOf(c);
    return t;
}

inline std::string pairSumTails(std::string_view s) {
    std::vector<int> v;
    for (auto [a, b] : pairsOf(s))
        v.push_back((a + b) % 10);
    return ascendingSet(v);
}

inline std::string pairDiffs(std::string_view s) {
    std::vector<int> v;
    for (auto [a, b] : pairsOf(s))
        v.push_back(a > b ? a - b : b - a);
    return ascendingSet(v);
}

// Triple sums of a four-digit text, each as the total less one digit.
inline std::string tripleSumTails4(std::string_view s) {
    std::vector<int> v;
    const int total = digitSum(s);
    for (char c : s)
        v.push_back((total - digitOf(c)) % 10);
    return ascendingSet(v);
}

inline std::string digitSet(std::string_view s) {
    std::vector<int> v;
    for (char c : s)
        v.push_back(digitOf(c));
    return ascendingSet(v);
}

inline std::string spanOf(std::string_view s) {
    auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    return std::to_string(*hi - *lo);
}

// The features a position group shows for its digit text (three or four characters).
struct GroupFeatures {
    std::string str, wei, reh, rec, r3h;
};

inline GroupFeatures featuresOf(const std::string& str) {
    GroupFeatures f;
    f.str = str;
    f.wei = tailOf(digitSum(str));
    f.reh = pairSumTails(str);
    f.rec = pairDiffs(str);
    f.r3h = str.size() == 3 ? tailOf(digitSum(str)) : tripleSumTails4(str);
    return f;
}

// The digits of a draw number taken by a position group, read from the group's name
// (万千百十个 = positions 1..5; 前四星 = 1234, 后四星 = 2345).
inline std::string groupDigits(const std::string& haoma, int group) {
    static const char* const names[12] = {"万千百", "万千十", "万千个", "万百十",
                                          "万百个", "万十个", "千百十", "千百个",
                                          "千十个", "百十个", "前四星", "后四星"};
    if (group == 10) return haoma.substr(0, 4);
    if (group == 11) return haoma.substr(1, 4);
    static const std::string positions[5] = {"万", "千", "百", "十", "个"};
    std::string name = names[group], out;
    for (std::size_t i = 0; i < name.size(); i += 3) {
        std::string ch = name.substr(i, 3);
        for (int p = 0; p < 5; ++p)
            if (positions[p] == ch) out.push_back(haoma[std::size_t(p)]);
    }
    return out;
}

// True when the two texts share at least one character.
inline bool shareDigit(std::string_view a, std::string_view b) {
    return std::any_of(a.begin(), a.end(),
                       [&](char c) { return b.find(c) != std::string_view::npos; });
}

} // namespace reftest

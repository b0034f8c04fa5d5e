#pragma once
// The twelve position groups (WeiIndex): ten three-digit groups and 前四星, 后四星.
#include <array>
#include <cassert>
#include <string>
#include <string_view>

namespace zuohao {

inline constexpr int kGroupCount = 12;

// The twelve group names run together in index order, three characters each.
inline constexpr std::string_view kGroupNames =
    "万千百万千十万千个万百十万百个万十个千百十千百个千十个百十个前四星后四星";

// Name of group w (three characters, e.g. "万百个").
inline std::string_view GroupName(int w) {
    assert(w >= 0 && w < kGroupCount);
    constexpr std::size_t kCharBytes = 3; // every name character is three UTF-8 bytes
    return kGroupNames.substr(std::size_t(w) * 3 * kCharBytes, 3 * kCharBytes);
}

inline bool IsFourDigitGroup(int w) {
    return w >= 10;
}

// 1-based positions of the digits of group w in the draw number (万=1 … 个=5).
struct GroupPositions {
    std::array<int, 4> pos;
    int count;
};
inline constexpr std::array<GroupPositions, kGroupCount> kGroupPositions{{
    {{1, 2, 3, 0}, 3},
    {{1, 2, 4, 0}, 3},
    {{1, 2, 5, 0}, 3},
    {{1, 3, 4, 0}, 3},
    {{1, 3, 5, 0}, 3},
    {{1, 4, 5, 0}, 3},
    {{2, 3, 4, 0}, 3},
    {{2, 3, 5, 0}, 3},
    {{2, 4, 5, 0}, 3},
    {{3, 4, 5, 0}, 3},
    {{1, 2, 3, 4}, 4},
    {{2, 3, 4, 5}, 4},
}};

// The digits of a draw number at the positions of group idx, in position order (weizhiHAO):
// the group's STR. Empty for a group outside 0 to 11; positions beyond the number are skipped.
inline std::string PositionNumbers(int idx, std::string_view haoma) {
    std::string out;
    if (idx < 0 || idx >= kGroupCount) return out;
    const GroupPositions& gp = kGroupPositions[std::size_t(idx)];
    for (int k = 0; k < gp.count; ++k) {
        const int p = gp.pos[std::size_t(k)];
        if (p <= int(haoma.size())) out.push_back(haoma[std::size_t(p - 1)]);
    }
    return out;
}

} // namespace zuohao

// The statistics chain over a sequence of draws: every cell of every row of every group
// against a reference that recomputes each cell from the whole history by scanning back,
// plus cells worked out by hand that check the reference itself.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"
#include "support_ref_features.h"

namespace zuohao {
namespace {

using reftest::GroupFeatures;

// Draws 1..18. Group 9 (百十个) reads: 000 112 456 100 999 345 890 579 680 111 765 555 207
// 415 653 034 384 643.
const std::vector<std::string> kDraws = {"00000", "90112", "78456", "34100", "11999", "12345",
                                         "67890", "13579", "24680", "11111", "98765", "55555",
                                         "20207", "31415", "92653", "58034", "32384", "62643"};

// The draw where every step of the statistics first runs (a draw 10 places back exists).
constexpr int kFullFrom = 12;

Cell num(int v) {
    return Cell::ofNumber(v);
}
Cell mark(int index) {
    return Cell::mark(std::to_string(index));
}
Cell txt(const std::string& t) {
    return Cell::ofText(t);
}

std::string describe(const Cell& c) {
    if (c.isEmpty()) return "<empty>";
    if (c.isMark()) return "mark " + c.text.substr(1);
    if (c.kind == Cell::Kind::Number) return DecimalText(c.number);
    return "'" + c.text + "'";
}

// Reference: the row of draw n (1-based) of group g, computed from draws 1..n only.
class Reference {
public:
    explicit Reference(const std::vector<std::string>& draws) : m_draws(draws) {}

    GroupFeatures f(int n, int g) const {
        return reftest::featuresOf(reftest::groupDigits(m_draws[std::size_t(n - 1)], g));
    }

    std::array<int, 10> hho(int n, int g) const {
        std::array<int, 10> counts{};
        if (n < 2) return counts;
        for (int j = std::max(2, n - 9); j <= n; ++j)
            for (char c : f(j, g).str)
                ++counts[std::size_t(c - '0')];
        return counts;
    }

    std::string hotOrder(int n, int g) const {
        const auto counts = hho(n, g);
        std::string out;
        for (int c = 40; c >= 0; --c)
            for (int d = 0; d < 10; ++d)
                if (counts[std::size_t(d)] == c) out.push_back(char('0' + d));
        return out;
    }

    // Four-entry cell k: a mark when the feature shares a digit with draw n-k-1; otherwise
    // the draws since the cell was last marked (or since draw 1 when it never was).
    Cell repeatCell(int n, int g, int k, std::string GroupFeatures::*feat) const {
        if (n == 1) return Cell{};
        auto marked = [&](int m) {
            return m >= kFullFrom && reftest::shareDigit(f(m, g).*feat, f(m - k - 1, g).*feat);
        };
        if (marked(n)) return mark(k);
        for (int m = n - 1; m >= kFullFrom; --m)
            if (marked(m)) return num(n - m);
        return num(n - 1);
    }

    // Miss cell of digit d: a mark when d is in the feature; otherwise the draws since it
    // last was (counting from draw 11 when it never was since the cells started).
    Cell missCell(int n, int g, int d, std::string GroupFeatures::*feat) const {
        if (n < kFullFrom) return Cell{};
        const char digit = char('0' + d);
        auto has = [&](int m) { return (f(m, g).*feat).find(digit) != std::string::npos; };
        if (has(n)) return mark(d);
        for (int m = n - 1; m >= kFullFrom; --m)
            if (has(m)) return num(n - m);
        return num(n - (kFullFrom - 1));
    }

    GridRow row(int n, int g) const {
        GridRow r;
        r[1] = txt(std::to_string(n));
        r[2] = txt(m_draws[std::size_t(n - 1)]);
        const std::string str = f(n, g).str;
        const std::string hot = n >= kFullFrom ? hotOrder(n, g) : "";
        for (int i = 0; i < 10; ++i) {
            if (hot.empty()) {
                r[3 + i] = txt("\x1e");
                continue;
            }
            const std::string digit(1, hot[std::size_t(i)]);
            r[3 + i] = str.find(digit) != std::string::npos ? txt("\x1e" + digit) : txt(digit);
        }
        for (int k = 0; k < 4; ++k) {
            r[13 + k] = repeatCell(n, g, k, &GroupFeatures::str);
            r[27 + k] = repeatCell(n, g, k, &GroupFeatures::r3h);
            r[41 + k] = repeatCell(n, g, k, &GroupFeatures::reh);
            r[55 + k] = repeatCell(n, g, k, &GroupFeatures::rec);
        }
        for (int d = 0; d < 10; ++d) {
            r[17 + d] = missCell(n, g, d, &GroupFeatures::r3h);
            r[31 + d] = missCell(n, g, d, &GroupFeatures::reh);
            r[45 + d] = missCell(n, g, d, &GroupFeatures::rec);
            r[59 + d] = missCell(n, g, d, &GroupFeatures::wei);
        }
        return r;
    }

private:
    std::vector<std::string> m_draws;
};

class StatisticsChain : public ::testing::Test {
protected:
    void SetUp() override {
        int n = 0;
        for (const auto& d : kDraws) {
            auto outcome = m_lottery.ProcessDraw(std::to_string(++n), d);
            ASSERT_TRUE(outcome.added);
            ASSERT_EQ(outcome.error, "");
            m_items.push_back(m_lottery.state().PreItem01);
        }
    }
    const LotteryItem& draw(int n) const { return *m_items[std::size_t(n - 1)]; }
    std::vector<Cell> cells(int n, int g, const char* key) const {
        return std::get<std::vector<Cell>>(draw(n).GetSanmaInfo(g, key));
    }
    std::vector<double> counts(int n, int g) const {
        std::vector<double> out;
        for (const Cell& c : cells(n, g, "HHO"))
            out.push_back(c.value());
        return out;
    }

    LotteryClass m_lottery;
    std::vector<ItemPtr> m_items;
    Reference m_ref{kDraws};
};

TEST_F(StatisticsChain, EveryCellOfEveryRowMatchesTheReference) {
    int compared = 0;
    for (int n = 1; n <= int(kDraws.size()); ++n)
        for (int g = 0; g < kGroupCount; ++g) {
            const GridRow got = draw(n).GetGridArray(g);
            const GridRow want = m_ref.row(n, g);
            for (int c = 1; c <= 68; ++c) {
                EXPECT_EQ(got[c], want[c])
                    << "draw " << n << " group " << g << " cell " << c << ": got "
                    << describe(got[c]) << ", want " << describe(want[c]);
                ++compared;
            }
        }
    EXPECT_EQ(compared, 18 * 12 * 68);
}

TEST_F(StatisticsChain, HotCountsMatchTheReference) {
    for (int n = 1; n <= int(kDraws.size()); ++n)
        for (int g = 0; g < kGroupCount; ++g) {
            const auto want = m_ref.hho(n, g);
            EXPECT_EQ(counts(n, g), std::vector<double>(want.begin(), want.end()))
                << "draw " << n << " group " << g;
        }
}

// Hand-worked values of group 9; they hold for the engine and for the reference alike.
TEST_F(StatisticsChain, HandWorkedCountsOfGroup9) {
    // Draws 2 to 5 read 112, 456, 100, 999 (draw 1 never counts).
    const std::vector<double> after5{2, 3, 1, 0, 1, 1, 1, 0, 0, 3};
    EXPECT_EQ(counts(5, 9), after5);
    // Draws 2..11 (30 digits), then draw 12 (555) enters and draw 2 (112) leaves.
    const std::vector<double> after11{4, 6, 1, 1, 2, 4, 3, 2, 2, 5};
    const std::vector<double> after12{4, 4, 0, 1, 2, 7, 3, 2, 2, 5};
    EXPECT_EQ(counts(11, 9), after11);
    EXPECT_EQ(counts(12, 9), after12);
    for (auto [n, want] : {std::pair{5, after5}, {11, after11}, {12, after12}}) {
        const auto ref = m_ref.hho(n, 9);
        EXPECT_EQ(std::vector<double>(ref.begin(), ref.end()), want) << n;
    }
    EXPECT_EQ(draw(11).group(9).HotOrder(), ""); // not yet ordered
    EXPECT_EQ(draw(12).group(9).HotOrder(), "5901647832");
    EXPECT_EQ(m_ref.hotOrder(12, 9), "5901647832");
}

TEST_F(StatisticsChain, HandWorkedRowOfDraw12Group9) {
    const GridRow row = draw(12).GetGridArray(9);
    // Hot order 5901647832; only 5 is in STR 555.
    const Cell hot[10] = {txt("\x1e"
                              "5"),
                          txt("9"),
                          txt("0"),
                          txt("1"),
                          txt("6"),
                          txt("4"),
                          txt("7"),
                          txt("8"),
                          txt("3"),
                          txt("2")};
    // SMA: 555 shares 5 with 765 (k 0) and 579 (k 3); 111 and 680 do not: 10 + 1.
    const Cell sma[4] = {mark(0), num(11), num(11), mark(3)};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(row[3 + i], hot[i]) << i;
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(row[13 + k], sma[k]) << k;
    // WYL: sum tail 5 marked, the rest start at 1; H3Y the same; HYL: pair sums "0".
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(row[59 + d], d == 5 ? mark(5) : num(1)) << d;
        EXPECT_EQ(row[17 + d], d == 5 ? mark(5) : num(1)) << d;
        EXPECT_EQ(row[31 + d], d == 0 ? mark(0) : num(1)) << d;
    }
    EXPECT_EQ(row, m_ref.row(12, 9));
}

TEST_F(StatisticsChain, HandWorkedRowsAfterDraw12Group9) {
    // Draw 13 (207): WEI 9; SMA against 555, 765, 111, 680; pair sums 2, 9, 7.
    EXPECT_EQ(cells(13, 9, "WYL"), (std::vector<Cell>{num(2), num(2), num(2), num(2), num(2),
                                                      num(1), num(2), num(2), num(2), mark(9)}));
    EXPECT_EQ(cells(13, 9, "SMA"), (std::vector<Cell>{num(1), mark(1), num(12), mark(3)}));
    EXPECT_EQ(cells(13, 9, "HYL"), (std::vector<Cell>{num(1), num(2), mark(2), num(2), num(2),
                                                      num(2), num(2), mark(7), num(2), mark(9)}));
    // Draw 14 (415): WEI 0.
    EXPECT_EQ(cells(14, 9, "WYL"), (std::vector<Cell>{mark(0), num(3), num(3), num(3), num(3),
                                                      num(2), num(3), num(3), num(3), num(1)}));
    // Draw 16 (034) has WEI 7 and marks cell 7; draw 17 (384, WEI 5) counts it 1 again.
    EXPECT_EQ(cells(16, 9, "WYL")[7], mark(7));
    EXPECT_EQ(cells(17, 9, "WYL")[7], num(1));
    EXPECT_EQ(cells(17, 9, "WYL")[5], mark(5));
    // The reference agrees with every one of these.
    EXPECT_EQ(m_ref.row(13, 9)[59 + 9], mark(9));
    EXPECT_EQ(m_ref.row(13, 9)[13 + 2], num(12));
    EXPECT_EQ(m_ref.row(14, 9)[59 + 1], num(3));
    EXPECT_EQ(m_ref.row(17, 9)[59 + 7], num(1));
}

TEST_F(StatisticsChain, FillingUpBeforeDraw12) {
    for (int g = 0; g < kGroupCount; ++g) {
        // The first draw has no statistics; draws 2 to 11 count the four-entry cells up.
        for (const char* key : {"SMA", "R3A", "RHA", "RCA"}) {
            for (const Cell& c : cells(1, g, key))
                EXPECT_TRUE(c.isEmpty());
            for (int n = 2; n <= 11; ++n)
                EXPECT_EQ(cells(n, g, key), std::vector<Cell>(4, num(n - 1))) << key << n;
        }
        for (const char* key : {"H3Y", "HYL", "CYL", "WYL"})
            for (int n = 1; n <= 11; ++n)
                for (const Cell& c : cells(n, g, key))
                    EXPECT_TRUE(c.isEmpty()) << key << n;
    }
}

} // namespace
} // namespace zuohao

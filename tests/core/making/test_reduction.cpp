// The reduction: counts of the known condition sets, the partition into base set and
// complement, failures that keep the stored lists, and random condition sets against a
// reference filter written from the rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../support/support_conditions.h"
#include "../model/support_ref_features.h"
#include "core/acquire/LotteryClass.h"
#include "core/making/Reduction.h"
#include "core/model/Text.h"

namespace zuohao {
namespace {

std::vector<std::string> pieces(const std::string& list) {
    std::vector<std::string> out;
    std::istringstream in(list);
    for (std::string p; in >> p;)
        out.push_back(p);
    return out;
}

// A well-formed number list: single spaces, no space at either end.
void expectWellFormed(const std::string& list) {
    if (list.empty()) return;
    EXPECT_NE(list.front(), ' ');
    EXPECT_NE(list.back(), ' ');
    EXPECT_EQ(list.find("  "), std::string::npos);
}

struct CountCase {
    const char* name;
    std::function<void(ConditionSet&)> setUp;
    int base;
    std::vector<std::string> firstOfBase;
};

class KnownCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(KnownCounts, BaseSetSizeAndStart) {
    ConditionSet set;
    GetParam().setUp(set);
    auto r = Reduce(set);
    ASSERT_TRUE(r.ok()) << r.error();
    const auto base = pieces(r->base.text()), comp = pieces(r->complement.text());
    EXPECT_EQ(int(base.size()), GetParam().base);
    EXPECT_EQ(base.size() + comp.size(), set.fourDigit() ? 10000u : 1000u);
    const auto& first = GetParam().firstOfBase;
    ASSERT_GE(base.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(base[i], first[i]) << i;
    expectWellFormed(r->base.text());
    expectWellFormed(r->complement.text());
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, KnownCounts,
    ::testing::Values(
        CountCase{"Nothing3", [](ConditionSet&) {}, 1000, {"000", "001", "002"}},
        CountCase{"Nothing4", [](ConditionSet& s) { s.IDX = 11; }, 10000, {"0000", "0001"}},
        CountCase{"Pairs4",
                  [](ConditionSet& s) {
                      s.IDX = 10;
                      s.KLU[3] = 1;
                  },
                  5040,
                  {"0123", "0124"}},
        CountCase{"Routes4",
                  [](ConditionSet& s) {
                      s.IDX = 10;
                      s.KLU = {1, 1, 1, 0};
                  },
                  9582,
                  {"0001", "0002", "0004"}},
        CountCase{"Pairs3", [](ConditionSet& s) { s.KLU[3] = 1; }, 720, {"012", "013"}},
        CountCase{"Route0Only3", [](ConditionSet& s) { s.KLU[0] = 1; }, 936, {"001", "002"}},
        CountCase{"Route1Only3", [](ConditionSet& s) { s.KLU[1] = 1; }, 973, {"000"}},
        CountCase{"Banker5", [](ConditionSet& s) { s.DAN[0] = "5"; }, 271, {"005", "015"}},
        CountCase{"Banker5Twice",
                  [](ConditionSet& s) {
                      s.DAN[0] = "5";
                      s.DCC[0] = "2";
                  },
                  0,
                  {}},
        CountCase{"Banker12Twice",
                  [](ConditionSet& s) {
                      s.DAN[0] = "12";
                      s.DCC[0] = "2";
                  },
                  54,
                  {"012", "021", "102", "112", "120", "121"}},
        CountCase{"SecondBankerGroup",
                  [](ConditionSet& s) {
                      s.DAN[1] = "12";
                      s.DCC[1] = "2";
                  },
                  54,
                  {"012", "021"}},
        CountCase{"FourBankersDefaultCounts",
                  [](ConditionSet& s) {
                      s.IDX = 10;
                      s.DAN[0] = "1234";
                  },
                  8704, // every number with any of 1..4, including the 24 with all four
                  {"0001", "0002", "0003", "0004", "0010"}},
        CountCase{"KillSpan0", [](ConditionSet& s) { s.KUA = "0"; }, 990, {"001", "002"}},
        CountCase{"NoZero",
                  [](ConditionSet& s) {
                      s.SEL[0] = "0";
                      s.CNT[0] = "0";
                  },
                  729,
                  {"111", "112"}},
        CountCase{"SumTail5",
                  [](ConditionSet& s) { s.SEL[4] = "5"; },
                  100,
                  {"005", "014", "023", "032", "041"}},
        CountCase{"NoDiff01",
                  [](ConditionSet& s) {
                      s.SEL[3] = "01";
                      s.CNT[3] = "0";
                  },
                  336,
                  {"024", "025", "026"}},
        CountCase{"SelWithoutCount",
                  [](ConditionSet& s) {
                      s.SEL[0] = "0";
                      s.CNT[0] = "";
                  },
                  1000,
                  {"000"}},
        CountCase{"CountWithoutSel", [](ConditionSet& s) { s.CNT[1] = "0"; }, 1000, {"000"}},
        CountCase{"KillListTrailingSpace", [](ConditionSet& s) { s.KL0 = "123 456 "; }, 998, {}},
        CountCase{"KillListOfOtherSpaceIgnored",
                  [](ConditionSet& s) {
                      s.IDX = 9;
                      s.KL1 = "99999";
                  },
                  1000,
                  {}},
        CountCase{"FanRoute0",
                  [](ConditionSet& s) {
                      s.FAN = true;
                      s.KLU[0] = 1;
                  },
                  64,
                  {"000", "003", "006", "009", "030"}},
        CountCase{"FanNothing", [](ConditionSet& s) { s.FAN = true; }, 0, {}},
        CountCase{"RangeSelection",
                  [](ConditionSet& s) {
                      s.SEL[0] = "1-5";
                      s.CNT[0] = "0";
                  },
                  125,
                  {"000", "006", "007"}}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(Reduction, KillListRemovesExactlyItsNumbers) {
    ConditionSet set;
    set.KL0 = "123 456 ";
    auto r = Reduce(set);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->complement.text(), "123 456");
    EXPECT_EQ(r->base.text().find("123"), std::string::npos);
    EXPECT_NE(r->base.text().find("122 124"), std::string::npos);
    EXPECT_NE(r->base.text().find("455 457"), std::string::npos);
}

TEST(Reduction, KillListPiecesAreReadByValue) {
    ConditionSet set;
    set.KL0 = "0123  7 099";
    auto r = Reduce(set);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->complement.text(), "007 099 123");
    set.IDX = 10;
    set.KL1 = "0123 9999 12";
    r = Reduce(set);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->complement.text(), "0012 0123 9999");
}

// A piece is read by its numeric value: no leading number reads 0, a fraction is rounded
// half to even.
TEST(Reduction, KillListPiecesThatAreNotPlainNumbers) {
    ConditionSet set;
    set.KL0 = "abc 7x 12.5 13.5 20.6 998.4";
    auto r = Reduce(set);
    ASSERT_TRUE(r.ok()) << r.error();
    EXPECT_EQ(r->complement.text(), "000 007 012 014 021 998");
    set.KL0 = "999.5";
    EXPECT_FALSE(Reduce(set).ok());
}

TEST(Reduction, FanSwapsTheSides) {
    ConditionSet set;
    set.DAN[0] = "7";
    auto plain = Reduce(set);
    set.FAN = true;
    auto fan = Reduce(set);
    ASSERT_TRUE(plain.ok() && fan.ok());
    EXPECT_EQ(plain->base.text(), fan->complement.text());
    EXPECT_EQ(plain->complement.text(), fan->base.text());
}

TEST(Reduction, TypedSelectionsNeverFail) {
    const char* typed[] = {"1-5", "5-1", "[",     "]",  "^",    "\\", "a-z",   "-",
                           "1-",  "-9",  "[0-9]", "^1", "\x1e", "０", "1,2;3", "\xff\xfe"};
    for (const char* sel : typed)
        for (int g = 0; g < 5; ++g) {
            ConditionSet set;
            set.SEL[g] = sel;
            auto r = Reduce(set);
            ASSERT_TRUE(r.ok()) << sel;
            EXPECT_EQ(pieces(r->base.text()).size() + pieces(r->complement.text()).size(), 1000u)
                << sel;
        }
    // A range selects the digits it spans.
    ConditionSet range, plain;
    range.SEL[0] = "1-5";
    plain.SEL[0] = "12345";
    EXPECT_EQ(Reduce(range)->base.text(), Reduce(plain)->base.text());
}

struct FailCase {
    int idx;
    const char* kill;
};

class KillListOutsideSpace : public ::testing::TestWithParam<FailCase> {};

TEST_P(KillListOutsideSpace, FailsAndKeepsTheStoredLists) {
    LotteryClass l;
    l.setPositionIndex(GetParam().idx);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.KUA = "0"; });
    auto first = l.GetSuoshuiDadi();
    ASSERT_TRUE(first.ok());
    const std::string dad = l.formSet().DAD.text(), fji = l.formSet().FJI.text();
    ASSERT_FALSE(fji.empty());
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        (GetParam().idx <= 9 ? given.KL0 : given.KL1) = GetParam().kill;
        given.KUA = "";
    });
    auto r = l.GetSuoshuiDadi();
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.error().empty());
    EXPECT_EQ(r.code(), ErrorCode::KillListOutOfSpace);
    // The piece named is the offending one: the last of each case.
    const std::string kill = GetParam().kill;
    const std::size_t end = kill.find_last_not_of(' ');
    EXPECT_EQ(r.failure().subject,
              kill.substr(kill.rfind(' ', end) + 1, end - kill.rfind(' ', end)));
    EXPECT_EQ(l.formSet().DAD.text(), dad);
    EXPECT_EQ(l.formSet().FJI.text(), fji);
}

INSTANTIATE_TEST_SUITE_P(Pieces, KillListOutsideSpace,
                         ::testing::Values(FailCase{0, "1000"}, FailCase{9, "123 1000 "},
                                           FailCase{0, "-1"},
                                           FailCase{0, "99999999999999999999999"},
                                           FailCase{10, "10000"}, FailCase{11, "0001 99999"}));

// ---- random condition sets against the reference filter ----

struct RefNumber {
    std::string text, digits, triple, pairSum, pairDiff, sumTail, span;
};

RefNumber refNumber(int i, bool four) {
    char buf[16];
    std::snprintf(buf, sizeof buf, four ? "%04d" : "%03d", i);
    const std::string s = buf;
    RefNumber n;
    n.text = s;
    n.digits = reftest::digitSet(s);
    n.triple = four ? reftest::tripleSumTails4(s) : reftest::tailOf(reftest::digitSum(s));
    n.pairSum = reftest::pairSumTails(s);
    n.pairDiff = reftest::pairDiffs(s);
    n.sumTail = reftest::tailOf(reftest::digitSum(s));
    n.span = reftest::spanOf(s);
    return n;
}

bool allIn(const std::string& s, const std::string& allowed) {
    return s.find_first_not_of(allowed) == std::string::npos;
}

bool hasPair(const std::string& s) {
    return std::set<char>(s.begin(), s.end()).size() < s.size();
}

int matches(const std::string& attr, const std::string& sel) {
    int n = 0;
    for (char c : attr)
        if (sel.find(c) != std::string::npos) ++n;
    return n;
}

bool allowed(int n, const std::string& counts) {
    return counts.find(char('0' + n)) != std::string::npos;
}

// The reference descriptions of a whole space, made once.
const std::vector<RefNumber>& refSpace(bool four) {
    static const auto make = [](bool f) {
        std::vector<RefNumber> v;
        for (int i = 0; i < (f ? 10000 : 1000); ++i)
            v.push_back(refNumber(i, f));
        return v;
    };
    static const std::vector<RefNumber> three = make(false), fourSpace = make(true);
    return four ? fourSpace : three;
}

ReductionOutput referenceReduce(const ConditionSet& set) {
    const bool four = set.IDX >= 10;
    const int size = four ? 10000 : 1000;
    std::set<int> killed;
    for (const auto& p : pieces(four ? set.KL1 : set.KL0))
        killed.insert(std::stoi(p));
    std::vector<std::string> base, comp;
    for (int i = 0; i < size; ++i) {
        const RefNumber& n = refSpace(four)[std::size_t(i)];
        const std::string* attr[5] = {&n.digits, &n.triple, &n.pairSum, &n.pairDiff, &n.sumTail};
        bool removed = killed.count(i) != 0;
        for (int g = 0; g < 5; ++g)
            if (!set.SEL[g].empty() && !set.CNT[g].empty() &&
                !allowed(matches(*attr[g], set.SEL[g]), set.CNT[g]))
                removed = true;
        for (int b = 0; b < 2; ++b)
            if (!set.DAN[b].empty() &&
                !allowed(matches(n.digits, set.DAN[b]), set.DCC[b].empty() ? "1234" : set.DCC[b]))
                removed = true;
        if (!set.KUA.empty() && set.KUA.find(n.span) != std::string::npos) removed = true;
        if (set.KLU[0] && allIn(n.text, "0369")) removed = true;
        if (set.KLU[1] && allIn(n.text, "147")) removed = true;
        if (set.KLU[2] && allIn(n.text, "258")) removed = true;
        if (set.KLU[3] && hasPair(n.text)) removed = true;
        (removed == set.FAN ? base : comp).push_back(n.text);
    }
    auto join = [](const std::vector<std::string>& v) {
        std::string out;
        for (const auto& s : v)
            out += (out.empty() ? "" : " ") + s;
        return out;
    };
    return {NumberList::read(join(base), four).list, NumberList::read(join(comp), four).list};
}

std::string randomDigits(std::mt19937& rng, const std::string& alphabet, int maxLen) {
    std::uniform_int_distribution<int> len(1, maxLen);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string out;
    for (int k = len(rng); k > 0; --k)
        out.push_back(alphabet[pick(rng)]); // repeats allowed
    return out;
}

ConditionSet randomSet(std::mt19937& rng, bool four) {
    std::bernoulli_distribution often(0.5), sometimes(0.25);
    ConditionSet s;
    s.IDX = four ? 10 + int(rng() % 2) : int(rng() % 10);
    for (int g = 0; g < 5; ++g) {
        if (often(rng)) s.SEL[g] = randomDigits(rng, "0123456789", 6);
        if (sometimes(rng)) s.CNT[g] = often(rng) ? randomDigits(rng, "0123456", 4) : "";
    }
    for (int b = 0; b < 2; ++b) {
        if (sometimes(rng)) s.DAN[b] = randomDigits(rng, "0123456789", 5);
        if (often(rng)) s.DCC[b] = randomDigits(rng, "01234", 3);
    }
    if (sometimes(rng)) s.KUA = randomDigits(rng, "0123456789", 3);
    for (int k = 0; k < 4; ++k)
        s.KLU[std::size_t(k)] = sometimes(rng) ? 1 : 0;
    if (sometimes(rng)) {
        std::string list;
        for (int k = int(rng() % 6); k >= 0; --k) {
            char buf[16];
            const int v = int(rng() % (four ? 10000 : 1000));
            std::snprintf(buf, sizeof buf, often(rng) ? (four ? "%04d" : "%03d") : "%d", v);
            list += buf;
            list += sometimes(rng) ? "  " : " ";
        }
        (four ? s.KL1 : s.KL0) = list;
    }
    s.FAN = sometimes(rng);
    return s;
}

class RandomSets : public ::testing::TestWithParam<bool> {};

TEST_P(RandomSets, MatchReferenceFilter) {
    const bool four = GetParam();
    std::mt19937 rng(four ? 4444 : 3333);
    const int runs = four ? 60 : 300;
    int nonTrivial = 0;
    for (int run = 0; run < runs; ++run) {
        const ConditionSet set = randomSet(rng, four);
        auto got = Reduce(set);
        ASSERT_TRUE(got.ok()) << got.error();
        const ReductionOutput want = referenceReduce(set);
        ASSERT_EQ(got->base.text(), want.base.text()) << "run " << run;
        ASSERT_EQ(got->complement.text(), want.complement.text()) << "run " << run;
        if (!want.base.empty() && !want.complement.empty()) ++nonTrivial;
    }
    // The random sets must exercise real partitions, not only empty or full ones.
    EXPECT_GT(nonTrivial, runs / 4);
}

INSTANTIATE_TEST_SUITE_P(Spaces, RandomSets, ::testing::Values(false, true),
                         [](const auto& instance) { return instance.param ? "Four" : "Three"; });

TEST(Reduction, GetSuoshuiDadiStoresBothSidesAndReturnsTheBase) {
    LotteryClass l;
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.KUA = "0"; });
    auto r = l.GetSuoshuiDadi();
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(*r, l.formSet().DAD.text());
    EXPECT_EQ(l.formSet().FJI.text(), "000 111 222 333 444 555 666 777 888 999");
    EXPECT_EQ(CountNumberList(l.formSet().DAD.text()), 990);
}

} // namespace
} // namespace zuohao

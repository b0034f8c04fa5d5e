// The monitor's rows held in place: order, lookup by period, removal and the 100-row limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/model/MonitorState.h"

namespace zuohao {
namespace {

struct RingCase {
    const char* name;
    std::vector<long long> pushed;  // periods appended in this order
    std::vector<long long> removed; // then removed in this order
    std::vector<long long> held;    // what is held afterwards, oldest first
};

void PrintTo(const RingCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<long long> upTo(long long first, long long last) {
    std::vector<long long> out;
    for (long long p = first; p <= last; ++p)
        out.push_back(p);
    return out;
}

class RowRing : public ::testing::TestWithParam<RingCase> {};

TEST_P(RowRing, HoldsFindsAndRemoves) {
    const RingCase& c = GetParam();
    MonitorRowRing ring;
    for (long long p : c.pushed) {
        MonitorRow row = MonitorRow::placeholder(Period(p));
        row.TOW_yluo = int(p % 1000); // a field to tell the rows apart
        ring.push(row);
    }
    for (long long p : c.removed)
        EXPECT_TRUE(ring.Remove(Period(p))) << p;
    std::vector<long long> held;
    for (const MonitorRow& r : ring)
        held.push_back(r.period.value());
    EXPECT_EQ(held, c.held);
    ASSERT_EQ(ring.Count(), c.held.size());
    for (long long p : c.held) {
        const MonitorRow* r = ring.find(Period(p));
        ASSERT_NE(r, nullptr) << p;
        EXPECT_EQ(r->TOW_yluo, int(p % 1000));
    }
    for (long long p : c.pushed) {
        if (std::find(c.held.begin(), c.held.end(), p) == c.held.end()) {
            EXPECT_EQ(ring.find(Period(p)), nullptr) << p;
        }
    }
    EXPECT_EQ(ring.find(Period(999999)), nullptr);
    EXPECT_FALSE(ring.Remove(Period(999999)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowRing,
    ::testing::Values(RingCase{"Empty", {}, {}, {}}, RingCase{"InOrder", {1, 2, 3}, {}, {1, 2, 3}},
                      RingCase{"OutOfOrderStillFound", {5, 9, 7, 1}, {}, {5, 9, 7, 1}},
                      RingCase{"RemoveMiddleKeepsOrder", {1, 2, 3, 4}, {2}, {1, 3, 4}},
                      RingCase{"RemoveNewestThenLowerFound", {1, 2, 3}, {3}, {1, 2}},
                      RingCase{"RemoveAllOneByOne", {4, 5}, {5, 4}, {}},
                      RingCase{"FullDropsTheOldest", upTo(1, 130), {}, upTo(31, 130)},
                      RingCase{"FullThenRemoveAcrossTheWrap",
                               upTo(1, 150),
                               {60, 149},
                               [] {
                                   auto v = upTo(51, 150);
                                   std::erase(v, 60);
                                   std::erase(v, 149);
                                   return v;
                               }()}),
    [](const auto& i) { return std::string(i.param.name); });

} // namespace
} // namespace zuohao

// The packed store of every processed draw: what goes in comes out as text, in order, found
// by label, whatever form the labels and numbers take.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/model/DrawNumbers.h"

namespace zuohao {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const DrawNumbers& d) {
    Entries out;
    for (const auto& [label, haoma] : d)
        out.emplace_back(label, haoma);
    return out;
}

TEST(DrawNumbers, GivesBackWhatWasAddedInOrderAndFindsIt) {
    const struct {
        const char* name;
        Entries entries; // added in this order
    } cases[] = {
        {"date labels", {{"202612312359", "01234"}, {"202701010001", "99999"}}},
        {"leading zeros", {{"0999", "00000"}, {"1000", "0"}, {"1001", "00012345"}}},
        {"falling labels", {{"1005", "12345"}, {"1003", "54321"}, {"1004", "11111"}}},
        {"odd forms", {{"1", "1 2 3 4 5"}, {"A12", "12345"}, {"12345678901234567890", ""}}},
        {"long number", {{"7", "123456789"}, {"8", "12345678"}}},
    };
    for (const auto& c : cases) {
        DrawNumbers d;
        for (const auto& [label, haoma] : c.entries)
            EXPECT_TRUE(d.Add(label, haoma)) << c.name;
        EXPECT_FALSE(d.Add(c.entries.front().first, "00000")) << c.name << ": held already";
        EXPECT_EQ(entriesOf(d), c.entries) << c.name;
        EXPECT_EQ(d.back(), c.entries.back()) << c.name;
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(d.find(c.entries[i].first), c.entries[i].second) << c.name;
            EXPECT_EQ(d.positionOf(c.entries[i].first), i) << c.name;
        }
        EXPECT_FALSE(d.find("1002").has_value()) << c.name;
        EXPECT_FALSE(d.Exists("01001")) << c.name << ": another label than 1001";
    }
}

// The corrections a rebuild makes: a number replaced in its place, the newest labels removed
// and added again; an unheld label is added by Set.
TEST(DrawNumbers, SetAndRemoveKeepTheOthers) {
    DrawNumbers d;
    for (int l = 1001; l <= 1010; ++l)
        d.Add(std::to_string(l), std::to_string(l * 7 % 100000));
    d.Set("1005", "55555");
    d.Remove("1010");
    d.Remove("1009");
    d.Add("1009", "99999");
    d.Set("1011", "11111");
    EXPECT_EQ(d.Count(), 10u);
    EXPECT_EQ(d.find("1005"), "55555");
    EXPECT_EQ(d.find("1004"), std::to_string(1004 * 7));
    EXPECT_FALSE(d.Exists("1010"));
    EXPECT_EQ(d.at(8), (std::pair<std::string, std::string>{"1009", "99999"}));
    EXPECT_EQ(d.back().first, "1011");
    // Removing the one label out of order makes lookups binary again, and they still agree.
    d.Add("1000", "00001");
    EXPECT_EQ(d.find("1000"), "00001");
    d.Remove("1000");
    for (int l = 1001; l <= 1009; ++l)
        EXPECT_TRUE(d.Exists(std::to_string(l))) << l;
    d.RemoveAll();
    EXPECT_TRUE(d.empty());
    EXPECT_TRUE(d.Add("1005", "1"));
}

} // namespace
} // namespace zuohao

// The ordered dictionary against a plain vector of pairs: random adds, sets, removals of the
// first entry and of entries in the middle keep the same order, lookups and counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/model/OrderedDict.h"

namespace zuohao {
namespace {

using Reference = std::vector<std::pair<std::string, int>>;

auto findIn(Reference& ref, const std::string& key) {
    return std::find_if(ref.begin(), ref.end(), [&](const auto& e) { return e.first == key; });
}

void expectSame(const OrderedDict<int>& dict, const Reference& ref) {
    ASSERT_EQ(dict.Count(), ref.size());
    ASSERT_TRUE(std::equal(dict.begin(), dict.end(), ref.begin(), ref.end()));
    for (std::size_t i = 0; i < ref.size(); ++i) {
        ASSERT_EQ(dict.at(i), ref[i]);
        const int* v = dict.find(ref[i].first);
        ASSERT_TRUE(v && *v == ref[i].second) << ref[i].first;
    }
}

TEST(OrderedDict, RandomOperationsMatchAPlainList) {
    // A small key space makes collisions, repeated keys and long probe runs common.
    for (const int keySpace : {8, 60, 3000}) {
        std::mt19937 rng{unsigned(keySpace)};
        OrderedDict<int> dict;
        Reference ref;
        for (int step = 0; step < 20000; ++step) {
            const std::string key = "2026" + std::to_string(rng() % unsigned(keySpace));
            const int value = int(rng() % 1000);
            switch (rng() % 6) {
            case 0:
            case 1: {
                const bool isNew = findIn(ref, key) == ref.end();
                ASSERT_EQ(dict.Add(key, value), isNew);
                if (isNew) ref.emplace_back(key, value);
                break;
            }
            case 2:
                dict.Set(key, value);
                if (auto it = findIn(ref, key); it != ref.end())
                    it->second = value;
                else
                    ref.emplace_back(key, value);
                break;
            case 3:
                dict.Remove(key);
                if (auto it = findIn(ref, key); it != ref.end()) ref.erase(it);
                break;
            case 4:
                if (!ref.empty()) {
                    dict.RemoveFirst();
                    ref.erase(ref.begin());
                }
                break;
            default:
                EXPECT_EQ(dict.Exists(key), findIn(ref, key) != ref.end()) << key;
                EXPECT_EQ(dict.Item(key),
                          findIn(ref, key) == ref.end() ? 0 : findIn(ref, key)->second);
            }
            if (step % 97 == 0) expectSame(dict, ref);
        }
        expectSame(dict, ref);
        dict.RemoveAll();
        EXPECT_TRUE(dict.empty());
        EXPECT_FALSE(dict.Exists("20261"));
    }
}

TEST(OrderedDict, ASlidingWindowKeepsTheNewestAndReferencesToThem) {
    OrderedDict<int> dict;
    for (int i = 0; i < 5000; ++i) {
        dict.Add(std::to_string(202600000000LL + i), i);
        if (dict.Count() > 300) dict.RemoveFirst();
    }
    const int* newest = dict.find("202600004999");
    ASSERT_TRUE(newest);
    for (int i = 5000; i < 5200; ++i) {
        dict.Add(std::to_string(202600000000LL + i), i);
        dict.RemoveFirst();
    }
    EXPECT_EQ(*newest, 4999); // still the same entry after adds at the end and removals in front
    EXPECT_EQ(dict.front().second, 4900);
    EXPECT_FALSE(dict.Exists("202600004899"));
    EXPECT_EQ(dict.Count(), 300u);
}

} // namespace
} // namespace zuohao

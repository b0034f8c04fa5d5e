// Number lists: a set's text, count and text search agree with the list written out, on either
// side of the set and in both spaces; a typed text is read once into a set.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/model/NumberList.h"
#include "core/model/Text.h"

namespace zuohao {
namespace {

TEST(NumberList, ASetReadsAsItsListWrittenOut) {
    std::mt19937 rng(18);
    for (const bool four : {false, true})
        for (const double density : {0.0, 0.003, 0.5, 1.0}) {
            auto set = std::make_shared<NumberSet>(four);
            std::string in, out; // the set's numbers and the others, written out by hand
            for (int n = 0; n < set->spaceSize(); ++n) {
                char buf[8];
                std::snprintf(buf, sizeof buf, four ? "%04d" : "%03d", n);
                const bool held = std::bernoulli_distribution(density)(rng);
                if (held) set->add(n);
                std::string& side = held ? in : out;
                side += (side.empty() ? "" : " ") + std::string(buf);
            }
            for (const bool complement : {false, true}) {
                const NumberList list(set, complement);
                const std::string& want = complement ? out : in;
                ASSERT_EQ(list.text(), want) << four << density << complement;
                EXPECT_EQ(list.count(), CountNumberList(want));
                EXPECT_EQ(list.empty(), want.empty());
                for (const char* piece : {"0123", "123", "999", "9999", "000", "12", "", "001 0"})
                    EXPECT_EQ(list.containsText(piece), want.find(piece) != std::string::npos)
                        << piece << " " << four << density << complement;
            }
        }
}

// Position numbers against a base set: what a search in the list's text finds, by bit tests.
TEST(NumberList, AHitIsExactlyWhatTheListTextHolds) {
    const struct {
        const char* base;
        const char* numbers;
        bool hit;
    } cases[] = {
        {"123 456", "123", true},    {"123 456", "456", true},    {"123 456", "234", false},
        {"123 456", "1234", false},  {"123 456", "0123", false},  {"0123 4567", "0123", true},
        {"0123 4567", "123", true},  {"0123 4567", "012", true},  {"0123 4567", "567", true},
        {"0123 4567", "234", false}, {"0123 4567", "345", false}, {"0123 4567", "4568", false},
        {"9990", "999", true},       {"0999", "999", true},       {"", "123", false},
    };
    for (const auto& c : cases) {
        const NumberList list = NumberList::read(c.base, false).list;
        EXPECT_EQ(list.containsText(c.numbers), c.hit) << c.base << " / " << c.numbers;
        EXPECT_EQ(std::string(c.base).find(c.numbers) != std::string::npos, c.hit) << c.base;
    }
}

// A typed list is read once: numbers of the first number's width, ascending; the rest is
// counted for the player's note.
TEST(NumberList, ATypedListIsReadOnceAndItsBadPiecesCounted) {
    const struct {
        const char* text;
        bool four; // the space without a number to go by
        const char* kept;
        int unreadable, repeated;
        bool fourDigit;
    } cases[] = {
        {"123 456", false, "123 456", 0, 0, false},
        {" 456  123\n789\t", false, "123 456 789", 0, 0, false},
        {"123 45 x12 1234 123", false, "123", 3, 1, false},
        {"0123 456 9999", false, "0123 9999", 1, 0, true},
        {"12345 678", true, "678", 1, 0, false}, // 234 of 12345 is no longer a hit
        {"ab cd", true, "", 2, 0, true},
        {"", false, "", 0, 0, false},
    };
    for (const auto& c : cases) {
        const NumberListRead r = NumberList::read(c.text, c.four);
        EXPECT_EQ(r.list.text(), c.kept) << c.text;
        EXPECT_EQ(r.list.count(), CountNumberList(c.kept)) << c.text;
        EXPECT_EQ(r.unreadable, c.unreadable) << c.text;
        EXPECT_EQ(r.repeated, c.repeated) << c.text;
        EXPECT_EQ(r.list.fourDigit(), c.fourDigit) << c.text;
    }
    EXPECT_TRUE(NumberList().empty());
    EXPECT_EQ(NumberList::read("456 123", false).list, NumberList::read("123 456", false).list);
    EXPECT_FALSE(NumberList::read("123", false).list == NumberList::read("0123", false).list);
}

} // namespace
} // namespace zuohao

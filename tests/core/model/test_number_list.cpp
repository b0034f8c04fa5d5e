// Number lists: a set's text, count and text search agree with the list written out, on either
// side of the set and in both spaces; a typed text is kept as typed.
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

TEST(NumberList, ATypedTextStaysAsTyped) {
    const NumberList typed(std::string(" 123  4567 x"));
    EXPECT_EQ(typed.text(), " 123  4567 x");
    EXPECT_EQ(typed.count(), 3);
    EXPECT_TRUE(typed.containsText("45"));
    EXPECT_TRUE(NumberList().empty());
}

} // namespace
} // namespace zuohao

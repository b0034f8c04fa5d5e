// The first-line filter of kill lists: the first line counts whatever line end the text
// carries (a Windows clipboard, a Linux clipboard, an old Mac text or Enter in the box).
#include <gtest/gtest.h>

#include "core/making/KillList.h"

using zuohao::NumberLineFilter;

TEST(KillList, FirstLineIsCutAtAnyLineEnd) {
    struct Case {
        const char* text;
        const char* width;
        const char* expected;
    };
    const Case cases[] = {
        {"123 456\r\n789 012", "3", "123 456"},
        {"123 456\n789 012", "3", "123 456"},
        {"123 456\r789 012", "3", "123 456"},
        {"123 456\n", "3", "123 456"}, // Enter at the end of a valid list
        {"1234 567\n89", "3,4", "1234 567"},
        {"123 45\n789", "3", ""}, // the first line decides
        {"\n123 456", "3", ""},   // an empty first line is no list
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberLineFilter(c.text, c.width), c.expected) << c.text;
}

// The number tables: literal examples, edge records and a brute-force cross-check of every
// field of every record.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/model/NumberTables.h"
#include "support_ref_features.h"

namespace zuohao {
namespace {

struct RecordCase {
    int index;
    InfoField field;
    const char* expected;
};

class RecordLiteral : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordLiteral, FieldReadsAsText) {
    const auto& c = GetParam();
    EXPECT_EQ(NumberInfo(c.index, c.field), c.expected);
}

// Record 135 (0135) in full; record 9999; record 0; record 1000.
INSTANTIATE_TEST_SUITE_P(
    Examples, RecordLiteral,
    ::testing::Values(
        RecordCase{135, InfoField::SumTail, "9"}, RecordCase{135, InfoField::Digits4, "0135"},
        RecordCase{135, InfoField::PairSums3, "468"}, RecordCase{135, InfoField::SumTail3, "9"},
        RecordCase{135, InfoField::TripleSums4, "4689"},
        RecordCase{135, InfoField::PairDiffs3, "24"},
        RecordCase{135, InfoField::PairSums4, "134568"},
        RecordCase{135, InfoField::PairDiffs4, "12345"}, RecordCase{135, InfoField::Digits3, "135"},
        RecordCase{135, InfoField::Span3, "4"}, RecordCase{135, InfoField::Span4, "5"},
        RecordCase{9999, InfoField::SumTail, "6"}, RecordCase{9999, InfoField::PairSums3, "8"},
        RecordCase{9999, InfoField::PairDiffs3, "0"}, RecordCase{9999, InfoField::TripleSums4, "7"},
        RecordCase{9999, InfoField::Span4, "0"}, RecordCase{1000, InfoField::Digits4, "01"},
        RecordCase{1000, InfoField::Digits3, "0"}, RecordCase{1000, InfoField::Span3, "0"},
        RecordCase{1000, InfoField::Span4, "1"}, RecordCase{1000, InfoField::PairSums4, "01"},
        RecordCase{1000, InfoField::PairDiffs4, "01"}));

TEST(NumberTables, RecordZeroHasEveryFieldZero) {
    for (int f = 0; f < int(InfoField::Count); ++f)
        EXPECT_EQ(NumberInfo(0, InfoField(f)), "0") << "field " << f;
}

TEST(NumberTables, NumberTextsKeepLeadingZeros) {
    EXPECT_EQ(FourDigitNumbers(7), "0007");
    EXPECT_EQ(ThreeDigitNumbers(7), "007");
    EXPECT_EQ(FourDigitNumbers(42), "0042");
    EXPECT_EQ(ThreeDigitNumbers(42), "042");
    EXPECT_EQ(FourDigitNumbers(0), "0000");
    EXPECT_EQ(FourDigitNumbers(9999), "9999");
    EXPECT_EQ(ThreeDigitNumbers(999), "999");
}

TEST(NumberTables, EveryNumberTextMatchesPrintf) {
    char buf[16];
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(buf, sizeof buf, "%04d", i);
        ASSERT_EQ(FourDigitNumbers(i), buf) << i;
        if (i < 1000) {
            std::snprintf(buf, sizeof buf, "%03d", i);
            ASSERT_EQ(ThreeDigitNumbers(i), buf) << i;
        }
    }
}

// Every field of every record against the reference written from the definitions.
TEST(NumberTables, EveryRecordMatchesBruteForce) {
    using namespace reftest;
    char buf[16];
    int checked = 0;
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(buf, sizeof buf, "%04d", i);
        const std::string s4 = buf, s3 = s4.substr(1);
        const auto expect = [&](InfoField f, const std::string& want) {
            ASSERT_EQ(NumberInfo(i, f), want) << "record " << s4 << " field " << int(f);
            ++checked;
        };
        expect(InfoField::SumTail, tailOf(digitSum(s4)));
        expect(InfoField::Digits4, digitSet(s4));
        expect(InfoField::PairSums3, pairSumTails(s3));
        expect(InfoField::SumTail3, tailOf(digitSum(s3)));
        expect(InfoField::TripleSums4, tripleSumTails4(s4));
        expect(InfoField::PairDiffs3, pairDiffs(s3));
        expect(InfoField::PairSums4, pairSumTails(s4));
        expect(InfoField::PairDiffs4, pairDiffs(s4));
        expect(InfoField::Digits3, digitSet(s3));
        expect(InfoField::Span3, spanOf(s3));
        expect(InfoField::Span4, spanOf(s4));
    }
    EXPECT_EQ(checked, 10000 * 11);
}

// The digit masks of a record say the same as its texts.
TEST(NumberTables, MasksAgreeWithTexts) {
    for (int i = 0; i < 10000; ++i)
        for (int f = 0; f < int(InfoField::Count); ++f)
            ASSERT_EQ(MaskDigits(NumberTables::instance().infoMask(i, InfoField(f))),
                      NumberInfo(i, InfoField(f)))
                << i << " field " << f;
}

// A three-digit number uses the record of its four-digit form 0xyz; the leading zero
// changes no four-digit sum, so SumTail equals SumTail3 for every v < 1000.
TEST(NumberTables, ThreeDigitRecordsShareSumTail) {
    for (int v = 0; v < 1000; ++v)
        ASSERT_EQ(NumberInfo(v, InfoField::SumTail), NumberInfo(v, InfoField::SumTail3)) << v;
}

struct DistinctCase {
    const char* text;
    const char* expected;
};

class DistinctDigitsCase : public ::testing::TestWithParam<DistinctCase> {};

TEST_P(DistinctDigitsCase, AscendingEachOnce) {
    EXPECT_EQ(DistinctDigits(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, DistinctDigitsCase,
                         ::testing::Values(DistinctCase{"", ""}, DistinctCase{"abc", ""},
                                           DistinctCase{"353", "35"},
                                           DistinctCase{"9081726354", "0123456789"},
                                           DistinctCase{"\x1e"
                                                        "7 x7-2",
                                                        "27"},
                                           DistinctCase{"1-5", "15"}, DistinctCase{"0000", "0"}));

TEST(NumberTables, BuildingTwiceChangesNothing) {
    const auto* before = &NumberTables::instance();
    BuildNumberTables();
    BuildNumberTables();
    EXPECT_EQ(before, &NumberTables::instance());
    EXPECT_EQ(NumberInfo(135, InfoField::PairSums4), "134568");
}

} // namespace
} // namespace zuohao

#pragma once
// Period labels as numbers. A label's value is its leading decimal digits. A value shaped
// yyyymmddNNNN (a real date, NNNN from 0001 to 1440) is a date label: a minute lottery's day
// ends with period 1440 and the next day starts at 0001. Other values simply count by one.
#include <cstdint>
#include <string>
#include <string_view>

namespace zuohao {

inline constexpr int kPeriodsPerDay = 1440; // a minute lottery draws 1,440 times a day
// A period: the label's numeric value, parsed once where a label comes in and rendered once
// where one goes out. Two labels that differ only in leading zeros (0931, 931) are one period.
class Period {
public:
    constexpr Period() = default;
    constexpr explicit Period(std::int64_t value) : m_value(value) {}
    // The label's leading decimal digits (blanks before them skipped), 0 without any.
    static Period parse(std::string_view label);

    constexpr std::int64_t value() const { return m_value; }
    // A date label yyyymmddNNNN.
    bool isDate() const;
    // Of a date label its day as yyyy-mm-dd and its number in the day (1 to 1440); empty
    // and 0 for other periods.
    std::string day() const;
    int numberInDay() const;
    // The period that follows: across midnight for a date label, by one otherwise.
    Period next() const;
    // The decimal text of the value (the key the monitor files a period under).
    std::string text() const;

    constexpr auto operator<=>(const Period&) const = default;

private:
    std::int64_t m_value = 0;
};

// The key of a label: Period::parse(label).text(), so that 0931 and 931 are one period.
std::string PeriodKey(std::string_view label);

// Labels within this band may be date-shaped (yyyymmddNNNN); others never are.
inline constexpr std::int64_t kDateBandLow = 190001010001;
inline constexpr std::int64_t kDateBandHigh = 299912311440;

// The numeric value of a label: its leading decimal digits (at most 18), 0 without any.
std::int64_t PeriodValue(std::string_view qishu);
// True for a date label yyyymmddNNNN.
bool IsDatePeriod(std::int64_t value);
// How many periods `later` comes after `earlier` (1 for the next one; 0 or less when it does
// not come after): across midnight for two date labels, by plain difference otherwise.
std::int64_t PeriodSteps(std::int64_t earlier, std::int64_t later);
// The period that follows a value.
std::int64_t NextPeriodValue(std::int64_t value);
// The label that follows a label, as plain decimal text ("202612081440" -> "202612090001").
std::string NextLabelText(std::string_view label);
// Periods strictly between two periods (0 for neighbours and for a later-before-earlier pair).
std::int64_t PeriodsBetweenValues(std::int64_t earlier, std::int64_t later);
std::int64_t PeriodsBetween(std::string_view earlier, std::string_view later);
// The date of a date label as yyyy-mm-dd, or empty.
std::string DayOfPeriod(std::int64_t period);
std::string DayOfLabel(std::string_view qishu);
// The first and last period values of a day (yyyy-mm-dd); false for a malformed day.
bool DayPeriodRange(const std::string& day, std::int64_t& first, std::int64_t& last);

} // namespace zuohao

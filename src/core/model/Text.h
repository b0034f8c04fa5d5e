#pragma once
// Text helpers shared by the engine: the numeric value of a text, decimal texts,
// number lists and UTF-8 character counts.
#include <string>
#include <string_view>
#include <vector>

namespace zuohao {

// The decimal number at the start of a text (leading blanks skipped, an optional sign,
// digits, an optional fraction); 0 when the text does not start with a number.
double NumericValue(std::string_view text);

// True when the text starts (after blanks and a sign) with a digit.
bool HasNumericPrefix(std::string_view text);

// Plain decimal text of a value: integers without a fraction or exponent.
std::string DecimalText(double value);

// Round half to even, as the players' settings have always been rounded.
long long RoundHalfEven(double value);

// Pieces of a text split at single spaces, empty pieces dropped.
std::vector<std::string_view> SplitNumberList(std::string_view list);

// Count (注) of a number list: the non-empty pieces between single spaces.
int CountNumberList(std::string_view list);

// Length of the well-formed UTF-8 sequence that starts at `at` (1 to 4), or 0 when the bytes
// there are no such sequence (a stray, overlong, surrogate or cut-off sequence). The one UTF-8
// decoder of the engine: every UTF-8 test below is built on it.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// True when every byte of the text belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

// Number of characters (code points) of a UTF-8 text; invalid bytes count one each.
std::size_t Utf8Length(std::string_view text);

// Removes every occurrence of a character.
std::string RemoveChar(std::string_view text, char c);

// Trims ASCII spaces at both ends.
std::string_view TrimSpaces(std::string_view text);

// Replaces every occurrence of `from` with `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace zuohao

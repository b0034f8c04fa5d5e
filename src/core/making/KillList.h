#pragma once
// Kill lists (杀号): what a pasted, typed or read text must look like to be accepted, and
// the three-digit list turned into four-digit numbers.
#include <array>
#include <string>
#include <string_view>

namespace zuohao {

// The first line of a text when it consists only of numbers of the given width ("3" or
// "3,4"), each optionally followed by one space; otherwise empty. A text of two characters
// or fewer is refused. NUL characters are dropped and spaces trimmed first.
std::string NumberLineFilter(std::string_view text, std::string_view width);

// The lines after the first that hold more than blanks: what NumberLineFilter leaves out
// (CR LF, LF and CR each end a line).
int LinesLeftOut(std::string_view text);

// The width kill list k accepts: "3" for the three-digit list (k = 0), "3,4" for the
// four-digit one (k = 1), whose three-digit numbers are widened.
inline const char* KillListWidth(int k) {
    return k == 0 ? "3" : "3,4";
}

// True when the text is made only of numbers of `digits` digits, each optionally followed
// by one space (and is not empty). Runs of digits without spaces (123456) are refused: such
// a piece names no number.
bool IsNumberList(std::string_view text, int digits);

// Three-digit numbers turned into four-digit ones: mode 0 puts each digit 0-9 in front
// (前四星), mode 1 behind (后四星). A list already of four-digit numbers is returned as it is.
std::string ExpandToFour(std::string_view text, int mode);

// The accepted kill texts of the two panels.
struct KillTexts {
    std::string three;               // KillText3
    std::array<std::string, 3> four; // KillText4: 前四星 form, 后四星 form, as accepted
};

// Validates a kill-list text for panel k (0 three-digit, 1 four-digit) and stores it.
void AcceptKillList(KillTexts& texts, std::string_view text, int k);

// The condition-set keys the two kill lists are stored under.
inline constexpr std::array<const char*, 2> kKillListKeys = {"KL0", "KL1"};

// The text kill list k shows and stores for position group `wei`: the four-digit list keeps a
// form for 前四星 (10) and 后四星 (11), and the list as accepted for the rest.
std::string KillTextFor(const KillTexts& texts, int k, int wei);

// The selection group each extra-digit box (Texthwnd3 0, 1, 2) merges its digits into.
inline constexpr std::array<int, 3> kExtraDigitGroups = {4, 0, 1};

// The distinct digits of two texts together, ascending (a non-digit counts as 0).
std::string MergeDigits(std::string_view a, std::string_view b);

} // namespace zuohao

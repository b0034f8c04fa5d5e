// The help texts of zuohao-cli, rendered from the command table.
#include "cli/Help.h"

#include <set>

#include "core/model/GridLayout.h"
#include "core/model/Groups.h"

#ifndef ZUOHAO_VERSION
#define ZUOHAO_VERSION "unknown"
#endif

namespace zuohao::cli {

namespace {

constexpr std::size_t kLineWidth = 79;
constexpr std::size_t kOptionColumn = 22; // where an option's text starts
constexpr std::string_view kProgram = "zuohao-cli";

// Columns a text takes on a terminal: CJK characters (three UTF-8 bytes here) take two.
std::size_t displayWidth(std::string_view s) {
    std::size_t w = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        w += len >= 3 ? 2 : 1;
        i += len;
    }
    return w;
}

std::string padTo(std::string s, std::size_t width) {
    const std::size_t w = displayWidth(s);
    if (w < width) s.append(width - w, ' ');
    return s;
}

// Units of a text for wrapping: words, and with `keepGroups` a bracketed or parenthesised
// group such as "[--idx N]" as one unit. Leading spaces are kept in front of the first unit.
std::vector<std::string> unitsOf(std::string_view text, bool keepGroups) {
    std::vector<std::string> units;
    std::string unit;
    int depth = 0;
    for (char c : text) {
        if ((c == ' ' || c == '\n') && depth == 0) {
            if (!unit.empty() && unit.find_first_not_of(' ') != std::string::npos) {
                units.push_back(unit);
                unit.clear();
            } else if (units.empty() && c == ' ') {
                unit += c; // leading indentation
            }
            continue;
        }
        if (keepGroups) depth += (c == '[' || c == '(') - (c == ']' || c == ')');
        unit += c;
    }
    if (!unit.empty()) units.push_back(unit);
    return units;
}

// `text` wrapped into lines of at most kLineWidth columns; the first line continues after
// `firstUsed` columns already written, the others start with `indent` spaces.
std::string wrap(std::string_view text, std::size_t indent, std::size_t firstUsed,
                 bool keepGroups = false) {
    std::string out;
    std::size_t column = firstUsed;
    bool lineStart = true;
    for (const std::string& unit : unitsOf(text, keepGroups)) {
        const std::size_t w = displayWidth(unit);
        if (!lineStart && column + 1 + w > kLineWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += unit;
        column += w;
        lineStart = false;
    }
    return out + "\n";
}

bool hasJson(const CommandHelp& c) {
    for (const OptionHelp& o : c.options)
        if (o.name == "--json") return true;
    return false;
}

// The synopsis, wrapped; continuation lines start at `indent`. No final line break.
std::string synopsisOf(const CommandHelp& c, std::size_t indent) {
    std::string text(c.synopsis);
    if (hasJson(c)) text += text.empty() ? "[--json]" : " [--json]";
    std::string s = wrap(text, indent, indent, true);
    s.pop_back();
    return s;
}

std::string optionLine(std::string_view name, std::string_view value, std::string_view text) {
    std::string head = "  " + std::string(name);
    if (!value.empty()) head += " " + std::string(value);
    if (head.size() + 2 > kOptionColumn)
        return head + "\n" + std::string(kOptionColumn, ' ') +
               wrap(text, kOptionColumn, kOptionColumn);
    return padTo(head, kOptionColumn) + wrap(text, kOptionColumn, kOptionColumn);
}

std::string groupsTopic() {
    std::string s = "position groups (--idx, --group):\n";
    for (int g = 0; g < kGroupCount; ++g) {
        std::string cell =
            (g < 10 ? "   " : "  ") + std::to_string(g) + " " + std::string(GroupName(g));
        s += g % 6 == 5 || g == kGroupCount - 1 ? cell + "\n" : padTo(cell, 13);
    }
    return s + "  0-9 take three digits of a draw (numbers 000-999), 10 and 11 four (0000-9999).\n";
}

std::string conditionsTopic() {
    return "conditions:\n" +
           wrap("  selection groups G (--sel, --cnt): 0 the digits, 1 the three-digit sum tails "
                "(任三码合), 2 the pair-sum tails (任二码合), 3 the pair differences (任二码差), "
                "4 the sum tail (和尾); a number stays when the count of its values of that kind "
                "among DIGITS is one of COUNTS.",
                2, 0) +
           wrap("  banker groups G (--dan, --dcc): 0 and 1; a number stays when it holds a count "
                "of the banker digits that is one of COUNTS.",
                2, 0) +
           wrap("  routes (--route R): 0 全0路 removes the numbers whose digits are all 0, 3, 6 "
                "or 9; 1 全1路 all 1, 4 or 7; 2 全2路 all 2, 5 or 8; 3 杀对子 the numbers with two "
                "equal digits.",
                2, 0);
}

// The five statistics blocks as the window's grid heads them, and what they count.
struct BlockText {
    std::string_view title;
    std::string_view digits; // what the digit columns hold
    std::string_view key;    // the draw columns' statistic; empty for the last block
};
constexpr BlockText kBlocks[kBlockCount] = {
    {"10期冷热", "the group's digits by count over the last 10 draws, most first", "STR"},
    {"任三码合走势", "misses of the three-digit sum tail by digit", "R3H"},
    {"任二码合走势", "misses of the pair-sum tails by digit", "REH"},
    {"任二码差走势", "misses of the pair differences by digit", "REC"},
    {"和尾走势", "misses of the sum tail by digit", ""},
};

std::string checkName(int block, int place) {
    if (IsDrawBoxPlace(place)) return "draw" + std::to_string(place - kDigitPlaces + 1);
    if (block != 0) return std::to_string(place);
    constexpr int kHot = 3, kWarm = 7; // ranks 1-3 are hot, 4-7 warm, 8-10 cold
    const int rank = place + 1;
    return (rank <= kHot ? "热码" : rank <= kWarm ? "温码" : "冷码") + std::to_string(rank);
}

// Cells "I NAME" in rows under a heading; a new row where the draw checks begin.
std::string checkRows(int block) {
    std::vector<std::string> cells;
    std::size_t width = 0;
    for (int place = 0; place < BlockPlaces(block); ++place) {
        const int check = CheckOf(block, place);
        cells.push_back((check < 10 ? " " : "") + std::to_string(check) + " " +
                        checkName(block, place));
        width = std::max(width, displayWidth(cells.back()) + 2);
    }
    std::string s, line;
    for (int place = 0; place < BlockPlaces(block); ++place) {
        if (!line.empty() &&
            (4 + displayWidth(line) + width > kLineWidth || place == kDigitPlaces)) {
            s += "    " + line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
            line.clear();
        }
        line += padTo(cells[std::size_t(place)], width);
    }
    return s + "    " + line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
}

std::string checksTopic() {
    std::string s =
        "selection checks (--check I, 0-" + std::to_string(kStatColumns - 1) + "):\n" +
        wrap("  check I stands over statistics column I+3 of the window's grid and adds digits "
             "to the selection of its group I/14. 热码/温码/冷码 N: the digit of rank N over the "
             "last 10 draws; 0-9: that digit; drawN: the group's value in the N-th newest draw.",
             2, 0);
    for (int b = 0; b < kBlockCount; ++b) {
        s += wrap("  group " + std::to_string(b) + ", " + std::string(kBlocks[b].title) + " (" +
                      std::string(kBlocks[b].digits) +
                      (kBlocks[b].key.empty() ? "" : "; drawN: " + std::string(kBlocks[b].key)) +
                      "):",
                  4, 0) +
             checkRows(b);
    }
    return s;
}

std::string statsColumnsTopic() {
    std::string s = "statistics columns (column C stands under selection check C-3):\n";
    for (int b = 0; b < kBlockCount; ++b) {
        const int first = BlockStart(b), last = first + BlockPlaces(b) - 1;
        const int digitsEnd = first + kDigitPlaces - 1;
        std::string text = std::string(kBlocks[b].title) + ": " + std::to_string(first) + "-" +
                           std::to_string(digitsEnd) + " " + std::string(kBlocks[b].digits);
        if (b == 0) text += " (3-5 热码, 6-9 温码, 10-12 冷码)";
        if (!kBlocks[b].key.empty())
            text += "; " + std::to_string(digitsEnd + 1) + "-" + std::to_string(last) + " " +
                    std::string(kBlocks[b].key) + " against the 1st-4th previous draw";
        const std::string range = std::to_string(first) + "-" + std::to_string(last);
        s += padTo("  " + range, 9) + wrap(text, 9, 9);
    }
    return s + wrap("  A cell *D is a hit (D the digit, or 0-3 for the previous draws); a number "
                    "counts the draws since the last hit; cells stay empty until enough draws "
                    "precede (the miss and hot columns from the 12th draw on).",
                    2, 0);
}

std::string drawInputTopic() {
    return "draw input:\n" +
           wrap("  A draw file (--draws) is read as the desktop program reads it: newest first, "
                "the last two runs of digits of a line are the period and the number (第"
                "202612080931期 开奖号码 12345), only the first 99 lines, UTF-8 or GB18030. A "
                "sequence file (--sequence) holds PERIOD NUMBER on every line, oldest first. "
                "The archive (--archive PATH) gives the draws of one lottery, oldest first: "
                "腾讯分分彩, or the one --lottery NAME names (`zuohao-cli archive info` lists "
                "the lotteries an archive holds).",
                2, 0);
}

std::string topicText(Topic t) {
    switch (t) {
    case Topic::Groups:
        return groupsTopic();
    case Topic::Conditions:
        return conditionsTopic();
    case Topic::Checks:
        return checksTopic();
    case Topic::StatsColumns:
        return statsColumnsTopic();
    case Topic::DrawInput:
        return drawInputTopic();
    }
    return {};
}

std::string exitStatusText() {
    return "exit status:\n"
           "  0  success\n"
           "  1  the work failed: no draws in the input, a failed reduction, a file that\n"
           "     cannot be read or written, an archive that cannot be opened\n"
           "  2  a usage error: an unknown option, a missing or malformed value, a lottery\n"
           "     the archive does not hold\n";
}

std::string commandLine(const CommandHelp& c) {
    const std::string head = "  " + padTo(std::string(c.name), 16); // two spaces at least
    return head + synopsisOf(c, head.size()) + "\n";
}

} // namespace

std::string CommandHelpText(const CommandHelp& c) {
    const std::string head = "usage: " + std::string(kProgram) + " " + std::string(c.name) + " ";
    std::string s = head + synopsisOf(c, head.size()) + "\n\n" + wrap(c.summary, 0, 0) + "\n";
    s += "options:\n";
    for (const OptionHelp& o : c.options)
        s += optionLine(o.name, o.value, o.text);
    s += optionLine("-h, --help", "", "show this help") + "\n";
    for (Topic t : c.topics)
        s += topicText(t) + "\n";
    s += "example:\n  " + std::string(c.example) + "\n\n";
    if (!c.exitStatus.empty()) return s + "exit status:\n" + std::string(c.exitStatus);
    return s + exitStatusText();
}

std::string FamilySubcommands(std::string_view family) {
    std::string names;
    for (const CommandHelp& c : CommandTable())
        if (c.name.substr(0, family.size() + 1) == std::string(family) + " ")
            names += (names.empty() ? "" : "|") + std::string(c.name.substr(family.size() + 1));
    return names;
}

std::string FamilyHelpText(std::string_view family) {
    std::string s = "usage: " + std::string(kProgram) + " " + std::string(family) + " " +
                    FamilySubcommands(family) + " [options]\n\n";
    for (const CommandHelp& c : CommandTable())
        if (c.name.substr(0, family.size() + 1) == std::string(family) + " ") s += commandLine(c);
    return s + "\n" +
           wrap("Every " + std::string(family) +
                    " command takes --archive PATH (default: "
                    "draws.sqlite in the user's data folder) and --lottery NAME (default "
                    "腾讯分分彩; info: every lottery the archive holds). A lottery the archive "
                    "does not hold is a usage error, except for an import, which starts it. "
                    "`zuohao-cli " +
                    std::string(family) + " COMMAND --help` tells more.",
                0, 0);
}

std::string OverallHelpText() {
    std::string names;
    std::set<std::string, std::less<>> seen;
    for (const CommandHelp& c : CommandTable()) {
        const std::string first(c.name.substr(0, c.name.find(' ')));
        if (seen.insert(first).second) names += (names.empty() ? "" : "|") + first;
    }
    std::string s = "usage: " + std::string(kProgram) + " " + names + " [options]\n\n" +
                    wrap("The command-line tool of zuohao (做号计划): reduces the number space "
                         "to a base set, computes the statistics of a draw file, replays a plan "
                         "or the monitor over it, writes a draw file like a betting program's, "
                         "keeps the draw archive and measures how a plan does.",
                         0, 0) +
                    "\ncommands:\n";
    for (const CommandHelp& c : CommandTable())
        s += commandLine(c);
    s += "\n" +
         wrap("[conditions] are the options of reduce. `zuohao-cli COMMAND --help` shows a "
              "command's options, what its numbers mean and an example.",
              0, 0) +
         "\noptions:\n" + optionLine("-h, --help", "", "show this help") +
         optionLine("--help-all", "", "the help of every command (the text of the manual page)") +
         optionLine("--version", "", "show the version") +
         optionLine("--bash-completion", "", "print a bash completion script for zuohao-cli") +
         "\n";
    return s + exitStatusText();
}

std::string FullHelpText() {
    std::string s = OverallHelpText();
    std::set<std::string, std::less<>> families;
    for (const CommandHelp& c : CommandTable()) {
        const std::string first(c.name.substr(0, c.name.find(' ')));
        if (first != c.name && families.insert(first).second) s += "\n" + FamilyHelpText(first);
        s += "\n" + CommandHelpText(c);
    }
    return s;
}

std::string VersionText() {
    return std::string(kProgram) + " " + ZUOHAO_VERSION + "\n";
}

std::string SeeHelpLine(std::string_view command) {
    return "see `" + std::string(kProgram) + (command.empty() ? "" : " ") + std::string(command) +
           " --help`";
}

} // namespace zuohao::cli

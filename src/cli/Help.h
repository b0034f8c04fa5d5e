#pragma once
// The commands of zuohao-cli in one table: name, synopsis, options with what they mean, the
// meanings of their numbers, an example and the function that runs it. The usage, each
// command's --help, the manual page (--help-all) and the bash completion are all rendered
// from this table, and each command's options are parsed by it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zuohao::cli {

class Args;

// The exit codes of every command.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1; // the work failed: no draws, a failed reduction, ...
inline constexpr int kExitUsage = 2;  // a usage error

struct OptionHelp {
    std::string_view name;  // "--idx"
    std::string_view value; // what the value is called ("N"); empty for a flag
    std::string_view text;  // what the option does
};

// Explanations a command's help adds after its options.
enum class Topic : std::uint8_t {
    Groups,       // the twelve position groups of --idx and --group
    Conditions,   // the G of --sel/--cnt/--dan/--dcc and the four routes of --route
    Checks,       // the 66 selection checks of --check
    StatsColumns, // the columns of stats
    DrawInput,    // the draw file, the sequence file and the archive
};

struct CommandHelp {
    std::string_view name;     // "stats", or "archive export" for a subcommand
    std::string_view synopsis; // the options after the name (wrapped when shown)
    std::string_view summary;  // what the command does and prints
    std::vector<OptionHelp> options;
    std::vector<Topic> topics;
    std::string_view example;
    int (*run)(const Args& args);
    bool takesFiles = false; // plain words are files (archive import)
    // The command's own exit statuses (the lines after "exit status:"); empty: the common ones.
    std::string_view exitStatus = {};
};

// Every command, in the order the usage lists them.
const std::vector<CommandHelp>& CommandTable();

// The command named `name` ("archive export" for a subcommand), or nullptr.
const CommandHelp* FindCommand(std::string_view name);

// Whether `word` is the first word of a command with subcommands ("archive").
bool IsCommandFamily(std::string_view word);

// The subcommands of a family, such as "import|export|gaps|info" for "archive".
std::string FamilySubcommands(std::string_view family);

// What `zuohao-cli COMMAND --help` prints.
std::string CommandHelpText(const CommandHelp& command);
// What `zuohao-cli archive --help` prints: the subcommands of a family.
std::string FamilyHelpText(std::string_view family);
// What `zuohao-cli --help` prints; its first line is the usage line.
std::string OverallHelpText();
// The overall help followed by every command's: the text of the manual page.
std::string FullHelpText();
// A bash completion script for zuohao-cli: commands, options and the named values of --idx.
std::string BashCompletionScript();
// "zuohao-cli <version>".
std::string VersionText();

// The line that ends every usage error: "see `zuohao-cli COMMAND --help`".
std::string SeeHelpLine(std::string_view command);

} // namespace zuohao::cli

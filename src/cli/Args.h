#pragma once
// Command-line options of zuohao-cli: parsing with the exit codes other tools rely on
// (2 for a usage error, 1 when the work fails).
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/Help.h"
#include "core/acquire/LineRule.h"
#include "core/model/ConditionSet.h"

namespace zuohao::store {
class Archive;
}

namespace zuohao::cli {

// A usage error: printed on stderr with a pointer to the command's help, exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The work failed (no draws, a file that cannot be read, ...): printed on stderr, exit code 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // `valued`: options that take a value; `flags`: options without one.
    Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
         const std::vector<std::string>& flags);
    // The options of a command of the table; plain words are files when it takes them.
    Args(const std::vector<std::string>& argv, const CommandHelp& command);

    bool has(const std::string& name) const;
    // Last value given for an option.
    std::optional<std::string> last(const std::string& name) const;
    // Every value given, in order.
    std::vector<std::string> all(const std::string& name) const;
    // An integer option within [lo, hi]; `fallback` when absent.
    int integer(const std::string& name, int lo, int hi, int fallback) const;
    // A period bound (--from, --to): digits only; empty when absent.
    std::string period(const std::string& name) const;
    // The plain words (files), in order.
    const std::vector<std::string>& files() const { return m_files; }

private:
    void parse(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, bool takesFiles);

    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::string> m_flags;
    std::vector<std::string> m_files;
};

// Parses a whole decimal integer within [lo, hi], or throws a usage error naming `what`.
int ParseIndex(const std::string& text, int lo, int hi, const std::string& what);

// A list of numbers of `digits` digits each, read strictly: separated by white space, commas,
// 、 or ，; any other token is a usage error naming `what` and the token. The numbers come back
// separated by single spaces.
std::string ParseNumberList(const std::string& text, int digits, const std::string& what);

// Applies --idx, --sel, --cnt, --dan, --dcc, --kua, --route, --kill, --fan to a set.
void ApplyConditions(const Args& args, ConditionSet& set);

// Reads the draws of --draws FILE (the line rule), --sequence FILE (every non-empty line
// QISHU HAOMA, oldest first) or --archive PATH [--lottery NAME] [--last N] (the archive's
// draws of the lottery, the first one by default, oldest first; the newest N only with
// --last). A file or archive that cannot be read, or one without a draw, is a Failure.
std::vector<DrawLine> ReadDrawInput(const Args& args);

// How the draw input names itself in a message: the file, or "the archive PATH".
std::string DrawInputName(const Args& args);

// The lottery of --lottery NAME, or the first lottery when none is given. A name no archive can
// hold (empty, too long, not UTF-8 text, with control characters) is a usage error.
std::string LotteryOption(const Args& args);

// A usage error listing the lotteries `archive` holds when --lottery names one it does not
// hold. Without --lottery nothing is checked: an archive without the first lottery simply
// gives no draws.
void RequireHeldLottery(const Args& args, store::Archive& archive);

} // namespace zuohao::cli

// zuohao-cli: the headless tool over the number engine.
#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Console.h"
#include "cli/Help.h"
#include "store/OutputFile.h"

namespace {

bool asksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

// Options of the program itself, before or instead of a command.
int programOption(const std::string& option) {
    using namespace zuohao::cli;
    if (option == "--help" || option == "-h")
        std::cout << OverallHelpText();
    else if (option == "--help-all")
        std::cout << FullHelpText();
    else if (option == "--version")
        std::cout << VersionText();
    else if (option == "--bash-completion")
        std::cout << BashCompletionScript();
    else {
        std::cerr << "unknown " << (option.rfind('-', 0) == 0 ? "option" : "command") << ": "
                  << option << "\n"
                  << SeeHelpLine("") << "\n";
        return kExitUsage;
    }
    return kExitSuccess;
}

} // namespace

namespace {
int run(std::vector<std::string> args) {
    using namespace zuohao::cli;
    if (args.empty()) {
        std::cerr << "missing command\n" << SeeHelpLine("") << "\n";
        return kExitUsage;
    }
    // The command: its first word, and for a family (archive) the second.
    std::string name = args.front();
    args.erase(args.begin());
    if (IsCommandFamily(name)) {
        if (args.empty() || args.front().rfind('-', 0) == 0) {
            if (asksForHelp(args)) {
                std::cout << FamilyHelpText(name);
                return kExitSuccess;
            }
            std::cerr << name << " needs a command: " << FamilySubcommands(name) << "\n"
                      << SeeHelpLine(name) << "\n";
            return kExitUsage;
        }
        name += " " + args.front();
        args.erase(args.begin());
    }
    const CommandHelp* command = FindCommand(name);
    if (!command) {
        if (name.find(' ') == std::string::npos) return programOption(name);
        const std::string family = name.substr(0, name.find(' '));
        std::cerr << "unknown " << family << " command: " << name.substr(family.size() + 1) << "\n"
                  << SeeHelpLine(family) << "\n";
        return kExitUsage;
    }
    if (asksForHelp(args)) {
        std::cout << CommandHelpText(*command);
        return kExitSuccess;
    }
    try {
        return command->run(Args(args, *command));
    } catch (const UsageError& e) {
        std::cerr << e.what() << "\n" << SeeHelpLine(command->name) << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return kExitFailed;
    }
}
// An interrupt or a termination request leaves no unfinished output file behind; the process
// then ends by the signal as it would have.
void endBySignal(int sig) {
    zuohao::store::RemoveUnfinishedOutput();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
} // namespace

int main(int argc, char** argv) {
    using namespace zuohao::cli;
    std::signal(SIGINT, endBySignal);
    std::signal(SIGTERM, endBySignal);
    UseBinaryStandardStreams();
    const int code = run(Utf8Arguments(argc, argv));
    // Output that never reached its file is a failure, whatever the command made of it.
    if (const std::string why = FlushStandardOutput(); !why.empty()) {
        std::cerr << "error: cannot write the standard output: " << why << "\n";
        return code == kExitSuccess ? kExitFailed : code;
    }
    return code;
}

// The bash completion script of zuohao-cli, written from the command table.
#include <map>
#include <set>

#include "cli/Help.h"
#include "core/model/Groups.h"

namespace zuohao::cli {

namespace {

// Values that have names: offered as "N:NAME" while several match, as N once one does.
std::string namedValues() {
    std::string groups;
    for (int g = 0; g < kGroupCount; ++g)
        groups += (g ? " " : "") + std::to_string(g) + ":" + std::string(GroupName(g));
    return "        --idx|--group) named=\"" + groups +
           "\" ;;\n"
           "        --route) named=\"0:全0路 1:全1路 2:全2路 3:杀对子\" ;;\n"
           "        --kind) named=\"wecom dingtalk feishu webhook\" ;;\n";
}

std::string optionsOf(const CommandHelp& c) {
    std::string s;
    for (const OptionHelp& o : c.options)
        s += std::string(o.name) + " ";
    return s + "--help";
}

} // namespace

std::string BashCompletionScript() {
    std::set<std::string, std::less<>> fileOptions{"--draws", "--sequence", "--archive",
                                                   "--out",   "--url-file", "--secret-file"};
    std::set<std::string, std::less<>> valued;
    std::map<std::string, std::string, std::less<>> families; // family -> its subcommands
    std::string commands, cases;
    for (const CommandHelp& c : CommandTable()) {
        for (const OptionHelp& o : c.options)
            if (!o.value.empty() && !fileOptions.count(o.name)) valued.insert(std::string(o.name));
        const std::size_t space = c.name.find(' ');
        const std::string first(c.name.substr(0, space));
        if (space != std::string_view::npos) {
            if (!families.count(first)) commands += first + " ";
            families[first] += std::string(c.name.substr(space + 1)) + " ";
        } else {
            commands += first + " ";
        }
        cases += "        \"" + std::string(c.name) + "\") opts=\"" + optionsOf(c) + "\"" +
                 (c.takesFiles ? "; files=1" : "") + " ;;\n";
    }
    std::string valuedList;
    for (const std::string& v : valued)
        valuedList += (valuedList.empty() ? "" : "|") + v;
    std::string familyTest, familyCases;
    for (const auto& [family, subs] : families) {
        familyTest += (familyTest.empty() ? "" : " || ") + std::string("$cmd == ") + family;
        familyCases += "        " + family + ") opts=\"" + subs + "--help\" ;;\n";
    }
    std::string fileList;
    for (const std::string& f : fileOptions)
        fileList += (fileList.empty() ? "" : "|") + f;

    return "# bash completion for zuohao-cli (written by zuohao-cli --bash-completion)\n"
           "_zuohao_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local cmd=\"\" i w named=\"\" opts=\"\" files=0\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        w=${COMP_WORDS[i]}\n"
           "        [[ $w == -* ]] && continue\n"
           "        if [[ -z $cmd ]]; then cmd=$w\n"
           "        elif [[ " +
           (familyTest.empty() ? "-z x" : familyTest) +
           " ]]; then cmd=\"$cmd $w\"; fi\n"
           "    done\n"
           "    case $prev in\n" +
           namedValues() + "        " + fileList +
           ")\n"
           "            compopt -o filenames 2>/dev/null\n"
           "            mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
           "            return ;;\n"
           "        " +
           valuedList +
           ") return ;;\n"
           "    esac\n"
           "    if [[ -n $named ]]; then\n"
           "        mapfile -t COMPREPLY < <(compgen -W \"$named\" -- \"$cur\")\n"
           "        ((${#COMPREPLY[@]} == 1)) && COMPREPLY=(\"${COMPREPLY[0]%%:*}\")\n"
           "        return\n"
           "    fi\n"
           "    case $cmd in\n"
           "        \"\") opts=\"" +
           commands + "--help --help-all --version --bash-completion\" ;;\n" + familyCases + cases +
           "    esac\n"
           "    if ((files)) && [[ $cur != -* ]]; then\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
           "        return\n"
           "    fi\n"
           "    mapfile -t COMPREPLY < <(compgen -W \"$opts\" -- \"$cur\")\n"
           "}\n"
           "complete -F _zuohao_cli zuohao-cli\n";
}

} // namespace zuohao::cli

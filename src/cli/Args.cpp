#include "cli/Args.h"

#include <algorithm>

#include "core/model/Groups.h"

namespace zuohao::cli {

Args::Args(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
    parse(argv, valued, flags, false);
}

Args::Args(const std::vector<std::string>& argv, const CommandHelp& command) {
    std::vector<std::string> valued, flags;
    for (const OptionHelp& o : command.options)
        (o.value.empty() ? flags : valued).emplace_back(o.name);
    parse(argv, valued, flags, command.takesFiles);
}

void Args::parse(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
                 const std::vector<std::string>& flags, bool takesFiles) {
    auto known = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        // --name=value as well as --name value.
        if (const std::size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            const std::string name = a.substr(0, eq);
            if (known(valued, name)) {
                m_values.emplace_back(name, a.substr(eq + 1));
                continue;
            }
            if (known(flags, name)) throw UsageError(name + " takes no value: " + a);
            throw UsageError("unknown option: " + name);
        }
        if (known(flags, a)) {
            m_flags.push_back(a);
        } else if (known(valued, a)) {
            if (i + 1 >= argv.size()) throw UsageError("missing value for " + a);
            m_values.emplace_back(a, argv[++i]);
        } else if (takesFiles && a.rfind("--", 0) != 0) {
            m_files.push_back(a);
        } else if (a.rfind("-", 0) == 0) {
            throw UsageError("unknown option: " + a);
        } else {
            throw UsageError("unexpected argument: " + a);
        }
    }
}

bool Args::has(const std::string& name) const {
    return std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end() || last(name);
}

std::optional<std::string> Args::last(const std::string& name) const {
    std::optional<std::string> v;
    for (const auto& [k, val] : m_values)
        if (k == name) v = val;
    return v;
}

std::vector<std::string> Args::all(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& [k, val] : m_values)
        if (k == name) out.push_back(val);
    return out;
}

int ParseIndex(const std::string& text, int lo, int hi, const std::string& what) {
    bool digits =
        !text.empty() && text.size() <= 9 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) throw UsageError(what + " is not a whole number: " + text);
    int v = std::stoi(text);
    if (v < lo || v > hi)
        throw UsageError(what + " out of range (" + std::to_string(lo) + "-" + std::to_string(hi) +
                         "): " + text);
    return v;
}

int Args::integer(const std::string& name, int lo, int hi, int fallback) const {
    auto v = last(name);
    return v ? ParseIndex(*v, lo, hi, name) : fallback;
}

std::string Args::period(const std::string& name) const {
    constexpr std::size_t kMaxLabelDigits = 18; // the longest period label the archive holds
    const std::string v = last(name).value_or("");
    const bool digits = v.size() <= kMaxLabelDigits && std::all_of(v.begin(), v.end(), [](char c) {
                            return c >= '0' && c <= '9';
                        });
    if (!digits || (v.empty() && has(name)))
        throw UsageError(name + " is not a period label (digits, such as 202612080931): " + v);
    return v;
}

std::string ParseNumberList(const std::string& text, int digits, const std::string& what) {
    // The separators the windows accept: white space, the comma, 、 and the full-width ，.
    static const std::string kWideSeparators[] = {"\xE3\x80\x81", "\xEF\xBC\x8C"};
    std::string plain = text;
    for (const std::string& wide : kWideSeparators)
        for (std::size_t at = plain.find(wide); at != std::string::npos; at = plain.find(wide, at))
            plain.replace(at, wide.size(), " ");
    std::string out, token;
    auto flush = [&] {
        if (token.empty()) return;
        const bool number =
            int(token.size()) == digits &&
            std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!number)
            throw UsageError(what + ": not a number of " + std::to_string(digits) +
                             " digits: " + token);
        out += (out.empty() ? "" : " ") + token;
        token.clear();
    };
    for (char c : plain) {
        if (c == ' ' || c == ',' || c == '\n' || c == '\r' || c == '\t')
            flush();
        else
            token += c;
    }
    flush();
    return out;
}

namespace {
// G=VALUE with G in [0, hi]; the last value for a group wins.
void applyGrouped(const Args& args, const std::string& name, int hi, std::string* targets) {
    for (const std::string& v : args.all(name)) {
        auto eq = v.find('=');
        if (eq == std::string::npos) throw UsageError(name + " needs G=VALUE: " + v);
        int g = ParseIndex(v.substr(0, eq), 0, hi, name + " group");
        targets[g] = v.substr(eq + 1);
    }
}
} // namespace

void ApplyConditions(const Args& args, ConditionSet& set) {
    set.IDX = args.integer("--idx", 0, 11, 0);
    applyGrouped(args, "--sel", 4, set.SEL.data());
    applyGrouped(args, "--cnt", 4, set.CNT.data());
    applyGrouped(args, "--dan", 1, set.DAN.data());
    applyGrouped(args, "--dcc", 1, set.DCC.data());
    if (auto k = args.last("--kua")) set.KUA = *k;
    for (const std::string& r : args.all("--route"))
        set.KLU[ParseIndex(r, 0, 3, "--route")] = 1;
    if (auto k = args.last("--kill"))
        (set.IDX <= 9 ? set.KL0 : set.KL1) =
            ParseNumberList(*k, IsFourDigitGroup(set.IDX) ? 4 : 3, "--kill");
    if (args.has("--fan")) set.FAN = true;
}

} // namespace zuohao::cli

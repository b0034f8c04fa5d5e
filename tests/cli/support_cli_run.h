#pragma once
// Runs zuohao-cli as a child process and captures its exit code, stdout and stderr
// separately; makes private temporary folders for input files.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/support_process.h"
#include "../support/support_temp_dir.h"

namespace clitest {

struct RunResult {
    int code = -1;
    std::string out, err;

    std::vector<std::string> lines() const {
        std::vector<std::string> v;
        std::istringstream in(out);
        for (std::string l; std::getline(in, l);)
            v.push_back(l);
        return v;
    }
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

using TempDir = zuohao::testsupport::TempDir;

inline RunResult runCli(const std::vector<std::string>& args) {
    TempDir dir;
    const auto outPath = dir.path() / "out", errPath = dir.path() / "err";
    RunResult r;
    zuohao::testsupport::ChildProcess child;
    const bool started = child.start(ZUOHAO_CLI, args, outPath, errPath);
    if (started) r.code = child.wait();
    r.out = slurp(outPath);
    r.err = started ? slurp(errPath)
                    : "zuohao-cli did not start, error " + std::to_string(child.startError());
    return r;
}

inline std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> v;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        v.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return v;
}

inline std::vector<std::string> words(const std::string& list) {
    std::vector<std::string> v;
    std::istringstream in(list);
    for (std::string w; in >> w;)
        v.push_back(w);
    return v;
}

} // namespace clitest

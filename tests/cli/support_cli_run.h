#pragma once
// Runs zuohao-cli as a child process and captures its exit code, stdout and stderr
// separately; makes private temporary folders for input files.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// A folder under the system temp folder, removed when the object goes.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zuohao-cli-XXXXXX").string();
        char* made = ::mkdtemp(tmpl.data());
        if (made) m_path = made;
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string write(const std::string& name, const std::string& content) const {
        const auto p = m_path / name;
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }

private:
    std::filesystem::path m_path;
};

inline RunResult runCli(const std::vector<std::string>& args) {
    TempDir dir;
    const auto outPath = dir.path() / "out", errPath = dir.path() / "err";
    RunResult r;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int o = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (o < 0 || e < 0 || devnull < 0) ::_exit(127);
        ::dup2(devnull, 0);
        ::dup2(o, 1);
        ::dup2(e, 2);
        std::vector<char*> argv;
        std::string program = ZUOHAO_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid)
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = slurp(outPath);
    r.err = slurp(errPath);
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

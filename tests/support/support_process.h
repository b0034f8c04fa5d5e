#pragma once
// Temporary folders and child processes for the tests, on POSIX and on Windows (where the
// tests run under Wine). Tests built for Windows use no fork, mkdtemp or /dev files.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zuohao::testsupport {

// Exit code reported for a child ended by kill() or terminate(), as a shell reports SIGKILL.
inline constexpr int kKilledExitCode = 128 + 9;

// A new empty folder under the system temp folder, its name starting with `prefix`.
inline std::filesystem::path makeTempDir(const std::string& prefix) {
    std::random_device seed;
    std::mt19937_64 rng((std::uint64_t(seed()) << 32) ^
                        std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path p = base / (prefix + std::to_string(rng() % 100000000000ULL));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) return p;
    }
    std::abort();
}

#ifdef _WIN32
inline std::wstring widenUtf8(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

// One argument quoted so that the child's CommandLineToArgvW gives it back unchanged.
inline void appendQuoted(std::wstring& line, const std::wstring& arg) {
    line += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        line.append(backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}
#endif

// A child process with stdin from the null device and stdout/stderr into files.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (running()) {
            kill();
            wait();
        }
    }

    bool start(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
#ifdef _WIN32
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        HANDLE in = CreateFileW(L"NUL", GENERIC_READ, share, &inherit, OPEN_EXISTING, 0, nullptr);
        HANDLE out = CreateFileW(outFile.wstring().c_str(), GENERIC_WRITE, share, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        HANDLE err = CreateFileW(errFile.wstring().c_str(), GENERIC_WRITE, share, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::wstring exe = std::filesystem::absolute(widenUtf8(program)).wstring();
        std::wstring line;
        appendQuoted(line, exe);
        for (const std::string& a : args) {
            line += L' ';
            appendQuoted(line, widenUtf8(a));
        }
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = in;
        si.hStdOutput = out;
        si.hStdError = err;
        PROCESS_INFORMATION pi{};
        // Wine now and then fails a CreateProcess under load; a start is tried a few times.
        bool ok = false;
        for (int attempt = 0; !ok && attempt < kStartAttempts; ++attempt)
            ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                 err != INVALID_HANDLE_VALUE &&
                 CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &si, &pi);
        m_startError = ok ? 0 : long(GetLastError());
        for (HANDLE h : {in, out, err})
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!ok) return false;
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        return true;
#else
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        m_pid = ::fork();
        if (m_pid == 0) {
            const int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int devnull = ::open("/dev/null", O_RDONLY);
            if (o < 0 || e < 0 || devnull < 0) ::_exit(127);
            ::dup2(devnull, 0);
            ::dup2(o, 1);
            ::dup2(e, 2);
            std::vector<char*> cargv;
            for (std::string& a : argv)
                cargv.push_back(a.data());
            cargv.push_back(nullptr);
            ::execv(cargv[0], cargv.data());
            ::_exit(127);
        }
        m_startError = m_pid > 0 ? 0 : long(errno);
        return m_pid > 0;
#endif
    }

    // The child's process id (0 when none was started).
    long pid() const {
#ifdef _WIN32
        return m_process ? long(GetProcessId(m_process)) : 0;
#else
        return m_pid > 0 ? long(m_pid) : 0;
#endif
    }

    bool running() const {
#ifdef _WIN32
        return m_process != nullptr;
#else
        return m_pid > 0;
#endif
    }

    // The exit code once the child has ended within `timeout`, else nothing.
    std::optional<int> waitFor(std::chrono::milliseconds timeout) {
        if (!running()) return m_code.value_or(-1);
#ifdef _WIN32
        if (WaitForSingleObject(m_process, DWORD(timeout.count())) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(m_process, &code);
        CloseHandle(m_process);
        m_process = nullptr;
        m_code = int(code);
#else
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        for (;;) {
            const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
            if (r == m_pid) break;
            if (r < 0) {
                m_pid = -1;
                return m_code;
            }
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
        m_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
        return m_code;
    }

    int wait() {
        std::optional<int> code;
        while (!(code = waitFor(std::chrono::hours(1))))
            ;
        return *code;
    }

    // Ends the child at once (SIGKILL; TerminateProcess on Windows).
    void kill() {
#ifdef _WIN32
        if (m_process) TerminateProcess(m_process, kKilledExitCode);
#else
        if (m_pid > 0) ::kill(m_pid, SIGKILL);
#endif
    }

    // Asks the child to end (SIGTERM; Windows has no such request for a console program
    // started without a console of its own, so it ends at once there too).
    void terminate() {
#ifdef _WIN32
        kill();
#else
        if (m_pid > 0) ::kill(m_pid, SIGTERM);
#endif
    }

    // The system's error code when start() failed, else 0.
    long startError() const { return m_startError; }

private:
    static constexpr int kStartAttempts = 3;
    long m_startError = 0;
#ifdef _WIN32
    HANDLE m_process = nullptr;
#else
    pid_t m_pid = -1;
#endif
    std::optional<int> m_code;
};

} // namespace zuohao::testsupport

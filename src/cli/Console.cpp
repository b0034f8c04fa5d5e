#include "cli/Console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#endif

namespace zuohao::cli {

#ifdef _WIN32
namespace {
std::string narrowUtf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string s(std::size_t(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, s.data(), n, nullptr, nullptr);
    return s;
}
} // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(narrowUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

void UseBinaryStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
#else
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseBinaryStandardStreams() {}
#endif

std::string FlushStandardOutput() {
    errno = 0;
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed) return {};
    return errno != 0 ? std::strerror(errno) : "write error";
}

} // namespace zuohao::cli

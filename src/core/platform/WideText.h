#pragma once
// Windows only: the UTF-16 form of a UTF-8 path, as the system's wide calls take it.
#ifdef _WIN32
#include <windows.h>

#include <string>

namespace zuohao::platform {

// Empty for an empty text or one that is not valid UTF-8.
inline std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                      nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(),
                        n);
    return wide;
}

} // namespace zuohao::platform
#endif

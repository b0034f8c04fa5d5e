#ifdef _WIN32
#include <windows.h>

#include <limits>
#include <string>

#include "core/platform/ReadOnlyFile.h"
#include "core/platform/WideText.h"

namespace zuohao::platform {

ReadOnlyFile::~ReadOnlyFile() {
    close();
}

bool ReadOnlyFile::open(const std::string& utf8Path) {
    close();
    const std::wstring path = Widen(utf8Path);
    if (path.empty()) return false;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    m_handle = h;
    return true;
}

bool ReadOnlyFile::isOpen() const {
    return m_handle != nullptr;
}

std::optional<std::size_t> ReadOnlyFile::read(char* buffer, std::size_t size) {
    if (!m_handle) return std::nullopt;
    const DWORD want = DWORD(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(m_handle), buffer, want, &got, nullptr)) return std::nullopt;
    return std::size_t(got);
}

void ReadOnlyFile::close() {
    if (m_handle) CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

} // namespace zuohao::platform
#endif

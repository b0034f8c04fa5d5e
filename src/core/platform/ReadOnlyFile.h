#pragma once
// A file opened for reading only, the one place where the core touches the operating system.
// Only ordinary disk files open: a pipe would wait for a writer and a device may never end.
// On Windows the file is opened with read, write and delete sharing, so the program that
// owns the file can always rewrite, truncate or replace it while we read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zuohao::platform {

class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens the file at a UTF-8 path; false when it does not exist, cannot be read or is no
    // regular disk file.
    bool open(const std::string& utf8Path);
    bool isOpen() const;
    // Reads up to `size` bytes; 0 at the end of the file, nothing on a read error.
    std::optional<std::size_t> read(char* buffer, std::size_t size);
    void close();

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace zuohao::platform

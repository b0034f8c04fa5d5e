#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/ReadOnlyFile.h"

namespace zuohao::platform {

ReadOnlyFile::~ReadOnlyFile() {
    close();
}

bool ReadOnlyFile::open(const std::string& utf8Path) {
    close();
    // Non-blocking so that opening a FIFO never waits for a writer; it is refused below.
    const int fd = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool ReadOnlyFile::isOpen() const {
    return m_fd >= 0;
}

std::optional<std::size_t> ReadOnlyFile::read(char* buffer, std::size_t size) {
    if (m_fd < 0) return std::nullopt;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size);
        if (n >= 0) return std::size_t(n);
        if (errno != EINTR) return std::nullopt;
    }
}

void ReadOnlyFile::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

} // namespace zuohao::platform
#endif

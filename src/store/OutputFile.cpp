#include "store/OutputFile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "store/DrawArchive.h"

namespace zuohao::store {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kBufferBytes = 1 << 16;

std::string lastSystemError() {
#ifdef _WIN32
    return std::system_category().message(int(GetLastError()));
#else
    return std::strerror(errno);
#endif
}

// The temporary files being written, for RemoveUnfinishedOutput() to remove from a signal
// handler: fixed slots, claimed and released through an atomic flag, no allocation there.
constexpr std::size_t kTrackedFiles = 8;
constexpr std::size_t kTrackedPathBytes = 4096;
struct Tracked {
    std::atomic<bool> used{false};
    char path[kTrackedPathBytes] = {};
};
Tracked g_tracked[kTrackedFiles];

int track(const std::string& path) {
    if (path.size() >= kTrackedPathBytes) return -1;
    for (std::size_t i = 0; i < kTrackedFiles; ++i) {
        bool expected = false;
        if (!g_tracked[i].used.load() &&
            g_tracked[i].used.compare_exchange_strong(expected, true)) {
            path.copy(g_tracked[i].path, path.size());
            g_tracked[i].path[path.size()] = '\0';
            return int(i);
        }
    }
    return -1;
}

void untrack(int slot) {
    if (slot >= 0) g_tracked[std::size_t(slot)].used.store(false);
}

bool processAlive(unsigned long pid) {
#ifdef _WIN32
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

// Removes "<target>.part-PID-N" files beside the target whose writer is no longer running
// (killed in the middle of an export).
void removeStaleParts(const fs::path& target) {
    const std::string prefix = Utf8Text(target.filename()) + ".part-";
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Text(it->path().filename());
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = name.substr(prefix.size()); // PID-N
        const auto dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || rest.size() > 40 ||
            rest.find_first_not_of("0123456789-") != std::string::npos)
            continue;
        const unsigned long pid = std::stoul(rest.substr(0, dash));
        std::error_code ignored;
        if (!processAlive(pid) && it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

// A name beside the target no other writer of this process or another one is using.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const long pid = long(::getpid());
#endif
    return target + ".part-" + std::to_string(pid) + "-" + std::to_string(++counter);
}
} // namespace

struct OutputFile::Handle {
    std::string target;    // the file to replace ("" for the standard output)
    std::string temporary; // the file written ("" when writing directly)
#ifdef _WIN32
    HANDLE h = INVALID_HANDLE_VALUE;
    bool ownsHandle = true;
#else
    int fd = -1;
    bool ownsHandle = true;
#endif
    bool regular = false; // a disk file: synced before the rename
    int slot = -1;        // of the temporary file among those a signal removes

    bool write(const char* data, std::size_t size) {
        while (size > 0) {
#ifdef _WIN32
            DWORD done = 0;
            const DWORD chunk = DWORD(std::min<std::size_t>(size, 1u << 30));
            if (!WriteFile(h, data, chunk, &done, nullptr) || done == 0) return false;
#else
            const ssize_t done = ::write(fd, data, size);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) {
                if (done == 0) errno = ENOSPC;
                return false;
            }
#endif
            data += done;
            size -= std::size_t(done);
        }
        return true;
    }

    bool sync() {
        if (!regular) return true;
#ifdef _WIN32
        return FlushFileBuffers(h) != 0;
#else
        return ::fsync(fd) == 0;
#endif
    }

    bool close() {
        if (!ownsHandle) return true;
#ifdef _WIN32
        const bool ok = h == INVALID_HANDLE_VALUE || CloseHandle(h) != 0;
        h = INVALID_HANDLE_VALUE;
#else
        const bool ok = fd < 0 || ::close(fd) == 0;
        fd = -1;
#endif
        return ok;
    }

    bool rename() {
        if (temporary.empty()) return true;
#ifdef _WIN32
        return MoveFileExW(Utf8Path(temporary).c_str(), Utf8Path(target).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
        return std::rename(temporary.c_str(), target.c_str()) == 0;
#endif
    }

    void removeTemporary() {
        untrack(slot);
        slot = -1;
        if (temporary.empty()) return;
        std::error_code ec;
        fs::remove(Utf8Path(temporary), ec);
        temporary.clear();
    }
};

OutputFile::OutputFile(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {
    m_buffer.reserve(kBufferBytes);
}

OutputFile::~OutputFile() {
    if (m_committed) return;
    m_handle->close();
    m_handle->removeTemporary();
}

Result<std::unique_ptr<OutputFile>> OutputFile::create(const std::string& utf8Path) {
    auto handle = std::make_unique<Handle>();
    std::error_code ec;
    fs::path target = Utf8Path(utf8Path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::file_status st = fs::status(target, ec);
    if (fs::is_directory(st)) return fail(utf8Path + ": is a folder");
    const bool direct = fs::exists(st) && !fs::is_regular_file(st);
    handle->target = Utf8Text(target);
    handle->regular = !direct;
    if (!direct) removeStaleParts(target);
    const std::string opened = direct ? handle->target : temporaryName(handle->target);
    if (!direct) handle->temporary = opened;
#ifdef _WIN32
    handle->h = CreateFileW(Utf8Path(opened).c_str(), GENERIC_WRITE, 0, nullptr,
                            direct ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle->h == INVALID_HANDLE_VALUE) {
        handle->temporary.clear();
        return fail(utf8Path + ": cannot be written: " + lastSystemError());
    }
#else
    const int flags = direct ? O_WRONLY | O_CLOEXEC : O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    handle->fd = ::open(opened.c_str(), flags, 0666);
    if (handle->fd < 0) {
        handle->temporary.clear();
        return fail(utf8Path + ": cannot be written: " + lastSystemError());
    }
    // The replacement keeps the permissions of the file it replaces.
    struct stat old {};
    if (!direct && ::stat(handle->target.c_str(), &old) == 0)
        (void)::fchmod(handle->fd, old.st_mode & 07777);
#endif
    if (!direct) handle->slot = track(opened);
    return std::unique_ptr<OutputFile>(new OutputFile(std::move(handle)));
}

void RemoveUnfinishedOutput() {
    for (Tracked& t : g_tracked) {
        if (!t.used.load()) continue;
#ifdef _WIN32
        (void)_unlink(t.path);
#else
        (void)::unlink(t.path);
#endif
    }
}

std::unique_ptr<OutputFile> OutputFile::standardOutput() {
    std::cout.flush(); // what went out through the streams stays ahead
    std::fflush(stdout);
    auto handle = std::make_unique<Handle>();
    handle->ownsHandle = false;
#ifdef _WIN32
    handle->h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
#else
    handle->fd = STDOUT_FILENO;
#endif
    return std::unique_ptr<OutputFile>(new OutputFile(std::move(handle)));
}

void OutputFile::failWith(const std::string& what) {
    if (m_error.empty()) m_error = what;
}

bool OutputFile::drain() {
    if (!m_error.empty()) return false;
    const bool ok = m_handle->write(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    if (!ok) failWith("write failed: " + lastSystemError());
    return ok;
}

bool OutputFile::write(std::string_view bytes) {
    if (!m_error.empty()) return false;
    if (m_buffer.size() + bytes.size() > kBufferBytes && !drain()) return false;
    if (bytes.size() >= kBufferBytes) {
        if (m_handle->write(bytes.data(), bytes.size())) return true;
        failWith("write failed: " + lastSystemError());
        return false;
    }
    m_buffer.append(bytes);
    return true;
}

Result<void> OutputFile::commit() {
    if (m_committed) return {};
    if (!m_buffer.empty()) drain();
    if (m_error.empty() && !m_handle->sync()) failWith("sync failed: " + lastSystemError());
    if (!m_handle->close() && m_error.empty()) failWith("close failed: " + lastSystemError());
    if (m_error.empty() && !m_handle->rename())
        failWith("cannot put the file in place: " + lastSystemError());
    if (!m_error.empty()) {
        m_handle->removeTemporary();
        return fail(m_error);
    }
    untrack(m_handle->slot);
    m_handle->slot = -1;
    m_committed = true;
    return {};
}

} // namespace zuohao::store

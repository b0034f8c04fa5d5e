#pragma once
// A file written whole or not at all, with every write, the flush, the sync and the close
// checked: a full disk, a device that takes nothing (/dev/full) or a cancelled export never
// leaves a cut file behind that looks complete, and never replaces a good one.
#include <memory>
#include <string>
#include <string_view>

#include "core/model/Result.h"

namespace zuohao::store {

class OutputFile {
public:
    // A new file, or a regular one, is written as a temporary file beside it that commit()
    // renames into place (keeping the old file's permissions): until then, and after any
    // failure, the file at `utf8Path` is as it was. Anything else (a device, a pipe) is written
    // directly. A symbolic link is followed: the file it names is replaced, not the link.
    static Result<std::unique_ptr<OutputFile>> create(const std::string& utf8Path);
    // The process's standard output, checked the same way (nothing to rename).
    static std::unique_ptr<OutputFile> standardOutput();

    ~OutputFile(); // without a commit the temporary file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Buffered; false once anything failed (then error() says what, and later writes do
    // nothing).
    bool write(std::string_view bytes);
    // Writes out the buffer, syncs the file to the disk, closes it and renames it into place.
    Result<void> commit();
    const std::string& error() const { return m_error; }

private:
    struct Handle;
    explicit OutputFile(std::unique_ptr<Handle> handle);
    bool drain(); // the buffer to the file
    void failWith(const std::string& what);

    std::unique_ptr<Handle> m_handle;
    std::string m_buffer;
    std::string m_error;
    bool m_committed = false;
};

// Removes the temporary files of the outputs not yet committed. Async-signal-safe: for the
// handler of an interrupt or a termination request, which then ends the process.
void RemoveUnfinishedOutput();

} // namespace zuohao::store

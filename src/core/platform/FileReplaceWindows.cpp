#ifdef _WIN32
#include <windows.h>

#include <string>

#include "core/platform/FileReplace.h"
#include "core/platform/WideText.h"

namespace zuohao::platform {

namespace {
// How long a replace waits, in all, for readers that hold the file without delete sharing.
constexpr int kReplaceAttempts = 50;
constexpr DWORD kReplaceRetryMs = 20;

} // namespace

bool ReplaceFileWith(const std::string& utf8From, const std::string& utf8To) {
    const std::wstring from = Widen(utf8From), to = Widen(utf8To);
    if (from.empty() || to.empty()) return false;
    // MoveFileExW replaces the directory entry in one step. A reader that opened the file with
    // delete sharing (as our draw file reader does) does not stop it and reads the old file
    // to its end. A reader that opened it without delete sharing (an editor, a virus scanner)
    // makes the move fail with a sharing violation or access denied: we try again for about a
    // second. Meanwhile every reader still sees the old, whole file; if the reader holds on
    // longer, the write fails and the old file stays as it was.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const bool heldByReader = error == ERROR_SHARING_VIOLATION ||
                                  error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!heldByReader || attempt + 1 >= kReplaceAttempts) return false;
        Sleep(kReplaceRetryMs);
    }
}

} // namespace zuohao::platform
#endif

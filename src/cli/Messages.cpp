#include "cli/Messages.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/model/Groups.h"

namespace zuohao::cli {

namespace {
// The user's file behind a temporary one written beside it ("x.txt.tmp3557287656" -> "x.txt").
std::string userFileOf(const std::string& path) {
    const std::size_t tmp = path.rfind(".tmp");
    if (tmp == std::string::npos || tmp + 4 == path.size()) return path;
    const bool digits = std::all_of(path.begin() + std::ptrdiff_t(tmp + 4), path.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    return digits ? path.substr(0, tmp) : path;
}
} // namespace

std::string WriteFailureText(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string file = userFileOf(path);
    const fs::path p(std::u8string(file.begin(), file.end()));
    std::error_code ec;
    std::string why = "not allowed, or the disk is full";
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (fs::is_directory(p, ec))
        why = "it is a folder";
    else if (!fs::is_directory(folder, ec))
        why = "its folder does not exist";
    return "cannot write " + file + ": " + why;
}

std::string Describe(const Error& e, int idx) {
    const std::string about = e.subject.empty() ? "" : ": " + e.subject;
    switch (e.code) {
    case ErrorCode::KillListOutOfSpace:
        return "--kill: " + e.subject + " is not a number of the " +
               (IsFourDigitGroup(idx) ? "four-digit space 0000-9999" : "three-digit space 000-999");
    case ErrorCode::NoBaseSet:
        return "there is no base set to rate the periods against";
    case ErrorCode::InvalidDraw:
        return "not a five-digit draw number" + about;
    case ErrorCode::NoDraws:
        return "there is no draw yet to work from";
    case ErrorCode::OutOfRange:
        return "an index out of range" + about;
    case ErrorCode::WriteFailed:
        return WriteFailureText(e.subject);
    case ErrorCode::ArchiveMissing:
        return "no archive at " + e.subject;
    case ErrorCode::ArchiveDamaged:
        return e.subject + " is not a draw archive (not a database, or a damaged one)";
    // The archive and its file reader word their own failures in English, with the reason.
    case ErrorCode::ArchiveOpen:
    case ErrorCode::ArchiveRead:
    case ErrorCode::ArchiveWrite:
    case ErrorCode::ArchiveBusy:
    case ErrorCode::ArchiveFull:
    case ErrorCode::NotAnArchive:
    case ErrorCode::ReadFailed:
        return e.message;
    case ErrorCode::Cancelled:
        return "the work was cancelled";
    case ErrorCode::Failed:
        break;
    }
    return "the work failed" + about;
}

} // namespace zuohao::cli

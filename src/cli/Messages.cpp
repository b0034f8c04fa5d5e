#include "cli/Messages.h"

#include "core/model/Groups.h"

namespace zuohao::cli {

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
        return "cannot write " + e.subject;
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

// The draws a command works from: a draw file, a sequence file or the archive, read only.
#include <sstream>

#include "cli/Args.h"
#include "cli/Messages.h"
#include "core/acquire/DrawSource.h"
#include "store/DrawArchive.h"
#include "store/ImportText.h"

namespace zuohao::cli {

namespace {
// Longest line of a sequence file that is read ("QISHU HAOMA" is some 20 bytes).
constexpr std::size_t kSequenceLineCap = kDrawLineCap;
constexpr const char* kFirstLineTooLong = "first line too long to be a draw line";

// Read only: a command that reads draws never creates, migrates or moves the archive.
std::vector<DrawLine> readArchive(const Args& args, const std::string& path) {
    const std::string lottery = LotteryOption(args);
    auto archive = store::Archive::open(path, nullptr, store::OpenMode::Look);
    if (!archive) throw Failure(Describe(archive.failure()));
    RequireHeldLottery(args, **archive);
    auto held = args.last("--last")
                    ? (*archive)->newest(lottery, args.integer("--last", 1, 1000000000, 0))
                    : (*archive)->range(lottery);
    if (!held) throw Failure(Describe(held.failure()));
    std::vector<DrawLine> out;
    out.reserve(held->size());
    for (const store::ArchivedDraw& d : *held)
        out.push_back({d.qishu, d.haoma});
    return out;
}

void requireRegularFile(const std::string& path, const std::string& what) {
    if (const std::string why = store::RegularFileProblem(path); !why.empty())
        throw Failure("cannot read the " + what + " " + path + ": " + why);
}

// Why a draw file gave no text, in this tool's words.
std::string whyUnread(DrawFileProblem problem) {
    switch (problem) {
    case DrawFileProblem::Empty:
        return "the file is empty";
    case DrawFileProblem::CannotOpen:
        return "it cannot be opened (missing, or not allowed)";
    case DrawFileProblem::ReadError:
        return "a read error";
    case DrawFileProblem::Unsteady:
        return "it changed while it was read; try again";
    case DrawFileProblem::NoPath:
        return "no path";
    case DrawFileProblem::None:
    case DrawFileProblem::FirstLineTooLong:
        break;
    }
    return "not a draw file";
}

std::vector<DrawLine> readDrawFile(const std::string& path) {
    requireRegularFile(path, "draw file");
    DrawFileRead read = ReadDrawFile(path);
    if (read.problem == DrawFileProblem::FirstLineTooLong)
        throw Failure(path + ": " + kFirstLineTooLong);
    if (!read.text)
        throw Failure("cannot read the draw file " + path + ": " + whyUnread(read.problem));
    return ParseDrawText(*read.text).draws;
}

// Every non-empty line QISHU HAOMA, oldest first, read a line at a time.
std::vector<DrawLine> readSequence(const std::string& path) {
    requireRegularFile(path, "sequence file");
    std::vector<DrawLine> out;
    std::int64_t n = 0;
    bool malformed = false, firstTooLong = false;
    auto read = store::ReadTextLines(path, kSequenceLineCap, [&](const DecodedLine& line) {
        firstTooLong = ++n == 1 && line.overLong;
        std::istringstream fields{std::string(line.text)};
        DrawLine d;
        if (!line.overLong && !(fields >> d.qishu)) return true; // blank line
        malformed = line.overLong || !(fields >> d.haoma);
        if (!malformed) out.push_back(std::move(d));
        return !malformed;
    });
    if (!read) throw Failure("cannot read the sequence file " + path + ": " + read.error());
    if (firstTooLong) throw Failure(path + ": " + kFirstLineTooLong);
    if (malformed) throw UsageError("sequence line " + std::to_string(n) + " is not QISHU HAOMA");
    return out;
}

std::vector<DrawLine> readDrawInput(const Args& args) {
    auto draws = args.last("--draws");
    auto sequence = args.last("--sequence");
    auto archive = args.last("--archive");
    if (int(bool(draws)) + int(bool(sequence)) + int(bool(archive)) > 1)
        throw UsageError("give one of --draws, --sequence or --archive");
    for (const char* option : {"--last", "--lottery"})
        if (args.last(option) && !archive)
            throw UsageError(std::string(option) + " goes with --archive");
    if (archive) return readArchive(args, *archive);
    if (draws) return readDrawFile(*draws);
    if (!sequence) throw UsageError("missing --draws FILE, --sequence FILE or --archive PATH");
    return readSequence(*sequence);
}
} // namespace

std::string DrawInputName(const Args& args) {
    if (auto a = args.last("--archive")) return "the archive " + *a;
    return args.last("--draws").value_or(args.last("--sequence").value_or(""));
}

std::vector<DrawLine> ReadDrawInput(const Args& args) {
    std::vector<DrawLine> draws = readDrawInput(args);
    if (draws.empty()) throw Failure("no draws in " + DrawInputName(args));
    return draws;
}

} // namespace zuohao::cli

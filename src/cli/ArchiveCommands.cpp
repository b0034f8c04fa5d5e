// zuohao-cli archive: import, export, gaps and info of the draw archive.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Messages.h"
#include "store/CsvExport.h"
#include "store/DrawArchive.h"
#include "store/FileIdentity.h"
#include "store/ImportText.h"
#include "store/OutputFile.h"

namespace zuohao::cli {

namespace {
struct Opened {
    std::unique_ptr<store::Archive> archive;
    std::string lottery;
};

// The archive of --archive PATH, or the user's one. Only an import writes: it makes the
// user's folder when missing and the archive when there is none, and sets a damaged archive
// aside for a fresh one (a busy, full or unreachable one is never moved). Every other command
// opens it read only and never creates, changes or moves a file.
std::string archivePath(const Args& args) {
    if (auto p = args.last("--archive")) return *p;
    return store::DefaultArchivePath();
}

// The lottery is checked before the file is touched; a reader's --lottery must name one the
// archive holds, an import's may start a new one.
Opened openArchive(const Args& args, bool forImport = false) {
    std::string lottery = LotteryOption(args);
    const std::string path = archivePath(args);
    if (forImport && !args.last("--archive")) {
        std::error_code ec;
        std::filesystem::create_directories(store::Utf8Path(path).parent_path(), ec);
    }
    store::OpenReport rep;
    auto a = store::Archive::open(
        path, &rep, forImport ? store::OpenMode::SetAsideDamaged : store::OpenMode::Look);
    if (!a) throw Failure(Describe(a.failure()));
    if (!rep.setAsideAs.empty())
        std::cerr << "warning: the archive was damaged (" << rep.setAsideWhy
                  << "); it was set aside as " << rep.setAsideAs << " and a fresh one started\n";
    if (!forImport) RequireHeldLottery(args, **a);
    return {std::move(a).value(), std::move(lottery)};
}

template <class T> T orThrow(Result<T> r) {
    if (!r) throw Failure(Describe(r.failure()));
    return std::move(r).value();
}

struct ImportTotals {
    std::int64_t good = 0, added = 0, dup = 0, corrected = 0, bad = 0, conflicts = 0;
};

void warnBadLines(const std::string& file, const store::ImportText& text) {
    if (text.badLines == 0) return;
    std::cerr << "warning: " << file << ": " << text.badLines
              << " line(s) skipped, not a draw (line";
    for (auto n : text.firstBad)
        std::cerr << " " << n;
    std::cerr << (std::size_t(text.badLines) > text.firstBad.size() ? " ...)\n" : ")\n");
}

// One file into the archive, a batch per transaction as it is read; false when it was not read.
bool importFile(Opened& o, const std::string& file, store::OnConflict policy, ImportTotals& t) {
    const std::string source = "import:" + file;
    // An import of this very file that was cut short resumes after its last written batch.
    const std::string identity = store::ImportFileIdentity(file);
    std::int64_t skip = 0;
    if (!identity.empty()) {
        if (auto held = o.archive->importMark(o.lottery, identity)) skip = *held;
    }
    if (skip > 0)
        std::cerr << "note: " << file << ": an import of it was cut short; resuming after line "
                  << skip << "\n";
    std::optional<Error> writeFailed;
    auto read = store::ReadImportFileFrom(
        file, skip, [&](std::vector<store::DrawIn>& batch, std::int64_t lines) {
            const store::ImportMark mark{identity, lines};
            auto r = o.archive->add(o.lottery, batch, source, policy, {},
                                    identity.empty() ? nullptr : &mark);
            if (!r) {
                writeFailed = r.failure();
                return false;
            }
            t.added += r->added;
            t.dup += r->duplicates;
            t.corrected += r->corrected;
            for (const store::Conflict& c : r->conflicts) {
                if (t.conflicts < std::int64_t(store::kBadLinesListed))
                    std::cerr << "conflict: " << c.qishu << ": archive has " << c.archivedHaoma
                              << ", " << file << " has " << c.offeredHaoma
                              << " (kept the archive's; --prefer-import takes the file's)\n";
                ++t.conflicts;
            }
            return true;
        });
    if (writeFailed) throw Failure(Describe(*writeFailed));
    if (!read) {
        std::cerr << "error: " << Describe(read.failure()) << "\n";
        return false;
    }
    if (!identity.empty()) {
        if (auto done = o.archive->clearImportMark(o.lottery, identity); !done)
            std::cerr << "warning: " << Describe(done.failure()) << "\n";
    }
    warnBadLines(file, *read);
    t.bad += read->badLines;
    t.good += read->drawsRead;
    return true;
}

int runImport(const std::vector<std::string>& files, const Args& args) {
    if (files.empty()) throw UsageError("archive import needs at least one FILE");
    // Reading a file SQLite holds by other means would drop this process's locks on it.
    const std::string archive = archivePath(args);
    for (const std::string& file : files) {
        if (const auto part = store::ArchivePartAt(file, archive))
            throw UsageError("cannot import " + file + ": it is the archive itself" +
                             (part->empty() ? "" : " (its " + part->substr(1) + " file)"));
    }
    Opened o = openArchive(args, true);
    if (args.last("--lottery")) {
        const auto known = orThrow(o.archive->lotteries());
        if (std::find(known.begin(), known.end(), o.lottery) == known.end())
            std::cerr << "note: the archive held no draws of \"" << o.lottery
                      << "\"; this import starts them\n";
    }
    const auto policy =
        args.has("--prefer-import") ? store::OnConflict::Correct : store::OnConflict::KeepArchived;
    ImportTotals t;
    bool failed = false;
    (void)o.archive->setBulkWrites(true); // a slower import is all a failure here costs
    for (const std::string& file : files)
        failed = !importFile(o, file, policy, t) || failed;
    if (auto r = o.archive->setBulkWrites(false); !r)
        std::cerr << "warning: " << Describe(r.failure()) << "\n";
    std::cout << "imported " << t.added << " draw(s); " << t.dup << " already held; " << t.corrected
              << " corrected; " << t.conflicts << " conflict(s); " << t.bad << " line(s) skipped\n";
    if (t.conflicts > std::int64_t(store::kBadLinesListed))
        std::cerr << "warning: " << t.conflicts << " conflicts in all\n";
    if (t.good == 0) {
        std::cerr << "error: no draw could be read\n";
        return kExitFailed;
    }
    return failed ? kExitFailed : kExitSuccess;
}

// The draws, a page at a time, into --out FILE (written whole or not at all) or the standard
// output; every write is checked.
int runExport(const Args& args) {
    store::ExportRequest request;
    request.fromQishu = args.period("--from");
    request.toQishu = args.period("--to");
    request.csv = args.has("--csv");
    const auto outPath = args.last("--out");
    Opened o = openArchive(args);
    request.lottery = o.lottery;
    std::unique_ptr<store::OutputFile> out;
    if (outPath) {
        auto created = store::OutputFile::create(*outPath);
        if (!created) throw Failure(created.error());
        out = std::move(created).value();
    } else {
        out = store::OutputFile::standardOutput();
    }
    auto written = store::ExportDraws(*o.archive, request, *out);
    if (written) return kExitSuccess;
    if (out->error().empty()) throw Failure(written.error()); // the archive's own words
    throw Failure("cannot write " + (outPath ? *outPath : std::string("the standard output")) +
                  ": " + out->error());
}

int runGaps(const Args& args) {
    const std::string from = args.period("--from"), to = args.period("--to");
    Opened o = openArchive(args);
    const auto gaps = orThrow(o.archive->gaps(o.lottery, from, to));
    std::int64_t total = 0;
    if (args.has("--json")) {
        JsonWriter w = JsonDocument("archive gaps");
        w.field("lottery", o.lottery).key("gaps").beginArray();
        for (const store::Gap& g : gaps) {
            w.beginObject().field("after", g.afterQishu).field("before", g.beforeQishu);
            w.field("missing", g.missing).endObject();
            total += g.missing;
        }
        w.endArray().field("gap_count", gaps.size()).field("missing", total);
        std::cout << w.endObject().text();
        return kExitSuccess;
    }
    for (const store::Gap& g : gaps) {
        std::cout << g.afterQishu << '\t' << g.beforeQishu << '\t' << g.missing << '\n';
        total += g.missing;
    }
    std::cerr << gaps.size() << " gap(s), " << total << " period(s) missing\n";
    return 0;
}

void printInfoJson(const Opened& o, const store::ArchiveInfo& info) {
    JsonWriter w = JsonDocument("archive info");
    w.field("archive", info.path).field("bytes", info.fileBytes).key("lotteries").beginArray();
    for (const store::LotteryInfo& l : info.lotteries) {
        w.beginObject().field("lottery", l.lottery).field("draws", l.draws);
        w.field("corrections", l.corrections).field("first", l.firstQishu);
        w.field("last", l.lastQishu).key("days").beginArray();
        for (const store::DayCount& d : orThrow(o.archive->countsPerDay(l.lottery)))
            w.beginObject().field("day", d.day).field("draws", d.draws).endObject();
        w.endArray().endObject();
    }
    std::cout << w.endArray().endObject().text();
}

int runInfo(const Args& args) {
    Opened o = openArchive(args);
    store::ArchiveInfo info = orThrow(o.archive->info());
    if (args.last("--lottery")) // only the one asked for (openArchive checked that it is held)
        std::erase_if(info.lotteries,
                      [&](const store::LotteryInfo& l) { return l.lottery != o.lottery; });
    if (args.has("--json")) {
        printInfoJson(o, info);
        return kExitSuccess;
    }
    std::cout << "archive\t" << info.path << "\nbytes\t" << info.fileBytes << '\n';
    for (const store::LotteryInfo& l : info.lotteries) {
        std::cout << "lottery\t" << l.lottery << "\ndraws\t" << l.draws << "\ncorrections\t"
                  << l.corrections << "\nfirst\t" << l.firstQishu << "\nlast\t" << l.lastQishu
                  << '\n';
        const auto days = orThrow(o.archive->countsPerDay(l.lottery));
        for (const store::DayCount& d : days)
            std::cout << "day\t" << d.day << '\t' << d.draws << '\n';
    }
    return 0;
}
} // namespace

int RunArchiveImport(const Args& args) {
    return runImport(args.files(), args);
}

int RunArchiveExport(const Args& args) {
    return runExport(args);
}

int RunArchiveGaps(const Args& args) {
    return runGaps(args);
}

int RunArchiveInfo(const Args& args) {
    return runInfo(args);
}

} // namespace zuohao::cli

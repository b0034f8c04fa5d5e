// zuohao-cli archive: import, export, gaps and info of the draw archive.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Messages.h"
#include "store/DrawArchive.h"
#include "store/ImportText.h"

namespace zuohao::cli {

namespace {
constexpr std::size_t kImportBatch = 10000; // draws per transaction of an import

struct Opened {
    std::unique_ptr<store::Archive> archive;
    std::string lottery;
};

// The archive of --archive PATH, or the user's one (its folder made when missing).
Opened openArchive(const Args& args) {
    std::string path;
    if (auto p = args.last("--archive")) {
        path = *p;
    } else {
        path = store::DefaultArchivePath();
        std::error_code ec;
        std::filesystem::create_directories(store::Utf8Path(path).parent_path(), ec);
    }
    store::OpenReport rep;
    auto a = store::Archive::open(path, &rep);
    if (!a) throw Failure(Describe(a.failure()));
    if (!rep.setAsideAs.empty())
        std::cerr << "warning: the archive would not open (" << rep.setAsideWhy
                  << "); it was set aside as " << rep.setAsideAs << " and a fresh one started\n";
    return {std::move(a).value(), args.last("--lottery").value_or(store::kDefaultLottery)};
}

template <class T> T orThrow(Result<T> r) {
    if (!r) throw Failure(Describe(r.failure()));
    return std::move(r).value();
}

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s)
        q += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

int runImport(const std::vector<std::string>& files, const Args& args) {
    if (files.empty()) throw UsageError("archive import needs at least one FILE");
    Opened o = openArchive(args);
    const auto policy =
        args.has("--prefer-import") ? store::OnConflict::Correct : store::OnConflict::KeepArchived;
    std::int64_t good = 0, added = 0, dup = 0, corrected = 0, bad = 0, conflicts = 0;
    bool failed = false;
    (void)o.archive->setBulkWrites(true);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << "error: cannot read " << file << "\n";
            failed = true;
            continue;
        }
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const store::ImportText text = store::ParseImportText(bytes.str());
        if (text.badLines > 0) {
            std::cerr << "warning: " << file << ": " << text.badLines
                      << " line(s) skipped, not a draw (line";
            for (auto n : text.firstBad)
                std::cerr << " " << n;
            std::cerr << (std::size_t(text.badLines) > text.firstBad.size() ? " ...)\n" : ")\n");
        }
        bad += text.badLines;
        good += std::int64_t(text.draws.size());
        const std::string source = "import:" + file;
        for (std::size_t at = 0; at < text.draws.size(); at += kImportBatch) {
            const std::vector<store::DrawIn> batch(
                text.draws.begin() + std::ptrdiff_t(at),
                text.draws.begin() +
                    std::ptrdiff_t(std::min(at + kImportBatch, text.draws.size())));
            const store::WriteReport r = orThrow(o.archive->add(o.lottery, batch, source, policy));
            added += r.added;
            dup += r.duplicates;
            corrected += r.corrected;
            for (const store::Conflict& c : r.conflicts) {
                if (conflicts < std::int64_t(store::kBadLinesListed))
                    std::cerr << "conflict: " << c.qishu << ": archive has " << c.archivedHaoma
                              << ", " << file << " has " << c.offeredHaoma
                              << " (kept the archive's; --prefer-import takes the file's)\n";
                ++conflicts;
            }
        }
    }
    if (auto r = o.archive->setBulkWrites(false); !r)
        std::cerr << "warning: " << Describe(r.failure()) << "\n";
    std::cout << "imported " << added << " draw(s); " << dup << " already held; " << corrected
              << " corrected; " << conflicts << " conflict(s); " << bad << " line(s) skipped\n";
    if (conflicts > std::int64_t(store::kBadLinesListed))
        std::cerr << "warning: " << conflicts << " conflicts in all\n";
    if (good == 0) {
        std::cerr << "error: no draw could be read\n";
        return 1;
    }
    return failed ? 1 : 0;
}

int runExport(const Args& args) {
    const std::string from = args.period("--from"), to = args.period("--to");
    Opened o = openArchive(args);
    const auto draws = orThrow(o.archive->range(o.lottery, from, to));
    std::ofstream file;
    if (auto p = args.last("--out")) {
        file.open(*p, std::ios::binary);
        if (!file) throw std::runtime_error("cannot write " + *p);
    }
    std::ostream& out = file.is_open() ? file : std::cout;
    if (args.has("--csv")) {
        out << "\xEF\xBB\xBF"
            << "期号,号码,首次见到(UTC),来源,更正\n";
        for (const auto& d : draws)
            out << d.qishu << ',' << d.haoma << ',' << d.seenUtc << ',' << csvField(d.source) << ','
                << (d.corrected ? "是" : "") << '\n';
    } else {
        for (const auto& d : draws)
            out << d.qishu << ' ' << d.haoma << '\n';
    }
    return 0;
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
    const store::ArchiveInfo info = orThrow(o.archive->info());
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

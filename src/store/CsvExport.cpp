#include "store/CsvExport.h"

#include <algorithm>
#include <limits>

namespace zuohao::store {

namespace {
constexpr std::int64_t kExportPage = 5000; // draws read per page

// The page's corrections of one period (the list is in period order).
std::vector<Correction> correctionsOf(const std::vector<Correction>& all, const std::string& q) {
    std::vector<Correction> out;
    for (const Correction& c : all)
        if (c.qishu == q) out.push_back(c);
    return out;
}

bool writeDraw(OutputFile& out, const ExportRequest& r, const ArchivedDraw& d,
               std::int64_t& previous, const std::vector<Correction>& pageCorrections) {
    if (!r.csv) return out.write(d.qishu + ' ' + d.haoma + '\n');
    const std::int64_t gap = previous < 0 ? 0 : PeriodsBetweenValues(previous, d.period);
    previous = d.period;
    return out.write(CsvRow(
        d, gap, d.corrected ? correctionsOf(pageCorrections, d.qishu) : std::vector<Correction>{}));
}
} // namespace

Result<std::int64_t> ExportDraws(Archive& archive, const ExportRequest& r, OutputFile& out,
                                 const ExportProgress& progress) {
    std::int64_t written = 0, previous = -1;
    auto page = [&](const std::vector<ArchivedDraw>& draws) -> Result<void> {
        std::vector<Correction> corrections;
        const bool anyCorrected = std::any_of(draws.begin(), draws.end(),
                                              [](const ArchivedDraw& d) { return d.corrected; });
        if (r.csv && anyCorrected) {
            const auto [lo, hi] = std::minmax_element(
                draws.begin(), draws.end(),
                [](const ArchivedDraw& a, const ArchivedDraw& b) { return a.period < b.period; });
            auto c = archive.corrections(r.lottery, lo->period, hi->period);
            if (!c) return fail(c.error());
            corrections = std::move(c).value();
        }
        for (const ArchivedDraw& d : draws)
            if (!writeDraw(out, r, d, previous, corrections)) return fail(out.error());
        written += std::int64_t(draws.size());
        if (progress && !progress(written)) return fail("export cancelled");
        return {};
    };
    if (r.csv && !out.write(CsvHeader())) return fail(out.error());
    if (!r.day.empty()) {
        auto draws = archive.day(r.lottery, r.day);
        if (!draws) return fail(draws.error());
        if (!draws->empty())
            if (auto done = page(*draws); !done) return fail(done.error());
    } else {
        std::int64_t after = r.fromQishu.empty() ? 0 : PeriodValue(r.fromQishu) - 1;
        const std::int64_t last =
            r.toQishu.empty() ? std::numeric_limits<std::int64_t>::max() : PeriodValue(r.toQishu);
        while (true) {
            auto draws = archive.after(r.lottery, after, last, kExportPage);
            if (!draws) return fail(draws.error());
            if (draws->empty()) break;
            if (auto done = page(*draws); !done) return fail(done.error());
            after = draws->back().period;
        }
    }
    if (auto done = out.commit(); !done) return fail(done.error());
    return written;
}

} // namespace zuohao::store

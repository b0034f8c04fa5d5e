#include "store/ImportText.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LineRule.h"
#include "core/platform/ReadOnlyFile.h"
#include "store/CsvFormat.h"

namespace zuohao::store {

namespace {
constexpr std::size_t kMaxLabelDigits = 18;
constexpr std::size_t kHaomaDigits = 5;
constexpr std::size_t kReadChunk = 1 << 16;

bool digitsOnly(std::string_view s, std::size_t minLen, std::size_t maxLen) {
    return s.size() >= minLen && s.size() <= maxLen &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// "a→b→c" split at the arrows.
std::vector<std::string_view> chain(std::string_view s) {
    std::vector<std::string_view> out;
    while (!s.empty()) {
        const std::size_t at = s.find(kCsvChainArrow);
        out.push_back(trim(s.substr(0, at)));
        if (at == std::string_view::npos) break;
        s.remove_prefix(at + kCsvChainArrow.size());
    }
    return out;
}

// The older numbers of a row from its 更正 and 更正时间(UTC) cells; none unless every number
// is a draw number.
std::vector<PastNumber> pastNumbers(std::string_view numbers, std::string_view times) {
    std::vector<PastNumber> out;
    numbers = trim(numbers);
    if (numbers.substr(0, kCsvPastPrefix.size()) != kCsvPastPrefix) return out;
    numbers.remove_prefix(kCsvPastPrefix.size());
    const auto olds = chain(numbers);
    const auto whens = chain(times);
    for (std::size_t i = 0; i < olds.size(); ++i) {
        if (!digitsOnly(olds[i], kHaomaDigits, kHaomaDigits)) return {};
        out.push_back({std::string(olds[i]), i < whens.size() ? std::string(whens[i]) : ""});
    }
    return out;
}
} // namespace

std::vector<std::string> SplitCsvLine(std::string_view line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                out.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

void ImportParser::bad(bool tooLong) {
    ++m_text.badLines;
    m_text.longLines += tooLong;
    if (m_text.firstBad.size() < kBadLinesListed) m_text.firstBad.push_back(m_text.lines);
}

// A first line that names the columns: where each field is. False when it names none.
bool ImportParser::header(const std::vector<std::string>& fields) {
    int found = 0;
    for (int f = 0; f < FieldCount; ++f)
        m_columns[f] = -1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view name = trim(fields[i]);
        for (int f = 0; f < FieldCount; ++f)
            if (CsvColumnIs(f, name) && m_columns[f] < 0) {
                m_columns[f] = int(i);
                ++found;
            }
    }
    if (m_columns[Qishu] < 0 || m_columns[Haoma] < 0) {
        const int positional[FieldCount] = {0, 1, -1, -1, -1, -1};
        std::copy(std::begin(positional), std::end(positional), m_columns);
    }
    return found > 0;
}

void ImportParser::csvRow(std::string_view line) {
    const auto f = SplitCsvLine(line);
    auto cell = [&](Field which) -> std::string_view {
        const int at = m_columns[which];
        return at >= 0 && std::size_t(at) < f.size() ? trim(f[std::size_t(at)]) : "";
    };
    const bool first = m_firstContent;
    m_firstContent = false;
    if (first && header(f)) return;
    const std::string_view q = cell(Qishu), h = cell(Haoma);
    if (!digitsOnly(q, 1, kMaxLabelDigits) || !digitsOnly(h, kHaomaDigits, kHaomaDigits)) {
        if (!first) bad(false); // a first line that is no draw is the column titles
        return;
    }
    DrawIn d{std::string(q), std::string(h)};
    if (IsUtcIso(cell(Seen))) d.seenUtc = std::string(cell(Seen));
    d.source = std::string(cell(Source));
    d.past = pastNumbers(cell(Past), cell(PastTimes));
    m_text.draws.push_back(std::move(d));
    ++m_text.drawsRead;
}

void ImportParser::line(const DecodedLine& l) {
    ++m_text.lines;
    if (m_text.lines == 1)
        m_text.firstLineTooLong = l.overLong || (l.text.find(',') == std::string_view::npos &&
                                                 l.text.size() > kDrawLineCap);
    if (l.overLong) {
        bad(true);
        m_firstContent = false;
        return;
    }
    const std::string_view line = trim(l.text);
    if (line.empty()) return;
    if (m_firstContent) m_text.csv = line.find(',') != std::string_view::npos;
    if (m_text.csv) {
        csvRow(line);
        return;
    }
    m_firstContent = false;
    if (l.text.size() > kDrawLineCap) {
        bad(true);
        return;
    }
    // A carriage return at the line end counts in the draw rule's length test, as in the file.
    const ParsedDrawText parsed =
        ParseDrawText(l.crEnded ? std::string(l.text) + '\r' : std::string(l.text));
    if (parsed.draws.size() == 1 && digitsOnly(parsed.draws[0].qishu, 1, kMaxLabelDigits)) {
        m_text.draws.push_back({parsed.draws[0].qishu, parsed.draws[0].haoma});
        ++m_text.drawsRead;
    } else {
        bad(false);
    }
}

ImportText ParseImportText(std::string_view bytes) {
    ImportParser parser;
    DrawLineDecoder decoder(kCsvLineCap);
    const DrawLineDecoder::Sink sink = [&](const DecodedLine& l) { parser.line(l); };
    decoder.feed(bytes, sink);
    decoder.finish(sink);
    return std::move(parser.text());
}

std::string RegularFileProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(Utf8Path(path), ec);
    if (!fs::exists(st)) return "no such file";
    if (fs::is_directory(st)) return "not a regular file (a folder)";
    if (!fs::is_regular_file(st)) return "not a regular file (a pipe or device)";
    return {};
}

Result<void> ReadTextLines(const std::string& path, std::size_t lineCap,
                           const std::function<bool(const DecodedLine&)>& take) {
    auto refuse = [&](const std::string& why) {
        return fail(ErrorCode::ReadFailed, path + ": " + why, path);
    };
    if (const std::string why = RegularFileProblem(path); !why.empty()) return refuse(why);
    platform::ReadOnlyFile file;
    if (!file.open(path)) return refuse("cannot be read");
    DrawLineDecoder decoder(lineCap);
    bool stopped = false;
    bool anyLine = false;
    const DrawLineDecoder::Sink sink = [&](const DecodedLine& l) {
        anyLine = true;
        if (!stopped) stopped = !take(l);
    };
    // Past this many bytes without a line end the first line is over the cap in any encoding
    // (UTF-16 takes at most two bytes for a UTF-8 one, and a byte-order mark): it is handed
    // on as over long at once instead of being read to its end, however long that is.
    const std::size_t firstLineBytes = 2 * lineCap + 4;
    std::size_t fed = 0;
    std::string chunk(kReadChunk, '\0');
    while (!stopped) {
        const auto got = file.read(chunk.data(), chunk.size());
        if (!got) return refuse("read error");
        if (*got == 0) break;
        decoder.feed(std::string_view(chunk.data(), *got), sink);
        fed += *got;
        if (!anyLine && fed > firstLineBytes) {
            take(DecodedLine{{}, false, false, true});
            return {};
        }
    }
    if (!stopped) decoder.finish(sink);
    return {};
}

Result<ImportText> ReadImportFile(const std::string& path,
                                  const std::function<bool(std::vector<DrawIn>&)>& take) {
    return ReadImportFileFrom(
        path, 0, [&](std::vector<DrawIn>& batch, std::int64_t) { return take(batch); });
}

std::string ImportFileIdentity(const std::string& path) {
    namespace fs = std::filesystem;
    constexpr std::size_t kHeadBytes = 4096;
    std::error_code ec;
    const fs::path p = fs::absolute(Utf8Path(path), ec);
    const auto size = fs::file_size(p, ec);
    if (ec) return {};
    const auto time = fs::last_write_time(p, ec).time_since_epoch().count();
    if (ec) return {};
    platform::ReadOnlyFile file;
    if (!file.open(path)) return {};
    std::string head(kHeadBytes, '\0');
    const auto got = file.read(head.data(), head.size());
    if (!got) return {};
    std::uint64_t digest = 14695981039346656037ull; // FNV-1a
    for (std::size_t i = 0; i < *got; ++i)
        digest = (digest ^ static_cast<unsigned char>(head[i])) * 1099511628211ull;
    return Utf8Text(p) + "|" + std::to_string(size) + "|" + std::to_string(time) + "|" +
           std::to_string(digest);
}

Result<ImportText>
ReadImportFileFrom(const std::string& path, std::int64_t skipLines,
                   const std::function<bool(std::vector<DrawIn>&, std::int64_t lines)>& take) {
    ImportParser parser;
    parser.text().draws.reserve(kImportBatch);
    bool stopped = false;
    auto hand = [&](bool all) {
        std::vector<DrawIn>& draws = parser.text().draws;
        if (stopped || draws.empty() || (!all && draws.size() < kImportBatch)) return;
        std::vector<DrawIn> batch;
        batch.swap(draws);
        draws.reserve(kImportBatch); // the next batch grows without moving its draws
        stopped = !take(batch, parser.text().lines);
    };
    auto read = ReadTextLines(path, kCsvLineCap, [&](const DecodedLine& l) {
        parser.line(l);
        if (parser.text().firstLineTooLong) return false;
        if (parser.text().lines <= skipLines) parser.text().draws.clear(); // written before
        hand(false);
        return !stopped;
    });
    if (!read) return read.failure();
    if (parser.text().firstLineTooLong)
        return fail(ErrorCode::ReadFailed, path + ": first line too long to be a draw line", path);
    hand(true);
    parser.text().draws.clear();
    return std::move(parser.text());
}

} // namespace zuohao::store

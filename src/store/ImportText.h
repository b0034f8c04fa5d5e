#pragma once
// The text of an import file: draw files in the betting program's format (every line by the
// draw line rule, not only the first 99) or CSV (a header line and a UTF-8 byte-order mark are
// allowed). A CSV with the archive's own header (CsvExport.h) brings back first-seen times,
// sources and older numbers; without a header its first two fields are period and number.
// Files are read a batch at a time, in bounded memory, by the decoder of the draw file.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/acquire/LineDecoder.h"
#include "store/DrawArchive.h"

namespace zuohao::store {

inline constexpr std::size_t kBadLinesListed = 5; // line numbers kept for the report
// Longest CSV row taken, in bytes: a row carries a source path and a correction history.
// Lines in the draw file's format are held to the draw file's own cap (kDrawLineCap).
inline constexpr std::size_t kCsvLineCap = 4096;
inline constexpr std::size_t kImportBatch = 10000; // draws per transaction of an import

struct ImportText {
    std::vector<DrawIn> draws;          // in file order (ReadImportFile: the batch not yet taken)
    std::int64_t lines = 0;             // lines read
    std::int64_t badLines = 0;          // non-blank lines that are no draw
    std::int64_t longLines = 0;         // of them, lines longer than a line may be
    std::vector<std::int64_t> firstBad; // their first line numbers (1-based), at most 5
    std::int64_t drawsRead = 0;         // draws found in all
    bool csv = false;
    bool firstLineTooLong = false; // the very first line is longer than a draw line may be
};

// Takes the lines of one import text, one at a time.
class ImportParser {
public:
    void line(const DecodedLine& l);
    ImportText& text() { return m_text; }

private:
    enum Field { Qishu, Haoma, Seen, Source, Past, PastTimes, FieldCount };
    void bad(bool tooLong);
    bool header(const std::vector<std::string>& fields);
    void csvRow(std::string_view line);

    ImportText m_text;
    bool m_firstContent = true;
    int m_columns[FieldCount] = {0, 1, -1, -1, -1, -1}; // field index of each, -1 when absent
};

// Parses a whole text in memory (tests, fuzzing).
ImportText ParseImportText(std::string_view bytes);

// One CSV field list (RFC 4180 quoting); the line has no line break.
std::vector<std::string> SplitCsvLine(std::string_view line);

// Why the file at `path` is no text file to read, in English ("no such file", "not a regular
// file (a pipe or device)", ...); empty for a regular file.
std::string RegularFileProblem(const std::string& path);

// Reads the text file at `path` line by line through the draw file's decoder (UTF-8, GB18030
// or UTF-16), each line held to `lineCap` bytes, in bounded memory, and hands the lines to
// `take` in order; `take` returning false stops the read. A first line still without its end
// after twice `lineCap` bytes is handed on as over long and ends the read. Only a regular file is
// read: a pipe may never start or end and a device may never end, so either (and a folder) is
// refused by name (ErrorCode::ReadFailed, the path as subject, the reason in English).
Result<void> ReadTextLines(const std::string& path, std::size_t lineCap,
                           const std::function<bool(const DecodedLine&)>& take);

// Reads the import file at `path` (as ReadTextLines) and hands its draws to `take` in file
// order, kImportBatch at a time; the batch is moved out of the vector. `take` returning false
// stops the read. A file whose first line is too long to be a draw line is refused unread
// beyond it. The summary counts every line read (draws: the draws vector is empty).
Result<ImportText> ReadImportFile(const std::string& path,
                                  const std::function<bool(std::vector<DrawIn>&)>& take);
// The same, with the draws of the first `skipLines` lines left out (an import that was cut
// short wrote them already); `take` also gets the lines read so far, all of whose draws are
// in the batch or were handed on before.
Result<ImportText>
ReadImportFileFrom(const std::string& path, std::int64_t skipLines,
                   const std::function<bool(std::vector<DrawIn>&, std::int64_t lines)>& take);

// What tells one import file from another and from an earlier state of itself: its path, size,
// time and a digest of its first bytes. Empty when it cannot be read.
std::string ImportFileIdentity(const std::string& path);

} // namespace zuohao::store

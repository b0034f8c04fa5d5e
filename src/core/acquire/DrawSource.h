#pragma once
// Where the draw text comes from. The betting program's file is the usual source; tests
// and other front ends plug in their own.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/acquire/LineDecoder.h"
#include "core/acquire/LineRule.h"

namespace zuohao {

class DrawSource {
public:
    virtual ~DrawSource() = default;
    // The head of the draw text as UTF-8 with line feeds, or nothing when there is no text
    // (no file, a locked, unreadable or empty file).
    virtual std::optional<std::string> ReadText() = 0;
    // Why the last ReadText gave no text, in words for the status line (empty when it gave
    // text or the source cannot tell).
    virtual std::string lastProblem() const { return {}; }
};

// Longest line of the draw file that is looked at, in bytes; a longer line is not a draw line.
inline constexpr std::size_t kDrawLineCap = 256; // a draw line is some 40 bytes
// Most bytes read of the draw file per pass: 99 lines of the longest accepted length with
// their line ends, twice over for UTF-16. A file of any size costs at most this much.
inline constexpr std::size_t kDrawReadCap = std::size_t(kDrawFileLines) * (kDrawLineCap + 2) * 2;

// Why a read of the draw file gave no text.
enum class DrawFileProblem {
    None,
    NoPath,
    CannotOpen,
    ReadError,
    Empty,
    Unsteady,
    FirstLineTooLong
};

// The status-line words for a problem ("" for None).
const char* DrawFileProblemText(DrawFileProblem problem);

struct DrawFileRead {
    std::optional<std::string> text;
    DrawFileProblem problem = DrawFileProblem::None;
};

// Reads the file at a path: at most kDrawReadCap bytes and no further than the 99th line end,
// in two passes that must agree (a file rewritten while read gives no text this time).
DrawFileRead ReadDrawFile(const std::string& path);

// ReadDrawFile's text alone.
std::optional<std::string> ReadDrawFileHead(const std::string& path);

// Turns the first bytes of a draw file into the text the line rule reads, by DrawLineDecoder
// with the cap kDrawLineCap: a line over it becomes empty; lines end at LF, CR LF or a lone
// CR (a lone CR reads as CR LF, so the line lengths are those of a CR LF file); only the
// first 99 lines are kept. Every line but an unfinished last one ends in a line feed.
std::string DecodeDrawFileHead(std::string_view raw);

// The file at a path, read by the rules above.
class FileDrawSource : public DrawSource {
public:
    static constexpr std::size_t kLineCap = kDrawLineCap;

    void setPath(std::string path) { m_path = std::move(path); }
    const std::string& path() const { return m_path; }
    std::optional<std::string> ReadText() override;
    std::string lastProblem() const override { return DrawFileProblemText(m_problem); }

private:
    std::string m_path;
    DrawFileProblem m_problem = DrawFileProblem::None;
};

} // namespace zuohao

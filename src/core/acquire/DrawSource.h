#pragma once
// Where the draw text comes from. The betting program's file is the usual source; tests
// and other front ends plug in their own.
#include <optional>
#include <string>

namespace zuohao {

class DrawSource {
public:
    virtual ~DrawSource() = default;
    // The head of the draw text as UTF-8, or nothing when there is no text (no file, a
    // locked, unreadable or empty file).
    virtual std::optional<std::string> ReadText() = 0;
};

// Reads the file at a path: only up to the 99th line break, each line capped in length,
// each line decoded as UTF-8 or else as GB18030 (the system code page of the betting
// program); a multi-byte GB18030 character becomes U+FFFD, one character as in the file.
class FileDrawSource : public DrawSource {
public:
    static constexpr std::size_t kLineCap = 4096; // a longer line is not a draw line

    void setPath(std::string path) { m_path = std::move(path); }
    const std::string& path() const { return m_path; }
    std::optional<std::string> ReadText() override;

private:
    std::string m_path;
};

// Reads the head of a file by the rules above (nothing on any failure or an empty file).
std::optional<std::string> ReadDrawFileHead(const std::string& path);

// Decodes one line: kept when it is valid UTF-8, otherwise segmented as GB18030.
std::string DecodeDrawLine(std::string_view bytes);

// A text with every byte a text of that encoding: true when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

} // namespace zuohao

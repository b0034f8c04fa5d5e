#pragma once
// The one reader of draw text bytes: the draw file's head and an import file alike, fed a
// piece at a time so that a file of any size costs a bounded amount of memory.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zuohao {

// Decodes one line: kept when it is valid UTF-8, otherwise segmented as GB18030 (the system
// code page of the betting program); a multi-byte GB18030 character becomes U+FFFD, one
// character as in the file.
std::string DecodeDrawLine(std::string_view bytes);

// One line out of the decoder.
struct DecodedLine {
    std::string_view text; // UTF-8, without its line end; empty when over the cap
    bool crEnded = false;  // it ended in CR (CR LF or a lone CR)
    bool finished = true;  // it had a line end (false: the unfinished last line)
    bool overLong = false; // it was longer than the cap and was dropped
};

// Splits bytes into lines: UTF-16 (LE or BE, with its byte-order mark) becomes UTF-8 (an
// unpaired surrogate is U+FFFD, an odd last byte is dropped), a UTF-8 byte-order mark is
// dropped; lines end at LF, CR LF or a lone CR; each line is decoded by DecodeDrawLine. A line
// over `lineCap` bytes (as UTF-8) is not kept: it comes out empty and marked over long, and
// costs no more memory than the cap.
class DrawLineDecoder {
public:
    using Sink = std::function<void(const DecodedLine&)>;

    explicit DrawLineDecoder(std::size_t lineCap) : m_cap(lineCap) {}
    // Decodes the next bytes; `sink` gets every line they finish.
    void feed(std::string_view bytes, const Sink& sink);
    // The end of the bytes: `sink` gets the unfinished last line, if there is one.
    void finish(const Sink& sink);

private:
    enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be };
    void start(const Sink& sink); // the head is known: choose the encoding
    void dispatch(std::string_view bytes, const Sink& sink);
    void decodeUtf16(std::string_view bytes, const Sink& sink);
    void appendUtf8Piece(const Sink& sink, unsigned codePoint);
    void take(std::string_view utf8, const Sink& sink); // UTF-8 bytes into lines
    void append(std::string_view piece);
    void endLine(bool cr, bool finished, const Sink& sink);

    std::size_t m_cap;
    Encoding m_encoding = Encoding::Unknown;
    std::string m_head;      // the first bytes, until the byte-order mark is known
    std::string m_line;      // the line so far (up to the cap)
    bool m_overLong = false; // the line so far is past the cap
    bool m_afterCr = false;  // the last byte was a CR: an LF right after belongs to it
    std::string m_oddByte;   // UTF-16: a byte of a unit still to come
    unsigned m_highUnit = 0; // UTF-16: a high surrogate waiting for its low half
    std::string m_utf8;      // UTF-16: a piece converted
    std::string m_decoded;   // the line handed to the sink
};

} // namespace zuohao

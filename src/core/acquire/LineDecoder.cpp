#include "core/acquire/LineDecoder.h"

#include <algorithm>

#include "core/model/Text.h"

namespace zuohao {

std::string DecodeDrawLine(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    static constexpr const char* kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char c = at(i);
        if (c < 0x80) {
            out.push_back(char(c));
            ++i;
            continue;
        }
        // GB18030: lead 81-FE, then 40-7E/80-FE (two bytes) or 30-39 81-FE 30-39 (four).
        if (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) {
            unsigned char t = at(i + 1);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFE)) {
                out += kReplacement;
                i += 2;
                continue;
            }
            if (t >= 0x30 && t <= 0x39 && i + 3 < bytes.size() && at(i + 2) >= 0x81 &&
                at(i + 2) <= 0xFE && at(i + 3) >= 0x30 && at(i + 3) <= 0x39) {
                out += kReplacement;
                i += 4;
                continue;
            }
        }
        out += kReplacement; // a stray byte is one unknown character
        ++i;
    }
    return out;
}

namespace {
constexpr unsigned kReplacementChar = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kHeadBytes = 3; // enough to tell every byte-order mark

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

bool isHighSurrogate(unsigned u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(unsigned u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
} // namespace

void DrawLineDecoder::feed(std::string_view bytes, const Sink& sink) {
    if (m_encoding == Encoding::Unknown) {
        // The first bytes wait until it is known whether they are a byte-order mark.
        const std::size_t n = std::min(kHeadBytes - m_head.size(), bytes.size());
        m_head.append(bytes.substr(0, n));
        bytes.remove_prefix(n);
        if (m_head.size() < kHeadBytes) return;
        start(sink);
    }
    dispatch(bytes, sink);
}

void DrawLineDecoder::finish(const Sink& sink) {
    if (m_encoding == Encoding::Unknown) start(sink);
    if (m_highUnit != 0) appendUtf8Piece(sink, kReplacementChar); // unpaired at the end
    m_highUnit = 0;
    m_oddByte.clear(); // an odd last byte of UTF-16 is no character
    if (!m_line.empty() || m_overLong) endLine(false, false, sink);
}

void DrawLineDecoder::start(const Sink& sink) {
    const std::string head = m_head;
    m_head.clear();
    std::string_view h = head;
    m_encoding = Encoding::Utf8;
    if (h.size() >= 2 && h[0] == '\xFF' && h[1] == '\xFE') {
        m_encoding = Encoding::Utf16Le;
        h.remove_prefix(2);
    } else if (h.size() >= 2 && h[0] == '\xFE' && h[1] == '\xFF') {
        m_encoding = Encoding::Utf16Be;
        h.remove_prefix(2);
    } else if (h.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        h.remove_prefix(kUtf8Bom.size());
    }
    dispatch(h, sink);
}

void DrawLineDecoder::dispatch(std::string_view bytes, const Sink& sink) {
    if (m_encoding == Encoding::Utf8)
        take(bytes, sink);
    else
        decodeUtf16(bytes, sink);
}

void DrawLineDecoder::appendUtf8Piece(const Sink& sink, unsigned codePoint) {
    m_utf8.clear();
    appendUtf8(m_utf8, codePoint);
    take(m_utf8, sink);
}

void DrawLineDecoder::decodeUtf16(std::string_view bytes, const Sink& sink) {
    m_utf8.clear();
    const bool little = m_encoding == Encoding::Utf16Le;
    auto unitAt = [little](unsigned char a, unsigned char b) {
        return little ? unsigned(a) | (unsigned(b) << 8) : (unsigned(a) << 8) | unsigned(b);
    };
    std::size_t i = 0;
    auto nextUnit = [&](unsigned& u) {
        if (!m_oddByte.empty()) {
            if (i >= bytes.size()) return false;
            u = unitAt(static_cast<unsigned char>(m_oddByte[0]),
                       static_cast<unsigned char>(bytes[i++]));
            m_oddByte.clear();
            return true;
        }
        if (i + 1 >= bytes.size()) return false;
        u = unitAt(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]));
        i += 2;
        return true;
    };
    unsigned u = 0;
    while (nextUnit(u)) {
        if (m_highUnit != 0) {
            const unsigned high = m_highUnit;
            m_highUnit = 0;
            if (isLowSurrogate(u)) {
                appendUtf8(m_utf8, 0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00));
                continue;
            }
            appendUtf8(m_utf8, kReplacementChar);
        }
        if (isHighSurrogate(u))
            m_highUnit = u;
        else
            appendUtf8(m_utf8, isLowSurrogate(u) ? kReplacementChar : u);
    }
    if (i < bytes.size()) m_oddByte.assign(bytes.substr(i));
    take(m_utf8, sink);
}

void DrawLineDecoder::take(std::string_view utf8, const Sink& sink) {
    while (!utf8.empty()) {
        if (m_afterCr) {
            m_afterCr = false;
            if (utf8.front() == '\n') { // the LF of a CR LF
                utf8.remove_prefix(1);
                continue;
            }
        }
        const std::size_t end = utf8.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            append(utf8);
            return;
        }
        append(utf8.substr(0, end));
        const bool cr = utf8[end] == '\r';
        utf8.remove_prefix(end + 1);
        endLine(cr, true, sink);
        m_afterCr = cr;
    }
}

void DrawLineDecoder::append(std::string_view piece) {
    if (m_overLong) return;
    if (m_line.size() + piece.size() > m_cap) {
        m_overLong = true;
        m_line.clear();
        return;
    }
    m_line.append(piece);
}

void DrawLineDecoder::endLine(bool cr, bool finished, const Sink& sink) {
    DecodedLine line;
    line.crEnded = cr;
    line.finished = finished;
    line.overLong = m_overLong;
    if (!m_overLong) {
        m_decoded = DecodeDrawLine(m_line);
        line.text = m_decoded;
    }
    m_line.clear();
    m_overLong = false;
    sink(line);
}

} // namespace zuohao

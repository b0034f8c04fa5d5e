#include "cli/Json.h"

#include <cstdio>

namespace zuohao::cli {

namespace {

// The length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t len = 0;
    unsigned lowest = 0;
    if (c >= 0xC2 && c <= 0xDF)
        len = 2, lowest = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        len = 3, lowest = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        len = 4, lowest = 0x10000;
    else
        return 0;
    if (i + len > s.size()) return 0;
    unsigned cp = c & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return cp < lowest || cp > 0x10FFFF || surrogate ? 0 : len;
}

bool isJsonNumber(std::string_view s) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < s.size() && s[i] == '-') ++i;
    const std::size_t start = i;
    const std::size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && s[start] == '0')) return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

} // namespace

std::string JsonQuoted(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const std::size_t len = utf8Length(s, i);
            out += len ? s.substr(i, len) : std::string_view("\\ufffd");
            i += len ? len : 1;
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
        ++i;
    }
    return out + "\"";
}

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_empty.empty()) {
        if (!m_empty.back()) m_out += ',';
        m_empty.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    m_out += '{';
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_out += '}';
    m_empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    m_out += '[';
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_out += ']';
    m_empty.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    m_out += JsonQuoted(name) + ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
    beforeValue();
    m_out += JsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t value) {
    beforeValue();
    m_out += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::number(std::string_view decimal) {
    if (!isJsonNumber(decimal)) return string(decimal);
    beforeValue();
    m_out += decimal;
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    beforeValue();
    m_out += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    m_out += "null";
    return *this;
}

JsonWriter JsonDocument(std::string_view command) {
    JsonWriter w;
    w.beginObject().field("version", kJsonVersion).field("command", command);
    return w;
}

} // namespace zuohao::cli

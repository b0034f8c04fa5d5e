#pragma once
// A strict little JSON reader for checking zuohao-cli's --json output: numbers keep their
// text, so that they compare with the text output digit for digit. Throws on bad JSON.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace clitest {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    std::string text; // a number's digits or a string's value; "true"/"false" for a bool
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& k) const { return members.at(k); }
    const Json& operator[](std::size_t i) const { return items.at(i); }
    bool isNull() const { return kind == Kind::Null; }
};

class JsonReader {
public:
    static Json parse(const std::string& s) {
        JsonReader r{s};
        Json v = r.value();
        r.space();
        if (r.m_at != s.size()) r.fail("text after the document");
        return v;
    }

private:
    explicit JsonReader(const std::string& s) : m_s(s) {}
    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(std::string(what) + " at " + std::to_string(m_at));
    }
    void space() {
        while (m_at < m_s.size() && std::string(" \t\r\n").find(m_s[m_at]) != std::string::npos)
            ++m_at;
    }
    bool eat(char c) {
        space();
        if (m_at < m_s.size() && m_s[m_at] == c) return ++m_at, true;
        return false;
    }
    bool word(const char* w) {
        const std::string ws(w);
        if (m_s.compare(m_at, ws.size(), ws) != 0) return false;
        return m_at += ws.size(), true;
    }
    std::string string() {
        if (!eat('"')) fail("a string expected");
        std::string out;
        while (m_at < m_s.size() && m_s[m_at] != '"') {
            const char c = m_s[m_at++];
            if (static_cast<unsigned char>(c) < 0x20) fail("a raw control character");
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = m_s.at(m_at++);
            const std::string simple = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
            if (e == 'u') {
                const unsigned cp = unsigned(std::stoul(m_s.substr(m_at, 4), nullptr, 16));
                m_at += 4;
                if (cp < 0x80)
                    out += char(cp);
                else
                    out += cp == 0xFFFD ? "\xEF\xBF\xBD" : "?";
            } else if (simple.find(e) != std::string::npos) {
                out += meant[simple.find(e)];
            } else {
                fail("a bad escape");
            }
        }
        if (!eat('"')) fail("an unterminated string");
        return out;
    }
    Json value() {
        space();
        Json v;
        if (m_at >= m_s.size()) fail("a value expected");
        const char c = m_s[m_at];
        if (c == '{' || c == '[') {
            ++m_at;
            v.kind = c == '{' ? Json::Kind::Object : Json::Kind::Array;
            const char close = c == '{' ? '}' : ']';
            if (eat(close)) return v;
            do {
                if (c == '[') {
                    v.items.push_back(value());
                    continue;
                }
                std::string k = string();
                if (!eat(':')) fail("':' expected");
                v.members[k] = value();
            } while (eat(','));
            if (!eat(close)) fail("',' or the end of a container expected");
        } else if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = string();
        } else if (word("true")) {
            v.kind = Json::Kind::Bool;
            v.text = "true";
        } else if (word("false")) {
            v.kind = Json::Kind::Bool;
            v.text = "false";
        } else if (word("null")) {
        } else {
            const std::size_t start = m_at;
            while (m_at < m_s.size() &&
                   std::string("-+.eE0123456789").find(m_s[m_at]) != std::string::npos)
                ++m_at;
            if (m_at == start) fail("a value expected");
            v.kind = Json::Kind::Number;
            v.text = m_s.substr(start, m_at - start);
        }
        return v;
    }

    const std::string& m_s;
    std::size_t m_at = 0;
};

} // namespace clitest

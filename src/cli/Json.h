#pragma once
// A small JSON writer for the --json output: one document, written as it is built, with
// the strings escaped (UTF-8 passes through, control characters and invalid bytes do not).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zuohao::cli {

// The version of the JSON documents: raised when a field changes meaning or goes away.
inline constexpr int kJsonVersion = 1;

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view text);
    JsonWriter& integer(std::int64_t value);
    // A number given as the decimal text the text output prints (so both show the same
    // digits); a text that is not a JSON number is written as a string.
    JsonWriter& number(std::string_view decimal);
    JsonWriter& boolean(bool value);
    JsonWriter& null();

    template <class T> JsonWriter& field(std::string_view name, const T& value) {
        key(name);
        return put(value);
    }

    // The document with a final line break.
    std::string text() const { return m_out + "\n"; }

private:
    JsonWriter& put(std::string_view v) { return string(v); }
    JsonWriter& put(const std::string& v) { return string(v); }
    JsonWriter& put(const char* v) { return string(v); }
    JsonWriter& put(bool v) { return boolean(v); }
    JsonWriter& put(int v) { return integer(v); }
    JsonWriter& put(long v) { return integer(v); }
    JsonWriter& put(long long v) { return integer(v); }
    JsonWriter& put(unsigned long v) { return integer(std::int64_t(v)); }
    JsonWriter& put(unsigned long long v) { return integer(std::int64_t(v)); }
    void beforeValue();

    std::string m_out;
    std::vector<bool> m_empty; // per open container: nothing written in it yet
    bool m_afterKey = false;
};

// A document begun with its "version" and "command" fields; the caller adds the rest and
// closes it with endObject().
JsonWriter JsonDocument(std::string_view command);

// `text` as a JSON string literal, quotes included.
std::string JsonQuoted(std::string_view text);

} // namespace zuohao::cli

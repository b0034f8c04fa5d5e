#pragma once
// A cell of a statistics row: empty, a number or a text. A hit mark is a text made of the
// mark character (code 30) followed by the cell's own index.
#include <string>
#include <string_view>

#include "core/model/Text.h"

namespace zuohao {

inline constexpr char kMarkChar = '\x1e';

struct Cell {
    enum class Kind : unsigned char { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;

    static Cell ofNumber(double v) { return Cell{Kind::Number, v, {}}; }
    static Cell ofText(std::string t) { return Cell{Kind::Text, 0, std::move(t)}; }
    static Cell mark(std::string_view index) {
        std::string t(1, kMarkChar);
        t.append(index);
        return ofText(std::move(t));
    }

    bool isEmpty() const { return kind == Kind::Empty; }
    bool isMark() const { return kind == Kind::Text && !text.empty() && text[0] == kMarkChar; }
    // The numeric value: a number is itself; a text is read by its numeric prefix
    // (a hit mark therefore counts 0); empty counts 0.
    double value() const {
        if (kind == Kind::Number) return number;
        if (kind == Kind::Text) return NumericValue(text);
        return 0;
    }
    // What a display prints: the text with every mark character removed, a number in
    // plain decimal, nothing for an empty cell.
    std::string shown() const {
        if (kind == Kind::Number) return DecimalText(number);
        if (kind == Kind::Text) return RemoveChar(text, kMarkChar);
        return {};
    }
    bool operator==(const Cell&) const = default;
};

} // namespace zuohao

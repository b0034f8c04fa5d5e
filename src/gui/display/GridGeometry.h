#pragma once
// Shape of the history grid: sizes (given in twips, 15 twips to a pixel), the trend blocks,
// the red block separators and the colour of each statistics column.
#include <QColor>

namespace zuohao::gui::grid {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

inline constexpr int kColumns = 69;   // 0 (hidden) .. 68
inline constexpr int kHeaderRows = 2; // rows 0 and 1 are the fixed header rows
inline constexpr int kFirstStatColumn = 3;
inline constexpr int kLastColumn = 68;
inline constexpr int kSelectChecks = 66; // one selection box per column 3 .. 68

inline constexpr int kRowHeight = TwipsToPixels(285);
inline constexpr int kHeaderRowHeight = TwipsToPixels(330);
inline constexpr int kFontPointSize = 9;

inline constexpr int ColumnWidth(int col) {
    return col == 1 ? TwipsToPixels(1350) : col == 2 ? TwipsToPixels(750) : TwipsToPixels(270);
}

// A red separator stands between column c and c + 1 for these c.
inline constexpr bool HasSeparatorRight(int col) {
    switch (col) {
    case 2:
    case 12:
    case 16:
    case 26:
    case 30:
    case 40:
    case 44:
    case 54:
    case 58:
        return true;
    default:
        return false;
    }
}

// Background of a statistics cell (columns 3 .. 68), unmarked and marked (a hit).
struct CellColours {
    QColor unmarked;
    QColor marked;
};
CellColours StatCellColours(int col);

} // namespace zuohao::gui::grid

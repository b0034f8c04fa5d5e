#pragma once
// Shape of the history grid: sizes (given in twips), the colour of each statistics column.
// Its columns, trend blocks and red block separators are those of a statistics row
// (core/model/GridLayout.h).
#include <QColor>

#include "core/model/ConditionSet.h"
#include "core/model/GridLayout.h"
#include "gui/common/Twips.h"

namespace zuohao::gui::grid {

using zuohao::HasSeparatorRight;
using zuohao::kFirstStatColumn;
using zuohao::kLastColumn;
inline constexpr int kColumns = kGridColumns;     // 0 (hidden) .. kLastColumn
inline constexpr int kHeaderRows = 2;             // rows 0 and 1 are the fixed header rows
inline constexpr int kPeriodColumn = 1;           // 期号
inline constexpr int kSelectChecks = kCheckCount; // one selection box per statistics column

inline constexpr int kRowHeight = TwipsToPixels(285);
inline constexpr int kHeaderRowHeight = TwipsToPixels(330);
inline constexpr int kFontPointSize = 9;

inline constexpr int ColumnWidth(int col) {
    return col == 1 ? TwipsToPixels(1350) : col == 2 ? TwipsToPixels(750) : TwipsToPixels(270);
}

// The hot-order digits of block 0: places 0 .. 2 are hot, 3 .. 6 warm, 7 .. 9 cold.
inline constexpr int kFirstWarmPlace = 3;
inline constexpr int kFirstColdPlace = 7;

// Background of a statistics cell (columns 3 .. 68), unmarked and marked (a hit).
struct CellColours {
    QColor unmarked;
    QColor marked;
};
CellColours StatCellColours(int col);

} // namespace zuohao::gui::grid

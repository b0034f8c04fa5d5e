#include "gui/display/GridGeometry.h"

#include "gui/display/GridPalette.h"

namespace zuohao::gui::grid {

CellColours StatCellColours(int col) {
    const auto& palette = GridPalette();
    if (col < kFirstStatColumn || col > kLastColumn) return {};
    const int g = BlockOf(col);
    const int k = PlaceOf(col);
    if (IsDrawBoxPlace(k)) return {palette[5].pale, palette[5].strong};
    if (g == 0) {
        // The ten hot-order digits: hot on the block colour, warm on white, cold on grey;
        // a hit is always the block's strong colour.
        if (k >= kFirstColdPlace) return {palette[6].pale, palette[0].strong};
        if (k >= kFirstWarmPlace) return {QColor(Qt::white), palette[0].strong};
    }
    return {palette[std::size_t(g)].pale, palette[std::size_t(g)].strong};
}

} // namespace zuohao::gui::grid

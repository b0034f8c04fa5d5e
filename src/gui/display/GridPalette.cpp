#include "gui/display/GridPalette.h"

namespace zuohao::gui {

QColor ColorFromBgr(std::uint32_t bbggrr) {
    const int red = int(bbggrr & 0xFF);
    const int green = int((bbggrr >> 8) & 0xFF);
    const int blue = int((bbggrr >> 16) & 0xFF);
    return QColor(red, green, blue);
}

const std::array<ColourPair, kPaletteSize>& GridPalette() {
    // Strong and pale colour of each index, as the players know them from the grid:
    // 0 ten-draw hot digits, 1 three-digit sum tails, 2 two-digit sums, 3 two-digit
    // differences, 4 sum tail, 5 the draw-box columns, 6 the cold digits (grey).
    static const std::array<ColourPair, kPaletteSize> palette{{
        {ColorFromBgr(0x0965C3), ColorFromBgr(0x9AC9F9)},
        {ColorFromBgr(0x8B8B00), ColorFromBgr(0xE2E9C5)},
        {ColorFromBgr(0x2222B2), ColorFromBgr(0xB9C2F5)},
        {ColorFromBgr(0x8B3D48), ColorFromBgr(0xDEB4CE)},
        {ColorFromBgr(0x228B22), ColorFromBgr(0xB8E2BA)},
        {ColorFromBgr(0x8A4815), ColorFromBgr(0xECD0B2)},
        {ColorFromBgr(0x666666), ColorFromBgr(0xCDCDCD)},
    }};
    return palette;
}

} // namespace zuohao::gui

#pragma once
// The grid colour pairs: for each of the seven colour indexes a strong colour (hits) and a
// pale colour (the block's ordinary cells). Stored as the desktop's blue-green-red values.
#include <QColor>
#include <array>
#include <cstdint>

namespace zuohao::gui {

struct ColourPair {
    QColor strong;
    QColor pale;
};

inline constexpr int kPaletteSize = 7;

// A colour written blue-green-red (&HBBGGRR): the low byte is red, the high byte blue.
QColor ColorFromBgr(std::uint32_t bbggrr);

// The seven pairs, filled once and never changed.
const std::array<ColourPair, kPaletteSize>& GridPalette();

} // namespace zuohao::gui

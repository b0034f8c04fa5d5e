#pragma once
// Window sizes are given in twips, as the grids were first laid out: 15 twips to a pixel.
namespace zuohao::gui {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

} // namespace zuohao::gui

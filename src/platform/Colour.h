// Colours as the windows give them: 0x00BBGGRR (blue in the high byte, as the
// platform's colour values are written, &H80FFFF a light yellow), or a system
// colour 0x80000000 | index (&H8000000F the button face).
#pragma once

#include <cstdint>

using Colour = std::uint32_t;

// "No colour of its own": the control's default.
inline constexpr Colour kColourNone = 0xFFFFFFFFu;
inline constexpr Colour kColourSystemFlag = 0x80000000u;
inline constexpr Colour kColourButtonFace = 0x8000000Fu;

inline constexpr Colour RgbColour(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline constexpr bool IsSystemColour(Colour c) { return c != kColourNone && (c & kColourSystemFlag) != 0; }
inline constexpr int ColourRed(Colour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int ColourGreen(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int ColourBlue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

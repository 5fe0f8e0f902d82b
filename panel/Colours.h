#pragma once

#include <cstdint>

namespace procesor {

using Rgb = std::uint32_t; // 0xRRGGBB

// The diagram's colours, named as the window names them.
inline constexpr Rgb clBlack = 0x000000;
inline constexpr Rgb clGreen = 0x008000;
inline constexpr Rgb clRed = 0xFF0000;
inline constexpr Rgb clBlue = 0x0000FF;
inline constexpr Rgb clYellow = 0xFFFF00;
inline constexpr Rgb clSkyBlue = 0xA6CAF0;
inline constexpr Rgb clWhite = 0xFFFFFF;
inline constexpr Rgb clCaptionText = 0xFFFFFF;
inline constexpr Rgb clAqua = 0x00FFFF;
inline constexpr Rgb clTeal = 0x008080;
inline constexpr Rgb clCream = 0xFFFBF0;
inline constexpr Rgb clLime = 0x00FF00;
inline constexpr Rgb clMoneyGreen = 0xC0DCC0;
inline constexpr Rgb clInactiveBorder = 0xD4D0C8;
inline constexpr Rgb clWindowText = 0x000000;

} // namespace procesor

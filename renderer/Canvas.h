#pragma once

#include <cstdint>
#include <vector>

#include "panel/Colours.h"
#include "renderer/DiagramLayout.h"

namespace procesor::render {

using layout::Box;

// The client area as 32-bit pixels, row by row, each 0xFFRRGGBB (Qt's RGB32).
struct Canvas {
    int width = layout::kClientWidth;
    int height = layout::kClientHeight;
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(std::size_t(width) * height);

    // Fills r (clipped to the canvas and to clip) with rgb.
    void fill(Box r, Rgb rgb, Box clip);
    void fill(Box r, Rgb rgb) { fill(r, rgb, Box{0, 0, width, height}); }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

} // namespace procesor::render

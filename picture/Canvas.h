#pragma once

#include <cstdint>
#include <vector>

#include "panel/Colours.h"

namespace procesor::render {

// A rectangle in pixels: x to the right, y downwards.
struct Box {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    constexpr bool contains(int px, int py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
    constexpr bool operator==(const Box&) const = default;
};

// The client area as 32-bit pixels, row by row, each 0xFFRRGGBB (Qt's RGB32).
struct Canvas {
    Canvas() = default;
    Canvas(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h) {}

    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    // Fills r (clipped to the canvas and to clip) with rgb.
    void fill(Box r, Rgb rgb, Box clip);
    void fill(Box r, Rgb rgb) { fill(r, rgb, Box{0, 0, width, height}); }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

} // namespace procesor::render

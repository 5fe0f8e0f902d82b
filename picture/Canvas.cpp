#include "picture/Canvas.h"

#include <algorithm>

namespace procesor::render {

void Canvas::fill(Box r, Rgb rgb, Box clip) {
    const int x0 = std::max({r.x, clip.x, 0});
    const int y0 = std::max({r.y, clip.y, 0});
    const int x1 = std::min({r.x + r.w, clip.x + clip.w, width});
    const int y1 = std::min({r.y + r.h, clip.y + clip.h, height});
    if (x0 >= x1 || y0 >= y1) return;
    const std::uint32_t pixel = 0xFF000000u | rgb;
    for (int y = y0; y < y1; ++y) {
        auto row = pixels.begin() + std::ptrdiff_t(y) * width;
        std::fill(row + x0, row + x1, pixel);
    }
}

} // namespace procesor::render

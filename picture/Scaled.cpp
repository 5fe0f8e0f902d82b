#include "picture/Scaled.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace procesor::render {

namespace {

struct Share {
    int from; // source index
    float weight;
};

// For each of `to` target pixels, the source pixels of `from` under it and their
// weights, which add up to 1.
std::vector<std::vector<Share>> shares(int from, int to) {
    std::vector<std::vector<Share>> out(static_cast<std::size_t>(to));
    const double ratio = double(from) / to;
    for (int t = 0; t < to; ++t) {
        const double start = t * ratio;
        const double end = (t + 1) * ratio;
        for (int s = int(start); s < from && s < end; ++s) {
            const double covered = std::min<double>(s + 1, end) - std::max<double>(s, start);
            if (covered > 1e-9) out[std::size_t(t)].push_back({s, float(covered / ratio)});
        }
    }
    return out;
}

} // namespace

void scaleTo(const Canvas& canvas, int width, int height, std::uint8_t* rgba) {
    scaleTo(canvas, width, height, rgba, Box{0, 0, std::max(width, 1), std::max(height, 1)});
}

void scaleTo(const Canvas& canvas, int width, int height, std::uint8_t* rgba, Box area) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int left = std::max(area.x, 0), right = std::min(area.x + area.w, width);
    const int top = std::max(area.y, 0), bottom = std::min(area.y + area.h, height);
    if (left >= right || top >= bottom) return;
    const std::vector<std::vector<Share>> across = shares(canvas.width, width);
    const std::vector<std::vector<Share>> down = shares(canvas.height, height);
    // The source columns under the area.
    const int from = across[std::size_t(left)].front().from;
    const int to = across[std::size_t(right - 1)].back().from + 1;
    // One row at a time: the source rows under it weighed together, three channels a
    // pixel, then made `width` wide.
    std::vector<float> row(std::size_t(canvas.width) * 3);
    for (int y = top; y < bottom; ++y) {
        std::fill(row.begin() + std::ptrdiff_t(from) * 3, row.begin() + std::ptrdiff_t(to) * 3,
                  0.0f);
        for (const Share& s : down[std::size_t(y)]) {
            const std::uint32_t* line = canvas.pixels.data() + std::size_t(s.from) * canvas.width;
            float* into = row.data() + std::size_t(from) * 3;
            for (int x = from; x < to; ++x, into += 3) {
                const std::uint32_t p = line[x];
                into[0] += s.weight * float((p >> 16) & 0xFF);
                into[1] += s.weight * float((p >> 8) & 0xFF);
                into[2] += s.weight * float(p & 0xFF);
            }
        }
        std::uint8_t* out = rgba + (std::size_t(y) * width + left) * 4;
        for (int x = left; x < right; ++x, out += 4) {
            float sum[3] = {0, 0, 0};
            for (const Share& s : across[std::size_t(x)]) {
                const float* from = row.data() + std::size_t(s.from) * 3;
                for (int k = 0; k < 3; ++k) sum[k] += s.weight * from[k];
            }
            for (int k = 0; k < 3; ++k)
                out[k] = std::uint8_t(std::clamp(sum[k] + 0.5f, 0.0f, 255.0f));
            out[3] = 0xFF;
        }
    }
}

void scaleDown(const Canvas& canvas, int width, int height, std::uint8_t* rgba) {
    scaleTo(canvas, std::clamp(width, 1, canvas.width), std::clamp(height, 1, canvas.height), rgba);
}

} // namespace procesor::render

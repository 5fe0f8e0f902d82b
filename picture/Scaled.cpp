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
            if (covered > 0) out[std::size_t(t)].push_back({s, float(covered / ratio)});
        }
    }
    return out;
}

} // namespace

void scaleDown(const Canvas& canvas, int width, int height, std::uint8_t* rgba) {
    width = std::clamp(width, 1, canvas.width);
    height = std::clamp(height, 1, canvas.height);
    const std::vector<std::vector<Share>> across = shares(canvas.width, width);
    const std::vector<std::vector<Share>> down = shares(canvas.height, height);
    // Rows first: every source row made `width` wide, three channels a pixel.
    std::vector<float> rows(std::size_t(canvas.height) * width * 3);
    for (int y = 0; y < canvas.height; ++y) {
        const std::uint32_t* line = canvas.pixels.data() + std::size_t(y) * canvas.width;
        float* to = rows.data() + std::size_t(y) * width * 3;
        for (int x = 0; x < width; ++x, to += 3) {
            float r = 0, g = 0, b = 0;
            for (const Share& s : across[std::size_t(x)]) {
                const std::uint32_t p = line[s.from];
                r += s.weight * float((p >> 16) & 0xFF);
                g += s.weight * float((p >> 8) & 0xFF);
                b += s.weight * float(p & 0xFF);
            }
            to[0] = r;
            to[1] = g;
            to[2] = b;
        }
    }
    // Then the columns.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* to = rgba + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x, to += 4) {
            float sum[3] = {0, 0, 0};
            for (const Share& s : down[std::size_t(y)]) {
                const float* from = rows.data() + (std::size_t(s.from) * width + x) * 3;
                for (int k = 0; k < 3; ++k) sum[k] += s.weight * from[k];
            }
            for (int k = 0; k < 3; ++k)
                to[k] = std::uint8_t(std::clamp(sum[k] + 0.5f, 0.0f, 255.0f));
            to[3] = 0xFF;
        }
    }
}

} // namespace procesor::render

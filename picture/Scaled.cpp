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
    width = std::max(width, 1);
    height = std::max(height, 1);
    const std::vector<std::vector<Share>> across = shares(canvas.width, width);
    const std::vector<std::vector<Share>> down = shares(canvas.height, height);
    // One row at a time: the source rows under it weighed together, three channels a
    // pixel, then made `width` wide.
    std::vector<float> row(std::size_t(canvas.width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0.0f);
        for (const Share& s : down[std::size_t(y)]) {
            const std::uint32_t* line = canvas.pixels.data() + std::size_t(s.from) * canvas.width;
            float* to = row.data();
            for (int x = 0; x < canvas.width; ++x, to += 3) {
                const std::uint32_t p = line[x];
                to[0] += s.weight * float((p >> 16) & 0xFF);
                to[1] += s.weight * float((p >> 8) & 0xFF);
                to[2] += s.weight * float(p & 0xFF);
            }
        }
        std::uint8_t* to = rgba + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x, to += 4) {
            float sum[3] = {0, 0, 0};
            for (const Share& s : across[std::size_t(x)]) {
                const float* from = row.data() + std::size_t(s.from) * 3;
                for (int k = 0; k < 3; ++k) sum[k] += s.weight * from[k];
            }
            for (int k = 0; k < 3; ++k)
                to[k] = std::uint8_t(std::clamp(sum[k] + 0.5f, 0.0f, 255.0f));
            to[3] = 0xFF;
        }
    }
}

void scaleDown(const Canvas& canvas, int width, int height, std::uint8_t* rgba) {
    scaleTo(canvas, std::clamp(width, 1, canvas.width), std::clamp(height, 1, canvas.height), rgba);
}

} // namespace procesor::render

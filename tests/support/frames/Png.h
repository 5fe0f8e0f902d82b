#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reading and writing the reference frames: 8-bit RGB PNG files, pixels as
// 0xFFRRGGBB like the canvas.
namespace procesor::testing {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

bool writePng(const std::string& path, const Image& image);
// RGB or RGBA, 8 bits a channel, not interlaced; nullopt for anything else.
std::optional<Image> readPng(const std::string& path);

} // namespace procesor::testing

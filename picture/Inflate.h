#pragma once

#include <cstddef>
#include <cstdint>

// The page's start picture travels in the page as its colours and, per pixel, the
// number of its colour in a byte, packed with DEFLATE (as a PNG file packs its
// pixels), so that the page's first script can unpack it at once, without waiting for
// the browser's image decoder. The unpacking checks every length, distance and colour
// number and refuses a stream that does not fit, never writing outside the room given.
namespace procesor::render {

// Unpacks the raw DEFLATE stream `packed` (no zlib or gzip header) into exactly
// `outSize` bytes at `out`. False when the stream is damaged, ends early, or makes
// more or fewer bytes than that.
bool inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t outSize);

// Unpacks the raw DEFLATE stream `packed` of the colour numbers of `count` pixels,
// one a byte, straight into the pixels: 4 * count bytes at `pixels`, each pixel the
// 32-bit word palette[number] (copies of earlier pixels copied as pixels). False
// (the pixels left partly made) where the stream is damaged, makes more or fewer
// than `count` numbers, or has a number not below `colours`.
bool inflateColours(const std::uint8_t* packed, std::size_t packedSize, const std::uint32_t* palette,
                    std::size_t colours, std::uint8_t* pixels, std::size_t count);

} // namespace procesor::render

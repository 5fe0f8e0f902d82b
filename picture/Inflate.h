#pragma once

#include <cstddef>
#include <cstdint>

// The page's start picture travels in the page as its colours (at most 16) and, per
// pixel, the number of its colour in four bits, packed with DEFLATE (as a PNG file
// packs its pixels), so that
// the page's first script can unpack it at once, without waiting for the browser's
// image decoder. These two steps are all it needs; both check every length and index
// and refuse a stream that does not fit, never writing outside the room given.
namespace procesor::render {

// Unpacks the raw DEFLATE stream `packed` (no zlib or gzip header) into exactly
// `outSize` bytes at `out`. False when the stream is damaged, ends early, or makes
// more or fewer bytes than that.
bool inflate(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out, std::size_t outSize);

// The bytes of the colour numbers of `count` pixels, two a byte.
constexpr std::size_t numberBytes(std::size_t count) { return (count + 1) / 2; }

// Turns the colour numbers of `count` pixels into the colours themselves, in place:
// `pixels` holds 4 * count bytes, the colour numbers in its last numberBytes(count)
// bytes, two a byte, the first in the high four bits; afterwards each pixel is
// palette[number]. False (the pixels left partly made) where a number is not below
// `colours`.
bool paintFromPalette(std::uint8_t* pixels, std::size_t count, const std::uint32_t* palette,
                      std::size_t colours);

} // namespace procesor::render

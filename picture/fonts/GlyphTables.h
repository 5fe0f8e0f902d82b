#pragma once

#include <cstdint>
#include <span>

// The glyph tables of the built-in faces (GlyphTables.cpp, made by scripts/make_fonts).
namespace procesor::render::fonts {

// One glyph: its advance and its ink box, whose pixels are `width` x `height` bits of
// the face's bit array from bit `bit` on, row by row, the most significant bit first.
struct Glyph {
    char16_t code;
    std::int8_t advance;
    std::int8_t left; // from the pen position to the ink box's left column
    std::int8_t top;  // from the top of the line to the ink box's top row
    std::uint8_t width;
    std::uint8_t height;
    std::uint32_t bit;
};

struct FaceTable {
    std::span<const Glyph> glyphs; // sorted by code
    const std::uint8_t* bits;
    int lineHeight;
};

extern const FaceTable kWindow;  // "MS Sans Serif", the 13-px strike (11-pixel characters)
extern const FaceTable kDigits;  // the same, the 20-px strike (16-pixel characters)
extern const FaceTable kTitle11; // bold serif capitals of the control unit
extern const FaceTable kTitle14;
extern const FaceTable kTitle15;

} // namespace procesor::render::fonts

#include "picture/Text.h"

#include <algorithm>

#include "picture/fonts/GlyphTables.h"

namespace procesor::render {

namespace {

struct FaceStyle {
    const fonts::FaceTable& table;
    bool struckTwice; // bold as the window system makes it: one more pixel per character
};

FaceStyle style(Face face) {
    switch (face) {
    case Face::Window:
        return {fonts::kWindow, false};
    case Face::WindowBold:
        return {fonts::kWindow, true};
    case Face::Digits:
        return {fonts::kDigits, true};
    case Face::Title11:
        return {fonts::kTitle11, false};
    case Face::Title14:
        return {fonts::kTitle14, false};
    case Face::Title15:
        return {fonts::kTitle15, false};
    }
    return {fonts::kWindow, false};
}

const fonts::Glyph* find(const fonts::FaceTable& table, char32_t code) {
    const auto glyphs = table.glyphs;
    const auto at = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                                     [](const fonts::Glyph& g, char32_t c) { return g.code < c; });
    return at != glyphs.end() && at->code == code ? &*at : nullptr;
}

// The next code point of a UTF-8 text; a malformed sequence (stray continuation
// byte, truncated or overlong form, surrogate, beyond U+10FFFF) yields U+FFFD for
// its first byte, and decoding goes on with the next.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, code = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, code = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, code = b0 & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        code = (code << 6) | (b & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return code;
}

// Calls draw(glyph, penX) for every character of the text the face has.
template <typename Draw> int forEachGlyph(const FaceStyle& s, std::string_view utf8, Draw draw) {
    int pen = 0;
    bool any = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const fonts::Glyph* g = find(s.table, nextCodePoint(utf8, i));
        if (!g) continue;
        draw(*g, pen);
        pen += g->advance + (s.struckTwice ? 1 : 0);
        any = true;
    }
    return pen + (s.struckTwice && any ? 1 : 0); // the overhang of the last stroke
}

struct Area {
    int x0, y0, x1, y1; // x1, y1 one past
};

Area visible(const Canvas& canvas, Box clip) {
    return {std::max(clip.x, 0), std::max(clip.y, 0), std::min(clip.x + clip.w, canvas.width),
            std::min(clip.y + clip.h, canvas.height)};
}

bool inked(const std::uint8_t* bits, std::uint32_t bit) {
    return (bits[bit >> 3] >> (7 - (bit & 7))) & 1;
}

} // namespace

int textWidth(Face face, std::string_view utf8) {
    return forEachGlyph(style(face), utf8, [](const fonts::Glyph&, int) {});
}

int lineHeight(Face face) {
    return style(face).table.lineHeight;
}

void drawText(Canvas& canvas, Face face, int x, int y, std::string_view utf8, Rgb ink, Box clip) {
    const FaceStyle s = style(face);
    const Area a = visible(canvas, clip);
    if (a.x0 >= a.x1 || a.y0 >= a.y1) return;
    const std::uint32_t pixel = 0xFF000000u | ink;
    const int strikes = s.struckTwice ? 2 : 1;
    forEachGlyph(s, utf8, [&](const fonts::Glyph& g, int pen) {
        const int left = x + pen + g.left;
        const int top = y + g.top;
        if (left >= a.x1 || left + g.width + strikes - 1 <= a.x0 || top >= a.y1 ||
            top + g.height <= a.y0)
            return;
        std::uint32_t bit = g.bit;
        for (int row = 0; row < g.height; ++row, bit += g.width) {
            const int py = top + row;
            if (py < a.y0 || py >= a.y1) continue;
            std::uint32_t* line = canvas.pixels.data() + std::ptrdiff_t(py) * canvas.width;
            for (int col = 0; col < g.width; ++col) {
                if (!inked(s.table.bits, bit + col)) continue;
                for (int k = 0; k < strikes; ++k) {
                    const int px = left + col + k;
                    if (px >= a.x0 && px < a.x1) line[px] = pixel;
                }
            }
        }
    });
}

void drawTextUpwards(Canvas& canvas, Face face, int x, int y, std::string_view utf8, Rgb ink,
                     Box clip) {
    const FaceStyle s = style(face);
    const Area a = visible(canvas, clip);
    if (a.x0 >= a.x1 || a.y0 >= a.y1) return;
    const std::uint32_t pixel = 0xFF000000u | ink;
    const int strikes = s.struckTwice ? 2 : 1;
    // A pixel at (u, v) of the text lying flat (u along the text, v down from the top
    // of the line) lands at column x + v, row bottom - u.
    const int bottom = y + textWidth(face, utf8) - 1;
    forEachGlyph(s, utf8, [&](const fonts::Glyph& g, int pen) {
        std::uint32_t bit = g.bit;
        for (int row = 0; row < g.height; ++row, bit += g.width) {
            const int px = x + g.top + row;
            if (px < a.x0 || px >= a.x1) continue;
            for (int col = 0; col < g.width; ++col) {
                if (!inked(s.table.bits, bit + col)) continue;
                for (int k = 0; k < strikes; ++k) {
                    const int py = bottom - (pen + g.left + col + k);
                    if (py >= a.y0 && py < a.y1)
                        canvas.pixels[std::size_t(py) * canvas.width + px] = pixel;
                }
            }
        }
    });
}

} // namespace procesor::render

#include "picture/Text.h"

#include <algorithm>

#include "model/Utf8.h"
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

// Calls draw(glyph, penX) for every character of the text the face has.
template <typename Draw> int forEachGlyph(const FaceStyle& s, std::string_view utf8, Draw draw) {
    int pen = 0;
    bool any = false;
    for (std::size_t i = 0; i < utf8.size();) {
        // A malformed byte reads as U+FFFD, which no face has.
        const utf8::Character c = utf8::decode(utf8, i);
        i += c.length;
        const fonts::Glyph* g = find(s.table, c.code);
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

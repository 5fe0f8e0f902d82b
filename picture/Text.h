#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "picture/Canvas.h"

// The diagram's texts, drawn from glyph tables built into the program (no font file
// is read at run time). Every face is a bitmap face: each glyph pixel is either ink
// or nothing, so the same text gives the same pixels on every machine.
namespace procesor::render {

enum class Face {
    Window,     // "MS Sans Serif" 11 px (8 pt), line height 13
    WindowBold, // the same, bold as the window system makes it: struck twice, 1 px apart,
                // one pixel more per character and one of overhang at the end
    Digits,     // "MS Sans Serif" 16 px (12 pt, line height 20), struck twice: the value digits
    // Bold serif capitals of the control unit, black on white with no grey pixel. Each
    // line keeps a blank row above its highest accent and one below the baseline, so a
    // title set in its field touches none of the field's lines.
    Title11, // the field captions and DEKODÉR PAMĚTI, line height 13
    Title14, // Φ1, Φ2, line height 15
    Title15, // ŘÍZENÍ, line height 15
};

// Width of the text's extent: the bar a label with this caption takes. UTF-8.
int textWidth(Face face, std::string_view utf8);
int lineHeight(Face face);

// Draws the text with its extent's top-left corner at (x, y), in ink, only inside
// clip. Characters the face lacks take no room and draw nothing.
void drawText(Canvas& canvas, Face face, int x, int y, std::string_view utf8, Rgb ink, Box clip);

// The same text turned a quarter turn anticlockwise, reading upwards: its extent
// takes columns x .. x + lineHeight - 1 and rows y .. y + textWidth - 1, the first
// character at the bottom, the tops of the letters towards column x.
void drawTextUpwards(Canvas& canvas, Face face, int x, int y, std::string_view utf8, Rgb ink,
                     Box clip);

// "MS Sans Serif" 11 px as an outline font in which every pixel is a square on an
// exact grid (TrueType data): at a pixel size of 11 a text widget draws exactly the
// bitmap glyphs, and at a device pixel ratio of 2 every pixel becomes 2 x 2. For the
// editable fields and the companion programs. The bold style of the same family has
// the glyphs struck twice, as WindowBold draws them (without the overhang at the end).
std::span<const std::uint8_t> squarePixelFont();
std::span<const std::uint8_t> squarePixelBoldFont();
inline constexpr std::string_view kSquarePixelFamily = "Procesor Sans";

} // namespace procesor::render

// The built-in faces: every label takes the width the diagram was laid out for, the
// texts are drawn in ink only, inside their clip, in both directions, and no text
// (malformed UTF-8 included) upsets them.

#include <cstdint>
#include <string>

#include "picture/Text.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;

namespace {

constexpr Rgb kPaper = 0xFFFFFF;

Canvas blank(int w, int h) {
    Canvas c;
    c.width = w;
    c.height = h;
    c.pixels.assign(std::size_t(w) * h, 0xFF000000u | kPaper);
    return c;
}

int inkIn(const Canvas& c, Box b) {
    int n = 0;
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x) n += c.at(x, y) != (0xFF000000u | kPaper);
    return n;
}

} // namespace

TEST_CASE(labelWidths) {
    struct Label {
        const char* caption;
        int width;
    };
    // The microprogram listing and the instruction names.
    const Label listing[] = {
        {"0000  PC/I               ", 97},
        {"0001  RAM/R-IR/W", 97},
        {"0010  PC/I               ", 97},
        {"0011  RAM/R-A/W  ", 99},
        {"0100  PC/I               ", 97},
        {"0101  RAM/R-IR/W", 97},
        {"0110  ADD/R-A/W  ", 98},
        {"0111  PC/I                ", 100},
        {"1000  RAM/R-IR/W", 97},
        {"1001  PC/I               ", 97},
        {"1010  RAM/R-PC/W", 100},
        {"1011  RAM/R-IR/W", 97},
        {"1100  A/R-B/W       ", 97},
        {"1101  PC/I              ", 94},
        {"1110  RAM/R-IR/W", 97},
        {"1111  C/D               ", 95},
        {"NOP", 23},
        {"LDA", 21},
        {"ADD", 23},
        {"JMP", 21},
        {"MOV", 24},
        {"HLT", 21},
        {"           ", 33}, // a blank RAM cell
    };
    for (const Label& l : listing) {
        CONTEXT(testing::quoted(l.caption));
        CHECK_EQ(textWidth(Face::Window, l.caption), l.width);
    }
    for (int n = 0; n < 16; ++n) {
        const std::string address = std::to_string(n) + ":";
        CHECK_EQ(textWidth(Face::Window, address), n < 10 ? 9 : 15);
    }
    CHECK_EQ(textWidth(Face::Digits, "0"), 11); // a value digit's label
    CHECK_EQ(lineHeight(Face::Window), 13);
    CHECK_EQ(lineHeight(Face::WindowBold), 13);
    CHECK_EQ(lineHeight(Face::Digits), 20);
    // Bold: one pixel more per character and one of overhang.
    CHECK_EQ(textWidth(Face::WindowBold, "LSB"), textWidth(Face::Window, "LSB") + 3 + 1);
}

TEST_CASE(drawingStaysInItsClip) {
    Canvas c = blank(120, 40);
    const std::string text = "Paměť programu";
    const int w = textWidth(Face::WindowBold, text);
    drawText(c, Face::WindowBold, 4, 4, text, clBlue, Box{0, 0, 120, 40});
    const int all = inkIn(c, Box{0, 0, 120, 40});
    CHECK(all > 40);
    CHECK_EQ(inkIn(c, Box{4, 4, w, 13}), all); // inside the extent
    for (std::uint32_t p : c.pixels)
        CHECK(p == (0xFF000000u | kPaper) || p == (0xFF000000u | clBlue));

    // Clipped to the left half, and half off the canvas: only what is inside both.
    Canvas d = blank(120, 40);
    drawText(d, Face::WindowBold, 4, 4, text, clBlue, Box{0, 0, 30, 40});
    CHECK_EQ(inkIn(d, Box{0, 0, 120, 40}), inkIn(c, Box{0, 0, 30, 40}));
    Canvas e = blank(120, 40);
    drawText(e, Face::Digits, -5, 30, "88", clRed, Box{-50, -50, 500, 500});
    drawText(e, Face::Window, 110, -6, "MOV", clRed, Box{-50, -50, 500, 500});
    CHECK(inkIn(e, Box{0, 0, 120, 40}) > 0);
}

TEST_CASE(upwardsIsAQuarterTurn) {
    const std::string text = "DEKODÉR PAMĚTI";
    for (Face face : {Face::Title11, Face::WindowBold}) {
        const int w = textWidth(face, text);
        const int h = lineHeight(face);
        Canvas flat = blank(w, h);
        drawText(flat, face, 0, 0, text, clBlack, Box{0, 0, w, h});
        Canvas up = blank(h + 4, w + 4);
        drawTextUpwards(up, face, 2, 2, text, clBlack, Box{0, 0, h + 4, w + 4});
        int same = 0;
        for (int u = 0; u < w; ++u)
            for (int v = 0; v < h; ++v) same += flat.at(u, v) == up.at(2 + v, 2 + w - 1 - u);
        CHECK_EQ(same, w * h);
        CHECK_EQ(inkIn(up, Box{0, 0, h + 4, w + 4}), inkIn(flat, Box{0, 0, w, h}));
    }
}

TEST_CASE(titlesKeepClearOfTheirLines) {
    // Every title in its line with a blank row above the accents (the caption under
    // the divider of the control unit must not touch it) and a blank row below.
    const struct {
        Face face;
        const char* text;
        int lineHeight;
    } titles[] = {{Face::Title15, "ŘÍZENÍ", 15},
                  {Face::Title11, "DEKODÉR PAMĚTI", 13},
                  {Face::Title11, "DEKODÉR URČENÍ ZDROJE O K", 13},
                  {Face::Title14, "Φ2 Φ1", 15}};
    for (const auto& t : titles) {
        CHECK(lineHeight(t.face) <= t.lineHeight);
        const int w = textWidth(t.face, t.text);
        const int h = lineHeight(t.face);
        Canvas c = blank(w, h);
        drawText(c, t.face, 0, 0, t.text, clBlack, Box{0, 0, w, h});
        CHECK_EQ(inkIn(c, Box{0, 0, w, 1}), 0);
        CHECK_EQ(inkIn(c, Box{0, h - 1, w, 1}), 0);
        CHECK(inkIn(c, Box{0, 0, w, h}) > w); // every character there
    }
    // The accent of É stands clear above its letter.
    const int d = textWidth(Face::Title11, "D");
    CHECK_EQ(textWidth(Face::Title11, "É"), textWidth(Face::Title11, "E"));
    Canvas e = blank(d * 2, 13);
    drawText(e, Face::Title11, 0, 0, "É", clBlack, Box{0, 0, d * 2, 13});
    drawText(e, Face::Title11, d, 0, "E", clBlack, Box{0, 0, d * 2, 13});
    int accentRows = 0;
    for (int y = 0; y < 13; ++y)
        accentRows += inkIn(e, Box{0, y, d, 1}) > 0 && inkIn(e, Box{d, y, d, 1}) == 0;
    CHECK(accentRows >= 2);
}

TEST_CASE(anyTextIsSafe) {
    // Malformed UTF-8 draws nothing and takes no room; what follows it is kept.
    const std::string bad[] = {"\xFF",         "\xC3",     "\xC3\xC3",     "\xE2\x82",
                               "\xF0\x9F\x98", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                               "\x80\x80"};
    for (const std::string& b : bad) {
        CHECK_EQ(textWidth(Face::Window, b + "A" + b), textWidth(Face::Window, "A"));
        Canvas c = blank(40, 20);
        drawText(c, Face::WindowBold, 1, 1, b, clBlack, Box{0, 0, 40, 20});
        drawTextUpwards(c, Face::Digits, 1, 1, b, clBlack, Box{0, 0, 40, 20});
        CHECK_EQ(inkIn(c, Box{0, 0, 40, 20}), 0);
    }
    CHECK_EQ(textWidth(Face::Window, ""), 0);
    CHECK_EQ(textWidth(Face::WindowBold, ""), 0);
    Canvas c = blank(10, 10);
    drawText(c, Face::Window, 0, 0, "A", clBlack, Box{0, 0, 0, 0});
    drawText(c, Face::Window, 1000000, -1000000, "A", clBlack, Box{0, 0, 10, 10});
    drawTextUpwards(c, Face::Window, -1000000, 1000000, "A", clBlack, Box{0, 0, 10, 10});
    CHECK_EQ(inkIn(c, Box{0, 0, 10, 10}), 0);
}

PLAIN_TEST_MAIN()

#include "picture/Blocks.h"

#include "picture/Paint.h"
#include "picture/Text.h"

namespace procesor::render {

namespace {

constexpr Rgb kInk = clBlack;

constexpr ControlUnitField kFields[] = {
    {2, 40, "O", "K"},    {42, 143, "DEKODÉR", "ZDROJE"}, {145, 235, "DEKODÉR", "URČENÍ"},
    {237, 267, "Φ2", ""}, {269, 298, "Φ1", ""},
};

// The lifted blade of the open bus switch, a 2-pixel line from the right contact up
// to the upper left: per row from its top, the first column and the width, relative
// to the switch's top-left corner.
struct Run {
    int dx;
    int width;
};
constexpr Run kBlade[] = {
    {11, 3}, {12, 3}, {13, 3}, {14, 3}, {15, 3}, {16, 3}, {17, 3}, // rows 11..17
    {18, 4}, {20, 3}, {21, 3}, {22, 3}, {23, 3}, {24, 3}, {25, 3}, // rows 18..24
    {26, 1},                                                       // row 25, on the contact
};
constexpr int kBladeTop = 11;

// The text centred across the columns left..left + width - 1 from row y.
void centredAcross(Canvas& c, Face face, int left, int width, int y, std::string_view text,
                   Box clip) {
    drawText(c, face, left + (width - textWidth(face, text)) / 2, y, text, kInk, clip);
}

} // namespace

std::span<const ControlUnitField> controlUnitFields() {
    return kFields;
}

void paintControlUnit(Canvas& c, const ControlUnitArt& art, Box clip) {
    const Box r = art.box;
    const int dividerY = r.y + art.dividerY;
    const int decoderX = r.x + kMemoryDecoderX;
    const int rowTop = dividerY + 2;
    const int rowHeight = r.y + r.h - 2 - rowTop;
    frame(c, r, 2, 2, clip);
    c.fill({r.x, dividerY, r.w, 2}, kInk, clip);
    c.fill({decoderX, r.y, 2, art.dividerY}, kInk, clip);
    for (int x : kFieldDividers) c.fill({r.x + x, rowTop, 2, rowHeight}, kInk, clip);

    centredAcross(c, Face::Title15, r.x + 2, kMemoryDecoderX - 2, r.y + art.titleTop, "ŘÍZENÍ",
                  clip);
    for (const ControlUnitField& f : kFields) {
        const int left = r.x + f.left;
        const int w = f.right - f.left;
        if (!f.lower.empty()) {
            const int y = rowTop + art.captionTop;
            centredAcross(c, Face::Title11, left, w, y, f.upper, clip);
            centredAcross(c, Face::Title11, left, w, y + art.captionStep, f.lower, clip);
        } else {
            centredAcross(c, Face::Title14, left, w,
                          rowTop + (rowHeight - lineHeight(Face::Title14)) / 2, f.upper, clip);
        }
    }

    // The memory decoder's caption reads upwards along its strip.
    const Box strip = {decoderX + 2, r.y + 2, r.x + r.w - 2 - (decoderX + 2), art.dividerY - 2};
    constexpr std::string_view kCaption = "DEKODÉR PAMĚTI";
    drawTextUpwards(c, Face::Title11, strip.x + (strip.w - lineHeight(Face::Title11)) / 2,
                    strip.y + (strip.h - textWidth(Face::Title11, kCaption)) / 2, kCaption, kInk,
                    intersect(clip, strip));
}

void paintRegister(Canvas& c, Box r, std::string_view title, std::string_view line1,
                   std::string_view line2, Box clip) {
    frame(c, r, 1, 1, clip);
    const Box inside = intersect(clip, shrink(r, 1, 1, 1, 1));
    const std::string_view lines[] = {title, line1, line2};
    const int count = line2.empty() ? 2 : 3;
    const int step = lineHeight(Face::Window);
    int y = r.y + (r.h - count * step) / 2;
    for (int i = 0; i < count; ++i) {
        centredAcross(c, i == 0 ? Face::WindowBold : Face::Window, r.x, registerTextWidth(r), y,
                      lines[i], inside);
        y += step;
    }
}

void paintRam(Canvas& c, Box r, std::string_view title, std::string_view line, Box clip) {
    frame(c, r, 1, 1, clip);
    // The heading, a blank, then the regular words (one text's width is its parts').
    const int boldWidth = textWidth(Face::WindowBold, title);
    const int blank = textWidth(Face::Window, " ");
    const int x = r.x + (r.w - boldWidth - blank - textWidth(Face::Window, line)) / 2;
    const int y = r.y + 7;
    drawText(c, Face::WindowBold, x, y, title, kInk, clip);
    drawText(c, Face::Window, x + boldWidth + blank, y, line, kInk, clip);
}

void paintGate(Canvas& c, Box r, Box clip) {
    frame(c, r, 2, 3, clip);
    const Box inside = shrink(r, 2, 2, 2, 3);
    drawText(c, Face::Digits, inside.x + (inside.w - textWidth(Face::Digits, "&") + 1) / 2,
             inside.y + (inside.h - lineHeight(Face::Digits)) / 2, "&", kInk, clip);
}

void paintSwitch(Canvas& c, Box r, bool closed, Box clip) {
    frame(c, r, 1, 1, clip);
    const int y = r.y + 25;
    const int leftEnd = r.x + 9;
    const int rightStart = r.x + r.w - 9;
    const int right = r.x + r.w - 1;
    c.fill({r.x + 1, y, leftEnd - r.x - 1, 2}, kInk, clip);
    c.fill({rightStart, y, right - rightStart, 2}, kInk, clip);
    // Contact points.
    c.fill({leftEnd - 1, y - 1, 3, 4}, kInk, clip);
    c.fill({rightStart - 1, y - 1, 3, 4}, kInk, clip);
    if (closed) {
        c.fill({leftEnd, y, rightStart - leftEnd, 2}, kInk, clip);
    } else {
        int row = r.y + kBladeTop;
        for (const Run& run : kBlade) c.fill({r.x + run.dx, row++, run.width, 1}, kInk, clip);
    }
}

} // namespace procesor::render

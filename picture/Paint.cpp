#include "picture/Paint.h"

#include <algorithm>

#include "picture/Text.h"

namespace procesor::render {

namespace {

constexpr Rgb kInk = clBlack;
constexpr Rgb kPaper = clWhite;

} // namespace

Box intersect(Box a, Box b) {
    const int x0 = std::max(a.x, b.x);
    const int y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w);
    const int y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

bool meets(Box a, Box b) {
    return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && a.x < b.x + b.w && b.x < a.x + a.w &&
           a.y < b.y + b.h && b.y < a.y + a.h;
}

Box shrink(Box b, int left, int top, int right, int bottom) {
    return {b.x + left, b.y + top, b.w - left - right, b.h - top - bottom};
}

// A black outline `width` pixels wide (`bottomWidth` at the bottom) round white.
void frame(Canvas& c, Box r, int width, int bottomWidth, Box clip) {
    c.fill(r, kInk, clip);
    c.fill(shrink(r, width, width, width, bottomWidth), kPaper, clip);
}

// One 1-pixel frame of a panel's bevel along the edge of r: light on the top and
// left, dark on the bottom and right, the other way round when lowered; nothing for
// None. Returns the rectangle inside the frame.
Box bevelFrame(Canvas& c, Box r, Bevel bevel, Box clip) {
    if (bevel == Bevel::None || r.w <= 0 || r.h <= 0) return r;
    const bool lowered = bevel == Bevel::Lowered; // Space draws as Raised
    const Rgb top = lowered ? kShadow : kHighlight;
    const Rgb bottom = lowered ? kHighlight : kShadow;
    c.fill({r.x, r.y, 1, r.h}, top, clip);
    c.fill({r.x, r.y, r.w - 1, 1}, top, clip);
    c.fill({r.x + r.w - 1, r.y, 1, r.h}, bottom, clip);
    c.fill({r.x, r.y + r.h - 1, r.w, 1}, bottom, clip);
    return shrink(r, 1, 1, 1, 1);
}

void paintPanel(Canvas& c, Box box, const Panel& look, Box clip) {
    Box r = bevelFrame(c, box, look.outer, clip);
    r = bevelFrame(c, r, look.inner, clip);
    c.fill(r, look.colour, clip);
    // Centred both ways, as one line; odd leftovers go to the right and the bottom.
    drawText(c, Face::WindowBold, r.x + (r.w - textWidth(Face::WindowBold, look.caption)) / 2,
             r.y + (r.h - lineHeight(Face::WindowBold)) / 2, look.caption, kInk,
             intersect(clip, r));
}

void edge(Canvas& c, Box r, const Edge& e, const Rgb* face, Box clip) {
    const int x = r.x;
    const int y = r.y;
    const int w = r.w;
    const int h = r.h;
    if (w < 2 || h < 2) return;
    c.fill({x, y, 1, h - 1}, e.outerTopLeft, clip);
    c.fill({x, y, w - 1, 1}, e.outerTopLeft, clip);
    c.fill({x, y + h - 1, w, 1}, e.outerBottomRight, clip);
    c.fill({x + w - 1, y, 1, h}, e.outerBottomRight, clip);
    if (w <= 4 || h <= 4) return;
    c.fill({x + 1, y + 1, 1, h - 3}, e.innerTopLeft, clip);
    c.fill({x + 1, y + 1, w - 3, 1}, e.innerTopLeft, clip);
    c.fill({x + 1, y + h - 2, w - 2, 1}, e.innerBottomRight, clip);
    c.fill({x + w - 2, y + 1, 1, h - 2}, e.innerBottomRight, clip);
    if (face) c.fill(shrink(r, 2, 2, 2, 2), *face, clip);
}

// The classic focus frame: every other pixel of the rectangle's edge inverted, from its
// first one.
void focusFrame(Canvas& c, Box f, Box clip) {
    const Box area = intersect(clip, f);
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) {
            const bool edgePixel = x == f.x || x == f.x + f.w - 1 || y == f.y || y == f.y + f.h - 1;
            if (edgePixel && (x - f.x + y - f.y) % 2 == 0)
                c.pixels[std::size_t(y) * c.width + x] ^= 0xFFFFFF;
        }
}

} // namespace procesor::render

#pragma once

#include <string_view>

#include "panel/ElementState.h"
#include "picture/Canvas.h"

// The drawing primitives of the diagram's picture, for the explainers that draw in
// the same look: outlines, bevels, the classic 3-D edges, the focus frame and
// panels (the diagram's blocks are in Blocks.h). Each draws only inside `clip`.
namespace procesor::render {

// The shades of the classic 3-D look.
inline constexpr Rgb kFace = clInactiveBorder; // button face, light edge of a scroll arrow
inline constexpr Rgb kHighlight = 0xFFFFFF;
inline constexpr Rgb kShadow = 0x808080;
inline constexpr Rgb kDarkShadow = 0x404040;

Box intersect(Box a, Box b);
// Both non-empty and overlapping.
bool meets(Box a, Box b);
Box shrink(Box b, int left, int top, int right, int bottom);

// A black outline `width` pixels wide (`bottomWidth` at the bottom) round white.
void frame(Canvas& c, Box r, int width, int bottomWidth, Box clip);

// One 1-pixel frame of a panel's bevel along the edge of r: light on the top and
// left, dark on the bottom and right, the other way round when lowered; nothing for
// None. Returns the rectangle inside the frame.
Box bevelFrame(Canvas& c, Box r, Bevel bevel, Box clip);
// A panel: its outer and inner bevel, its colour, its caption in bold centred.
void paintPanel(Canvas& c, Box box, const Panel& look, Box clip);

// The classic two-pixel 3-D edge: outer top-left, outer bottom-right, inner top-left,
// inner bottom-right.
struct Edge {
    Rgb outerTopLeft;
    Rgb outerBottomRight;
    Rgb innerTopLeft;
    Rgb innerBottomRight;
};
inline constexpr Edge kRaisedButton = {kHighlight, kDarkShadow, kFace, kShadow};
inline constexpr Edge kPushedButton = {kDarkShadow, kHighlight, kShadow, kFace};
inline constexpr Edge kSunkenField = {kShadow, kHighlight, kDarkShadow, kFace};
// The edge and, unless `face` is nullptr, the face inside it.
void edge(Canvas& c, Box r, const Edge& e, const Rgb* face, Box clip);

// The classic focus frame: every other pixel of the rectangle's edge inverted, from
// its first one.
void focusFrame(Canvas& c, Box f, Box clip);

} // namespace procesor::render

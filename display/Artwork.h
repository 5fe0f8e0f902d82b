#pragma once

#include <QColor>
#include <QRect>

#include "renderer/DiagramLayout.h"
#include "panel/ElementState.h"

class QPainter;

namespace procesor {

class Fonts;

inline QColor colour(Rgb rgb) {
    return QColor::fromRgb(rgb);
}

// The bevel shades of the classic scheme.
inline constexpr Rgb kBevelLight = 0xFFFFFF;
inline constexpr Rgb kBevelDark = 0x808080;

inline QRect boxRect(const layout::Box& b) {
    return {b.x, b.y, b.w, b.h};
}

// The window's background with every green wire and junction dot.
void paintWiring(QPainter& painter);

// One block picture (control unit, register, RAM, AND gate, bus switch) at its place.
void paintBlock(QPainter& painter, const layout::Block& block, const Fonts& fonts);

// One 1-pixel frame of a panel's bevel along the edge of r: light on the top and
// left, dark on the bottom and right, the other way round when lowered; nothing for
// None. Returns the rectangle inside the frame.
QRect paintBevelFrame(QPainter& painter, QRect r, Bevel bevel);

} // namespace procesor

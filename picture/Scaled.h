#pragma once

#include <cstdint>

#include "picture/Canvas.h"

// The picture made smaller for a screen too small to show it whole: every pixel of
// the smaller picture is the average of the picture's pixels under it, each weighed
// by how much of it lies there. A one-pixel wire or the stroke of a letter thus never
// drops out, as it may when pixels are picked or sampled; it shows as a fainter line.
namespace procesor::render {

// Writes the canvas made `width` x `height` (each from 1 up to the canvas's own) as
// R, G, B, A bytes, row by row, into `rgba`, which holds width * height * 4 bytes.
void scaleDown(const Canvas& canvas, int width, int height, std::uint8_t* rgba);

} // namespace procesor::render

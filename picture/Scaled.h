#pragma once

#include <cstdint>

#include "picture/Canvas.h"

// The picture at any size: every pixel of the picture shown is the average of the
// picture's pixels under it, each weighed by how much of it lies there. Made smaller,
// a one-pixel wire or the stroke of a letter thus never drops out, as it may when
// pixels are picked or sampled; it shows as a fainter line. Made larger by a factor
// that is not whole, every pixel of the picture becomes the same width of device
// pixels (1.5 of them at 1.5), blended only where its edges fall inside a device
// pixel, so that no line is drawn wider than another.
namespace procesor::render {

// Writes the canvas made `width` x `height` (each at least 1) as R, G, B, A bytes,
// row by row, into `rgba`, which holds width * height * 4 bytes.
void scaleTo(const Canvas& canvas, int width, int height, std::uint8_t* rgba);

// The same for the pixels of `area` of the picture made `width` x `height` only (a
// repaint of what changed); the rest of `rgba` stays as it was.
void scaleTo(const Canvas& canvas, int width, int height, std::uint8_t* rgba, Box area);

// The same, never larger than the canvas itself.
void scaleDown(const Canvas& canvas, int width, int height, std::uint8_t* rgba);

} // namespace procesor::render

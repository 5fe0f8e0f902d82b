#pragma once

#include <string>

#include "picture/Canvas.h"

// A picture as the bytes of a PNG file (8-bit RGB, its deflate data stored without
// compression, so that no library is needed): for "Uložit obrázek…" and the export of
// the timing diagram. Every pixel as it stands, at the canvas's own size.
namespace procesor::render {

std::string pngBytes(const Canvas& canvas);

} // namespace procesor::render

#pragma once

#include "picture/Canvas.h"

// How large the picture is shown in a window, the same for every front end. The
// window's room is given in device pixels (the screen's own, after its scaling). The
// picture takes the largest size that fits, kept in proportion. Where a whole number
// of device pixels per picture pixel comes within a tenth of that size, it takes that
// whole factor instead: each pixel a square of whole device pixels, exactly sharp.
// Otherwise each device pixel is the average of the picture's pixels under it, each
// weighed by how much of it lies there (`scaleTo`): every line of the diagram is then
// equally wide in device pixels, blended only in the one device pixel at each edge.
namespace procesor::render {

struct Fit {
    int pictureWidth = 0; // the picture's own pixels
    int pictureHeight = 0;
    int width = 0; // the device pixels it takes
    int height = 0;
    int factor = 0; // device pixels per picture pixel when sharp; 0 when averaged

    bool sharp() const { return factor > 0; }
    constexpr bool operator==(const Fit&) const = default;
};

// The size of a picture of pictureWidth x pictureHeight in a room of roomWidth x
// roomHeight device pixels (each at least 1).
Fit fitPicture(int roomWidth, int roomHeight, int pictureWidth, int pictureHeight);

// One device pixel per picture pixel, whatever the room ("1:1").
Fit actualSize(int pictureWidth, int pictureHeight);

struct PicturePoint {
    int x = -1; // -1: outside the picture
    int y = -1;
    bool inside() const { return x >= 0 && y >= 0; }
};

// The picture pixel under the centre of device pixel (x, y) of a picture shown as
// `fit`, counted from the picture's top left corner: where a click there lands.
PicturePoint pictureAt(const Fit& fit, int deviceX, int deviceY);

} // namespace procesor::render

// The picture's size in the window (picture/Scaling.cpp) as a WebAssembly module of
// its own, a few hundred bytes in the page, that the page's first script asks before
// the simulator's module has started: whether the start picture can be shown at once.
#include "picture/Scaling.h"

extern "C" {

// The shown width, height and whole factor (0: averaged) of a picture of
// pictureWidth x pictureHeight in a room of width x height device pixels.
__attribute__((export_name("fit"))) const int* fit(int width, int height, int pictureWidth,
                                                  int pictureHeight) {
    static int out[3];
    const procesor::render::Fit f = procesor::render::fitPicture(width, height, pictureWidth, pictureHeight);
    out[0] = f.width;
    out[1] = f.height;
    out[2] = f.factor;
    return out;
}

} // extern "C"

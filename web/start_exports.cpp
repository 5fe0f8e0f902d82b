// What the page's first script asks before the simulator's module has started, as a
// WebAssembly module of its own, small enough to be made at once (a few kilobytes):
// the picture's size in the window (picture/Scaling.cpp), whether the start picture
// can be shown sharp, and the start picture unpacked (picture/Inflate.cpp).
#include <cstddef>
#include <cstdint>

#include "picture/Inflate.h"
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

extern unsigned char __heap_base;

// The start of `bytes` bytes of free memory (aligned to 16), the memory grown to hold
// them; null where it cannot grow. The page writes the picture's colours and packed
// numbers there and asks `unpack` to make the pixels after them.
__attribute__((export_name("room"))) unsigned char* room(std::size_t bytes) {
    const std::size_t start = (reinterpret_cast<std::size_t>(&__heap_base) + 15) & ~std::size_t(15);
    const std::size_t page = 65536;
    const std::size_t have = __builtin_wasm_memory_size(0) * page;
    if (bytes > SIZE_MAX - start) return nullptr;
    if (start + bytes > have &&
        __builtin_wasm_memory_grow(0, (start + bytes - have + page - 1) / page) == SIZE_MAX)
        return nullptr;
    return reinterpret_cast<unsigned char*>(start);
}

// The pixels (RGBA, 4 * width * height bytes at `pixels`) of a picture packed as
// colour numbers, one a byte, row by row, with DEFLATE; its colours as 32-bit words
// (the bytes R, G, B, A). False where the packed numbers are damaged.
__attribute__((export_name("unpack"))) bool unpack(const std::uint32_t* palette, int colours,
                                                   const std::uint8_t* packed, int packedSize,
                                                   int width, int height, std::uint8_t* pixels) {
    if (colours <= 0 || packedSize < 0 || width <= 0 || height <= 0) return false;
    return procesor::render::inflateColours(packed, std::size_t(packedSize), palette, std::size_t(colours),
                                            pixels, std::size_t(width) * std::size_t(height));
}

} // extern "C"

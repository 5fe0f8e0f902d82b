// The build's tool for the page's start picture: the client area as the page shows it
// at start, with no program in its address and no work kept, as a PNG file, and the
// places of the fields, so that the page can show both before its module has started.
//   start_picture PICTURE.png PLACES.txt   (run by Node.js, the files written by it)
#include <cstdio>
#include <string>

#include "picture/PngFile.h"
#include "screen/Screen.h"
#include "web/Start.h"

namespace {

bool write(const char* path, const std::string& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: start_picture PICTURE.png PLACES.txt\n");
        return 2;
    }
    procesor::screen::Screen screen;
    procesor::web::start(screen);
    std::string places;
    for (int p : procesor::web::kPlaces) places += (places.empty() ? "" : ",") + std::to_string(p);
    if (!write(argv[1], procesor::render::pngBytes(screen.canvas())) || !write(argv[2], places + "\n")) {
        std::fprintf(stderr, "start_picture: cannot write %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}

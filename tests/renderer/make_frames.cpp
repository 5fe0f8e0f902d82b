// Makes the reference frames: walks tests/frames/scenario.txt with the headless
// screen and writes every frame as NAME.png. Run on purpose (scripts/make_frames),
// then look at each frame before checking it in.

#include <cstdio>

#include "tests/renderer/Png.h"
#include "tests/renderer/Scenario.h"

using namespace procesor;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_frames SCENARIO OUTPUT_DIRECTORY\n");
        return 2;
    }
    std::string error;
    const std::vector<testing::Step> steps = testing::readScenario(argv[1], error);
    if (steps.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    render::Screen screen;
    int written = 0;
    bool ok = true;
    const std::string problems =
        testing::walk(screen, steps, [&](const testing::Step& s, const render::Canvas& c) {
            const std::string path = std::string(argv[2]) + "/" + s.name + ".png";
            if (testing::writePng(path, {c.width, c.height, c.pixels}))
                ++written;
            else
                ok = false, std::fprintf(stderr, "cannot write %s\n", path.c_str());
        });
    std::printf("%d frames written to %s\n", written, argv[2]);
    std::fputs(problems.c_str(), stderr);
    return ok && problems.empty() ? 0 : 1;
}

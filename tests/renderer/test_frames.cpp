// Every reference frame, every pixel: walks tests/frames/scenario.txt with the
// headless screen and compares the picture at each frame step with NAME.png. On a
// mismatch it writes NAME-actual.png and NAME-diff.png (differing pixels red on a
// faded copy) into the build directory and names the first differing pixels.

#include <cstdio>

#include "tests/renderer/Png.h"
#include "tests/renderer/Scenario.h"

using namespace procesor;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: test_frames SCENARIO FRAME_DIRECTORY OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string frames = argv[2];
    const std::string out = argv[3];
    std::string error;
    const std::vector<testing::Step> steps = testing::readScenario(argv[1], error);
    if (steps.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    render::Screen screen;
    int checked = 0;
    int failed = 0;
    testing::walk(screen, steps, [&](const testing::Step& s, const render::Canvas& c) {
        ++checked;
        const auto expected = testing::readPng(frames + "/" + s.name + ".png");
        testing::Image diff;
        const std::string why =
            expected ? testing::differences(*expected, {c.width, c.height, c.pixels}, diff)
                     : "no readable reference";
        if (why.empty()) return;
        ++failed;
        std::fprintf(stderr, "frame %s (scenario line %d): %s\n", s.name.c_str(), s.line,
                     why.c_str());
        testing::writePng(out + "/" + s.name + "-actual.png", {c.width, c.height, c.pixels});
        if (!diff.pixels.empty()) testing::writePng(out + "/" + s.name + "-diff.png", diff);
    });
    std::printf("%d of %d frames differ\n", failed, checked);
    return failed == 0 && checked > 0 ? 0 : 1;
}

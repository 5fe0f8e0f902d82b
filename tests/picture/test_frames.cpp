// Every reference frame, every pixel: walks tests/frames/scenario.txt with the
// headless screen and compares the picture at each frame step with NAME.png. On a
// mismatch it writes NAME-actual.png and NAME-diff.png (differing pixels red on a
// faded copy) into the output directory and names the first differing pixels.
// Then the same from the program step on, the program brought in as text: pasted,
// and as a file's bytes.
//
//   test_frames [SCENARIO FRAME_DIRECTORY OUTPUT_DIRECTORY]
//   test_frames --rebaseline [SCENARIO FRAME_DIRECTORY]
//
// --rebaseline makes the frames anew, on purpose, after a change to the picture: it
// writes NAME.png for every frame that is missing or differs (and no other), says
// which; look at each of them before checking it in. Without paths, both take the
// project's tests/frames and write into the build directory.

#include <cstdio>
#include <functional>
#include <string_view>

#include "tests/picture/Png.h"
#include "tests/picture/Scenario.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
namespace frames = procesor::testing;

int main(int argc, char** argv) {
    const bool rebaseline = argc > 1 && std::string_view(argv[1]) == "--rebaseline";
    const int paths = argc - 1 - rebaseline;
    if (paths != 0 && paths != (rebaseline ? 2 : 3)) {
        std::fprintf(stderr, "usage: test_frames [SCENARIO FRAME_DIRECTORY OUTPUT_DIRECTORY]\n"
                             "       test_frames --rebaseline [SCENARIO FRAME_DIRECTORY]\n");
        return 2;
    }
    const std::string frameDirectory = paths ? argv[argc - paths + 1] : PROCESOR_FRAMES;
    const std::string scenario = paths ? argv[argc - paths] : frameDirectory + "/scenario.txt";
    const std::string out = paths == 3 ? argv[argc - 1] : PROCESOR_FRAMES_OUT;
    std::string error;
    const std::vector<frames::Step> steps = frames::readScenario(scenario, error);
    if (steps.empty()) {
        std::fprintf(stderr, "%s\n", error.empty() ? "the scenario has no steps" : error.c_str());
        return 1;
    }
    struct Way {
        const char* name;
        std::function<void(render::Screen&, const std::string& program)> bringIn;
    };
    const Way ways[] = {
        {"clicks", {}},
        {"paste", [](render::Screen& s, const std::string& p) { s.paste(p); }},
        {"file",
         [](render::Screen& s, const std::string& p) {
             s.openFile("lekce.txt", "# the worked example\r\n" + p + "\r\n");
         }},
    };
    int checked = 0;
    int differing = 0;
    for (const Way& way : ways) {
        // A rebaseline takes the frames as the clicks reach them; the other ways are
        // held to those.
        if (rebaseline && way.bringIn) break;
        render::Screen screen([&](const std::string& message) {
            FAIL(std::string(way.name) + ": error box \"" + message + "\"");
        });
        std::vector<frames::Step> walked = steps;
        if (way.bringIn) {
            walked = frames::fromProgram(steps);
            if (walked.empty()) {
                std::fprintf(stderr, "no program step in the scenario\n");
                return 1;
            }
            screen.render();
            way.bringIn(screen, walked.front().name);
        }
        const std::string problems =
            frames::walk(screen, walked, [&](const frames::Step& s, const render::Canvas& c) {
                ++checked;
                const std::string reference = frameDirectory + "/" + s.name + ".png";
                const auto expected = frames::readPng(reference);
                frames::Image diff;
                const std::string why =
                    expected ? frames::differences(*expected, {c.width, c.height, c.pixels}, diff)
                             : "no readable reference";
                if (why.empty()) return;
                ++differing;
                if (rebaseline) {
                    CHECK_MSG(frames::writePng(reference, {c.width, c.height, c.pixels}),
                              "cannot write " + reference);
                    std::printf("wrote %s (%s)\n", reference.c_str(), why.c_str());
                    return;
                }
                FAIL(std::string(way.name) + ": frame " + s.name + " (scenario line " +
                     std::to_string(s.line) + "): " + why);
                const std::string file = out + "/" + s.name + "-" + way.name;
                frames::writePng(file + "-actual.png", {c.width, c.height, c.pixels});
                if (!diff.pixels.empty()) frames::writePng(file + "-diff.png", diff);
            });
        CHECK_MSG(problems.empty(), std::string(way.name) + ": " + problems);
    }
    if (rebaseline)
        std::printf("%d of %d frames written anew into %s\n", differing, checked,
                    frameDirectory.c_str());
    else
        std::printf("test_frames: %d of %d frames differ\n", differing, checked);
    return ::testing::checkFailures() == 0 && checked > 0 ? 0 : 1;
}

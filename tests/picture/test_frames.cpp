// Every reference frame, every pixel: walks tests/frames/scenario.txt with the
// headless screen and compares the picture at each frame step with NAME.png. On a
// mismatch it writes NAME-WAY-actual.png and NAME-WAY-diff.png (differing pixels red
// on a faded copy) into the output directory and names the first differing pixels.
// Then the same from the program step on, the program brought in as text: pasted,
// and as a file's bytes.
//
//   test_frames [SCENARIO FRAME_DIRECTORY OUTPUT_DIRECTORY]
//   test_frames --rebaseline [SCENARIO FRAME_DIRECTORY]
//
// --rebaseline makes the frames anew, on purpose, after a change to the picture: it
// writes NAME.png for every frame that is missing or differs (and no other), naming
// each; look at each of them before checking it in. Without paths, both take the
// project's tests/frames and write into the build directory.

#include <cstdio>
#include <functional>
#include <string_view>

#include "tests/support/PlainCheck.h"
#include "tests/support/frames/DiagramWalk.h"
#include "tests/support/frames/Frames.h"

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
    const std::vector<frames::Step> steps = frames::readSteps(scenario, error);
    if (steps.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    struct Way {
        const char* name;
        std::function<void(screen::Screen&, const std::string& program)> bringIn;
    };
    const Way ways[] = {
        {"clicks", {}},
        {"paste", [](screen::Screen& s, const std::string& p) { s.paste(p); }},
        {"file",
         [](screen::Screen& s, const std::string& p) {
             s.openFile("lekce.txt", "# the worked example\r\n" + p + "\r\n");
         }},
    };
    frames::FrameCheck check(frameDirectory, out, rebaseline);
    for (const Way& way : ways) {
        // A rebaseline takes the frames as the clicks reach them; the other ways are
        // held to those.
        if (rebaseline && way.bringIn) break;
        screen::Screen screen([&](const std::string& message) {
            FAIL(std::string(way.name) + ": error box \"" + message + "\"");
        });
        std::vector<frames::Step> walked = steps;
        if (way.bringIn) {
            walked = frames::fromProgram(steps);
            if (walked.empty()) {
                std::fprintf(stderr, "%s: no program step\n", scenario.c_str());
                return 1;
            }
            screen.render();
            way.bringIn(screen, walked.front().word);
        }
        const std::string problems =
            frames::walk(screen, walked, [&](const frames::Step& s, const render::Canvas& c) {
                const std::string why =
                    check.check(s.word, {c.width, c.height, c.pixels}, s.word + "-" + way.name);
                CHECK_MSG(why.empty(), std::string(way.name) + ": frame " + s.word + " (line " +
                                           std::to_string(s.line) + "): " + why);
            });
        CHECK_MSG(problems.empty(), std::string(way.name) + ": " + scenario + " " + problems);
    }
    for (const std::string& name : check.unreached())
        FAIL(frameDirectory + "/" + name + ": no frame step of " + scenario + " reaches it");
    std::printf("test_frames: %s\n", check.summary().c_str());
    return ::testing::checkFailures() == 0 && check.checked() > 0 ? 0 : 1;
}

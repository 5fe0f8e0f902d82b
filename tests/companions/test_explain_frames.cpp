// Every explainer's reference frames, every pixel: for each scene of the table that
// exists, walks tests/frames/explain/COMMAND/steps.txt with the headless scene and
// compares the picture at each frame step with COMMAND/NAME.png. On a mismatch it
// writes COMMAND-NAME-actual.png and COMMAND-NAME-diff.png into the output directory.
//
//   test_explain_frames [--rebaseline] [COMMAND...]
//
// --rebaseline makes the frames anew, on purpose, after a change to a scene's
// picture: it writes NAME.png for every frame that is missing or differs (and no
// other), naming each; look at each of them before checking it in. COMMANDs limit
// it to those scenes.

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "companions/Scenes.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/SceneWalk.h"

using namespace procesor;

int main(int argc, char** argv) {
    const bool rebaseline = argc > 1 && std::string_view(argv[1]) == "--rebaseline";
    const std::vector<std::string_view> only(argv + 1 + rebaseline, argv + argc);
    int scenes = 0;
    int checked = 0;
    int failed = 0;
    for (const explain::SceneEntry& entry : explain::scenes()) {
        const std::string command(entry.command);
        if (!only.empty() && std::find(only.begin(), only.end(), command) == only.end()) continue;
        if (!entry.make(nullptr)) continue; // still its own Qt window
        ++scenes;
        const std::string dir = std::string(PROCESOR_FRAMES) + "/" + command;
        std::string error;
        const std::vector<testing::Step> steps = testing::readSteps(dir + "/steps.txt", error);
        if (steps.empty()) {
            std::fprintf(stderr, "%s: %s\n", command.c_str(), error.c_str());
            ++failed;
            continue;
        }
        const auto opening = testing::openingOf(steps);
        const auto scene = entry.make(opening ? &*opening : nullptr);
        testing::FrameCheck check(dir, PROCESOR_FRAMES_OUT, rebaseline);
        testing::walk(
            *scene, steps,
            [&](const testing::Step& s, const render::Canvas& c) {
                const std::string why =
                    check.check(s.word, {c.width, c.height, c.pixels}, command + "-" + s.word);
                if (why.empty()) return;
                ++failed;
                std::fprintf(stderr, "%s frame %s (line %d): %s\n", command.c_str(), s.word.c_str(),
                             s.line, why.c_str());
            },
            [&](const testing::Step& s, const std::string& why) {
                ++failed;
                std::fprintf(stderr, "%s line %d: %s\n", command.c_str(), s.line, why.c_str());
            });
        checked += check.checked();
        for (const std::string& name : check.unreached()) {
            ++failed;
            std::fprintf(stderr, "%s/%s: no frame step reaches it\n", dir.c_str(), name.c_str());
        }
        if (rebaseline) std::printf("%s: %s\n", command.c_str(), check.summary().c_str());
    }
    std::printf("%d scenes, %d frames checked, %d failures\n", scenes, checked, failed);
    return failed == 0 && checked > 0 ? 0 : 1;
}

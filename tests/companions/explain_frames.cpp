// Every explainer's reference frames, every pixel: for each scene of the table that
// exists, walks tests/frames/explain/COMMAND/steps.txt with the headless scene and
// compares the picture at each frame step with COMMAND/NAME.png. On a mismatch it
// writes NAME-actual.png and NAME-diff.png into the output directory.
//
//   explain_frames FRAMES_ROOT OUTPUT_DIRECTORY        check (the test)
//   explain_frames --rebaseline FRAMES_ROOT [COMMAND]  write the frames anew, on
//                                                      purpose; look at each one after

#include <cstdio>
#include <cstring>

#include "companions/Scenes.h"
#include "tests/companions/ExplainSteps.h"
#include "tests/picture/Png.h"

using namespace procesor;

int main(int argc, char** argv) {
    const bool rebaseline = argc >= 2 && std::strcmp(argv[1], "--rebaseline") == 0;
    if (rebaseline ? (argc != 3 && argc != 4) : argc != 3) {
        std::fprintf(stderr, "usage: explain_frames FRAMES_ROOT OUTPUT_DIRECTORY\n"
                             "       explain_frames --rebaseline FRAMES_ROOT [COMMAND]\n");
        return 2;
    }
    const std::string root = rebaseline ? argv[2] : argv[1];
    const std::string out = rebaseline ? std::string() : argv[2];
    const char* only = rebaseline && argc == 4 ? argv[3] : nullptr;
    int scenes = 0;
    int checked = 0;
    int failed = 0;
    for (const explain::SceneEntry& entry : explain::scenes()) {
        const std::string command(entry.command);
        if (only && command != only) continue;
        if (!entry.make(nullptr)) continue; // still its own Qt window
        ++scenes;
        std::string error;
        const std::string dir = root + "/" + command;
        const testing::ExplainScript script = testing::readExplainScript(dir + "/steps.txt", error);
        if (script.steps.empty()) {
            std::fprintf(stderr, "%s: %s\n", command.c_str(), error.c_str());
            ++failed;
            continue;
        }
        const auto scene = entry.make(script.opening ? &*script.opening : nullptr);
        testing::walk(
            *scene, script.steps,
            [&](const testing::ExplainStep& s, const render::Canvas& c) {
                ++checked;
                const std::string path = dir + "/" + s.name + ".png";
                if (rebaseline) {
                    if (!testing::writePng(path, {c.width, c.height, c.pixels}))
                        ++failed, std::fprintf(stderr, "cannot write %s\n", path.c_str());
                    return;
                }
                const auto expected = testing::readPng(path);
                testing::Image diff;
                const std::string why =
                    expected ? testing::differences(*expected, {c.width, c.height, c.pixels}, diff)
                             : "no readable reference";
                if (why.empty()) return;
                ++failed;
                std::fprintf(stderr, "%s frame %s (line %d): %s\n", command.c_str(), s.name.c_str(),
                             s.line, why.c_str());
                const std::string stem = out + "/" + command + "-" + s.name;
                testing::writePng(stem + "-actual.png", {c.width, c.height, c.pixels});
                if (!diff.pixels.empty()) testing::writePng(stem + "-diff.png", diff);
            },
            [&](const testing::ExplainStep& s, const std::string& why) {
                ++failed;
                std::fprintf(stderr, "%s line %d: %s\n", command.c_str(), s.line, why.c_str());
            });
    }
    std::printf("%d scenes, %d frames %s, %d failures\n", scenes, checked,
                rebaseline ? "written" : "checked", failed);
    return failed == 0 && checked > 0 ? 0 : 1;
}

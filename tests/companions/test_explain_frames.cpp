// Every explainer's reference frames, every pixel: for each scene of the table that
// exists, walks tests/frames/explain/COMMAND/steps.txt with the headless scene and
// compares the picture at each frame step with COMMAND/NAME.png. On a mismatch it
// writes COMMAND-NAME-actual.png and COMMAND-NAME-diff.png into the output directory.
//
//   test_explain_frames [--rebaseline] [COMMAND...]
//
// At every frame step it also checks the stepping row: "ručně", "do konce mikrokroku"
// and "od začátku" in that order, at the left margin, at the same distance from the
// foot and of the same sizes in every scene, and nothing else drawn or placed in
// their band but the clock's state after them and the switch "sledovat simulátor".
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
#include "companions/common/Controls.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/SceneWalk.h"

using namespace procesor;

namespace {

// The step buttons of a scene, in the order they are found; the row's boxes measured
// from the foot (y is the distance of the top from the scene's bottom).
std::vector<render::Box> stepRow(const explain::Scene& scene) {
    std::vector<render::Box> row;
    for (const char* caption : {"ručně", "do konce mikrokroku", "od začátku"})
        for (int i = 0; i < scene.controlCount(); ++i)
            if (scene.control(i).buttonCaption() == caption) {
                const render::Box r = scene.control(i).box();
                row.push_back({r.x, scene.height() - r.y, r.w, r.h});
            }
    return row;
}

// What is wrong with the row in this picture, empty when nothing; `first` is the row
// of the first scene checked, which every other must repeat.
std::string rowFault(const explain::Scene& scene, const render::Canvas& c,
                     std::vector<render::Box>& first) {
    const std::vector<render::Box> row = stepRow(scene);
    if (row.size() != 3) return "not the three step buttons";
    if (row[0].x != 10) return "the row does not start at the left margin";
    for (std::size_t i = 1; i < row.size(); ++i)
        if (row[i].y != row[0].y || row[i].x <= row[i - 1].x + row[i - 1].w)
            return "the step buttons are not in one row, in order";
    if (first.empty()) first = row;
    for (std::size_t i = 0; i < row.size(); ++i)
        if (row[i].x != first[i].x || row[i].y != first[i].y || row[i].w != first[i].w ||
            row[i].h != first[i].h)
            return "the row is not where the first scene has it";
    // The band: the buttons' rows and 4 more above and below, the whole width.
    const int top = scene.height() - row[0].y;
    const int bottom = top + row[0].h;
    const explain::Control* follow = scene.followSwitch();
    const bool followShown = follow && follow->visible();
    const int stateEnd = followShown ? follow->box().x : c.width - 10;
    for (int i = 0; i < scene.controlCount(); ++i) {
        const explain::Control& k = scene.control(i);
        const render::Box b = k.box();
        const std::string_view caption = k.buttonCaption();
        const bool step = caption == "ručně" || caption == "do konce mikrokroku" ||
                          caption == "od začátku";
        if (!k.visible() || &k == follow || step) continue;
        if (b.y < bottom + 4 && b.y + b.h > top - 4) return "a control lies in the row's band";
    }
    const auto inside = [&](int x, int y) {
        if (y < top || y >= bottom) return false;
        for (const render::Box& r : row)
            if (x >= r.x && x < r.x + r.w) return true;
        if (x >= row[2].x + row[2].w && x < stateEnd) return true; // the clock's state
        return followShown && follow->box().contains(x, y);
    };
    const std::uint32_t window = c.pixels[std::size_t(top - 4) * c.width];
    for (int y = top - 4; y < bottom + 4; ++y)
        for (int x = 0; x < c.width; ++x)
            if (c.pixels[std::size_t(y) * c.width + x] != window && !inside(x, y))
                return "drawn in the row's band at " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    const bool rebaseline = argc > 1 && std::string_view(argv[1]) == "--rebaseline";
    const std::vector<std::string_view> only(argv + 1 + rebaseline, argv + argc);
    int scenes = 0;
    int checked = 0;
    int failed = 0;
    std::vector<render::Box> firstRow;
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
                if (const std::string row = rowFault(*scene, c, firstRow); !row.empty()) {
                    ++failed;
                    std::fprintf(stderr, "%s frame %s (line %d): the stepping row: %s\n",
                                 command.c_str(), s.word.c_str(), s.line, row.c_str());
                }
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

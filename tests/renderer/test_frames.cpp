// Every reference frame, every pixel: walks tests/frames/scenario.txt with the
// headless screen and compares the picture at each frame step with NAME.png. On a
// mismatch it writes NAME-actual.png and NAME-diff.png (differing pixels red on a
// faded copy) into the build directory and names the first differing pixels.
// Then the same from the program step on, the program brought in as text: pasted,
// and as a file's bytes.

#include <cstdio>
#include <functional>

#include "tests/renderer/Png.h"
#include "tests/renderer/Scenario.h"

using namespace procesor;

namespace {

// How a frame differs from its reference; empty when it equals it.
std::string compare(const testing::Image& expected, const render::Canvas& actual,
                    testing::Image& diff) {
    if (expected.width != actual.width || expected.height != actual.height)
        return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
               ", expected " + std::to_string(expected.width) + "x" +
               std::to_string(expected.height);
    diff = {actual.width, actual.height, actual.pixels};
    int count = 0;
    std::string first;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        const std::uint32_t want = expected.pixels[i] | 0xFF000000u;
        const std::uint32_t got = actual.pixels[i] | 0xFF000000u;
        if (want == got) {
            const std::uint32_t grey = 0xC0 + ((got >> 8 & 0xFF) >> 2);
            diff.pixels[i] = 0xFF000000u | grey << 16 | grey << 8 | grey;
            continue;
        }
        diff.pixels[i] = 0xFFFF0000u;
        if (count++ < 5) {
            char text[96];
            std::snprintf(text, sizeof text, " %d,%d is #%06X, expected #%06X;",
                          int(i % actual.width), int(i / actual.width), got & 0xFFFFFFu,
                          want & 0xFFFFFFu);
            first += text;
        }
    }
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ, first:" + first;
}

} // namespace

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
    int failed = 0;
    for (const Way& way : ways) {
        render::Screen screen([&](const std::string& message) {
            ++failed;
            std::fprintf(stderr, "%s: error box \"%s\"\n", way.name, message.c_str());
        });
        std::vector<testing::Step> walked = steps;
        if (way.bringIn) {
            walked = testing::fromProgram(steps);
            if (walked.empty()) {
                std::fprintf(stderr, "no program step in the scenario\n");
                return 1;
            }
            screen.render();
            way.bringIn(screen, walked.front().name);
        }
        const std::string problems =
            testing::walk(screen, walked, [&](const testing::Step& s, const render::Canvas& c) {
                ++checked;
                const auto expected = testing::readPng(frames + "/" + s.name + ".png");
                testing::Image diff;
                const std::string why =
                    expected ? compare(*expected, c, diff) : "no readable reference";
                if (why.empty()) return;
                ++failed;
                std::fprintf(stderr, "%s: frame %s (scenario line %d): %s\n", way.name,
                             s.name.c_str(), s.line, why.c_str());
                const std::string file = out + "/" + s.name + "-" + way.name;
                testing::writePng(file + "-actual.png", {c.width, c.height, c.pixels});
                if (!diff.pixels.empty()) testing::writePng(file + "-diff.png", diff);
            });
        if (!problems.empty()) {
            ++failed;
            std::fprintf(stderr, "%s: %s", way.name, problems.c_str());
        }
    }
    std::printf("%d of %d frames differ\n", failed, checked);
    return failed == 0 && checked > 0 ? 0 : 1;
}

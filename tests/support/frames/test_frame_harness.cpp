// The frames' harness itself: the comparison finds a pixel that differs anywhere
// (the first, the last row and column, one device pixel of a grown frame), a PNG comes
// back as written, a check writes the actual picture and the differences and leaves
// the reference alone, a rebaseline writes only the frames that changed or are
// missing, the frames no step reaches are named, and the step grammar takes every
// step it lists and refuses the rest with its file and line.

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/PlainCheck.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/Steps.h"

using namespace procesor::testing;
namespace fs = std::filesystem;

namespace {

// A scratch directory of its own in the build tree, empty.
std::string scratch(const std::string& name) {
    const fs::path dir = fs::path(PROCESOR_FRAMES_OUT) / "harness" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// 7 x 5 pixels, each a colour of its own.
Image sample() {
    Image image{7, 5, {}};
    for (std::uint32_t i = 0; i < 35; ++i) image.pixels.push_back(0xFF000000u | i * 0x050307u);
    return image;
}

Image changedAt(Image image, int x, int y) {
    image.pixels[std::size_t(y) * image.width + x] ^= 0x000100u;
    return image;
}

Image grown(const Image& image, int scale) {
    Image big{image.width * scale, image.height * scale, {}};
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            big.pixels.push_back(image.pixels[std::size_t(y / scale) * image.width + x / scale]);
    return big;
}

TEST_CASE(everyDifferingPixelIsFound) {
    const Image frame = sample();
    Image diff;
    CHECK(differences(frame, frame, diff).empty());
    for (const auto& [x, y] :
         {std::pair(0, 0), std::pair(6, 0), std::pair(0, 4), std::pair(6, 4), std::pair(3, 2)}) {
        CONTEXT("pixel " + std::to_string(x) + "," + std::to_string(y));
        const std::string why = differences(frame, changedAt(frame, x, y), diff);
        CHECK(why.find("1 pixels differ") == 0);
        CHECK(why.find(" " + std::to_string(x) + "," + std::to_string(y) + " is #") !=
              std::string::npos);
        // The differing pixel red, the others a faded grey.
        CHECK_EQ(diff.pixels[std::size_t(y) * 7 + x], 0xFFFF0000u);
        CHECK(diff.pixels[std::size_t(y) * 7 + (x + 1) % 7] != 0xFFFF0000u);
    }
    // An alpha channel is no difference; a size is.
    Image opaque = frame;
    for (std::uint32_t& p : opaque.pixels) p &= 0xFFFFFFu;
    CHECK(differences(frame, opaque, diff).empty());
    CHECK(differences(frame, Image{7, 4, {frame.pixels.begin(), frame.pixels.end() - 7}}, diff)
              .find("size 7x4, expected 7x5") == 0);
    // Grown by 2: the same picture, then one device pixel of the last block off.
    CHECK(differences(frame, grown(frame, 2), diff, 2).empty());
    CHECK(differences(frame, changedAt(grown(frame, 2), 13, 9), diff, 2).find("1 pixels differ") ==
          0);
    CHECK(!differences(frame, frame, diff, 2).empty());
}

TEST_CASE(aPngComesBackAsWritten) {
    const std::string dir = scratch("png");
    const Image frame = sample();
    REQUIRE(writePng(dir + "/sample.png", frame));
    const auto back = readPng(dir + "/sample.png");
    REQUIRE(back.has_value());
    CHECK_EQ(back->width, 7);
    CHECK_EQ(back->height, 5);
    CHECK(back->pixels == frame.pixels);
    // A reference frame of the diagram, written by another encoder once: read whole.
    const auto startup = readPng(PROCESOR_REFERENCE_FRAME);
    REQUIRE(startup.has_value());
    CHECK_EQ(startup->width, 1024);
    CHECK_EQ(startup->height, 715);
    // Not a PNG, or cut short: nothing.
    std::ofstream(dir + "/text.png") << "frame";
    CHECK(!readPng(dir + "/text.png").has_value());
    const std::string whole = bytesOf(dir + "/sample.png");
    std::ofstream(dir + "/short.png", std::ios::binary) << whole.substr(0, whole.size() / 2);
    CHECK(!readPng(dir + "/short.png").has_value());
    CHECK(!readPng(dir + "/missing.png").has_value());
}

TEST_CASE(aMismatchLeavesTheReferenceAndShowsTheDifferences) {
    const std::string refs = scratch("check-refs");
    const std::string out = scratch("check-out");
    REQUIRE(writePng(refs + "/frame.png", sample()));
    const std::string before = bytesOf(refs + "/frame.png");
    FrameCheck check(refs, out);
    CHECK(check.check("frame", sample(), "frame-way").empty());
    CHECK(!fs::exists(out + "/frame-way-actual.png"));
    CHECK(check.check("frame", changedAt(sample(), 6, 4), "frame-way").find("1 pixels differ") ==
          0);
    CHECK(bytesOf(refs + "/frame.png") == before);
    const auto actual = readPng(out + "/frame-way-actual.png");
    const auto diff = readPng(out + "/frame-way-diff.png");
    REQUIRE(actual && diff);
    CHECK(actual->pixels == changedAt(sample(), 6, 4).pixels);
    CHECK_EQ(diff->pixels.back(), 0xFFFF0000u);
    CHECK(!check.check("missing", sample(), "missing").empty());
    CHECK(!fs::exists(refs + "/missing.png"));
    CHECK_EQ(check.checked(), 3);
    CHECK_EQ(check.differing(), 2);
    CHECK_EQ(check.summary(), std::string("2 of 3 frames differ"));
}

TEST_CASE(aRebaselineWritesOnlyChangedOrMissingFrames) {
    const std::string refs = scratch("rebaseline");
    // The same pixels as the picture, in bytes a rewrite would not keep.
    REQUIRE(writePng(refs + "/same.png", sample()));
    std::ofstream(refs + "/same.png", std::ios::binary | std::ios::app) << "tail";
    const std::string same = bytesOf(refs + "/same.png");
    REQUIRE(writePng(refs + "/changed.png", changedAt(sample(), 0, 0)));
    FrameCheck check(refs, scratch("rebaseline-out"), true);
    CHECK(check.check("same", sample(), "same").empty());
    CHECK(check.check("changed", sample(), "changed").empty());
    CHECK(check.check("new", sample(), "new").empty());
    CHECK(bytesOf(refs + "/same.png") == same);
    for (const char* name : {"changed", "new"}) {
        CONTEXT(name);
        const auto written = readPng(refs + "/" + name + ".png");
        CHECK(written && written->pixels == sample().pixels);
    }
    CHECK_EQ(check.written(), 2);
    CHECK_EQ(check.summary(), "2 of 3 frames written anew into " + refs);
    // Every frame of the directory was named; a frame no step names is unreached.
    CHECK(check.unreached().empty());
    REQUIRE(writePng(refs + "/orphan.png", sample()));
    CHECK(check.unreached() == std::vector<std::string>{"orphan.png"});
}

std::vector<Step> stepsOf(const std::string& text, std::string& error) {
    const std::string path = scratch("steps") + "/steps.txt";
    std::ofstream(path) << text;
    error.clear();
    return readSteps(path, error);
}

TEST_CASE(theStepGrammar) {
    std::string error;
    const std::vector<Step> steps = stepsOf("# a comment\n"
                                            "open Label 17\n"
                                            "\n"
                                            "click 30 128\n"
                                            "  down 1 2\n"
                                            "move 3 4\n"
                                            "up 5 6\n"
                                            "key backtab\n"
                                            "tick 5\n"
                                            "frame irw-phi2\n"
                                            "program 0001 0101  1110\n",
                                            error);
    REQUIRE(steps.size() == 9u);
    CHECK_EQ(error, std::string());
    const Step::Kind kinds[] = {Step::Open, Step::Click, Step::Down,  Step::Move,   Step::Up,
                                Step::Key,  Step::Tick,  Step::Frame, Step::Program};
    for (std::size_t i = 0; i < steps.size(); ++i) CHECK_EQ(int(steps[i].kind), int(kinds[i]));
    CHECK(steps[0].word == "Label" && steps[0].number == 17 && steps[0].line == 2);
    CHECK(steps[1].x == 30 && steps[1].y == 128 && steps[1].line == 4);
    CHECK(steps[3].x == 3 && steps[3].y == 4);
    CHECK_EQ(steps[5].word, std::string("backtab"));
    CHECK_EQ(steps[6].number, 5);
    CHECK_EQ(steps[7].word, std::string("irw-phi2"));
    CHECK_EQ(steps[8].word, std::string("0001 0101 1110"));
    CHECK(fromProgram(steps).size() == 1u && fromProgram(steps)[0].kind == Step::Program);
    CHECK_EQ(onlyKinds(steps, {Step::Open, Step::Click, Step::Down, Step::Move, Step::Up, Step::Key,
                               Step::Tick, Step::Frame, Step::Program}),
             std::string());
    CHECK_EQ(onlyKinds(steps, {Step::Open, Step::Click, Step::Down, Step::Up, Step::Key, Step::Tick,
                               Step::Frame, Step::Program}),
             std::string("line 6: no \"move\" step here"));

    for (const char* bad :
         {"frame a\nopen Image 9", "click 1", "click 1 2 3", "tick 0", "tick 6", "key escape",
          "frame a/b", "frame a\nframe a", "program", "program 0001\nprogram 0001", "open Button 3",
          "wait 3", "frame a # late comment"}) {
        CONTEXT(bad);
        CHECK(stepsOf(bad, error).empty());
        const std::string line = std::string(bad).find('\n') == std::string::npos ? ":1:" : ":2:";
        CHECK(error.find("steps.txt" + line + " not understood: ") != std::string::npos);
    }
    CHECK(stepsOf("# nothing\n\n", error).empty());
    CHECK(error.find(": no steps") != std::string::npos);
    CHECK(readSteps(scratch("none") + "/steps.txt", error).empty());
    CHECK(error.find(": cannot be read") != std::string::npos);
}

} // namespace

PLAIN_TEST_MAIN()

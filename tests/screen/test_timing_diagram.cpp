// The timing diagram over the worked example (LDA 5; MOV; ADD; HLT, 34 pulses): its
// frames, pixel for pixel, and a click or Enter on a column moving the machine to
// the state that pulse left.
//
//   test_timing_diagram [--rebaseline]
//
// --rebaseline writes the frames that are missing or differ into tests/frames/timing,
// on purpose; look at each before checking it in.

#include <cstdio>
#include <string>
#include <string_view>

#include "picture/PngFile.h"
#include "screen/Screen.h"
#include "screen/TimingDiagram.h"
#include "tests/support/PlainCheck.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/Png.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;
namespace frames = procesor::testing;

namespace {

bool rebaseline = false;

void click(Screen& s, int x, int y) {
    s.mouseDown(x, y);
    s.mouseUp(x, y);
}

void workedExample(Screen& s) {
    s.paste("0001 0101 1011 0101 1110");
    click(s, 859, 132); // provoz
    for (int i = 0; i < 34; ++i) {
        click(s, 855, 284); // ručně
        s.timerTick(5);
    }
}

// The middle of the column of pulse n (from 1) while the view starts at pulse 1.
int columnX(int n) {
    return TimingDiagram::kLabelWidth + (n - 1) * TimingDiagram::kColumnWidth + 12;
}

void frame(const Canvas& canvas, const std::string& name) {
    CONTEXT(name);
    const std::string path = std::string(PROCESOR_FRAMES "/timing/") + name + ".png";
    const frames::Image actual{canvas.width, canvas.height, canvas.pixels};
    const std::optional<frames::Image> expected = frames::readPng(path);
    frames::Image diff;
    const std::string differs = expected ? frames::differences(*expected, actual, diff) : "missing";
    if (rebaseline && !differs.empty()) {
        CHECK(frames::writePng(path, actual));
        std::printf("wrote %s\n", path.c_str());
        return;
    }
    CHECK_EQ(differs, std::string());
    if (!differs.empty()) {
        frames::writePng(std::string(PROCESOR_FRAMES_OUT "/") + name + "-actual.png", actual);
        frames::writePng(std::string(PROCESOR_FRAMES_OUT "/") + name + "-diff.png", diff);
    }
}

} // namespace

TEST_CASE(framesOfTheWorkedExample) {
    TimingDiagram d;
    Screen empty;
    frame(d.draw(empty.history()), "empty");
    Screen s;
    workedExample(s);
    frame(d.draw(s.history()), "worked-example");
    {
        // Exported as PNG, every pixel as drawn.
        const std::string path = PROCESOR_FRAMES_OUT "/timing-export.png";
        const std::string bytes = pngBytes(d.canvas());
        std::FILE* file = std::fopen(path.c_str(), "wb");
        REQUIRE(file != nullptr);
        CHECK_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
        const std::optional<frames::Image> back = frames::readPng(path);
        REQUIRE(back.has_value());
        CHECK_EQ(back->width, TimingDiagram::kWidth);
        CHECK_EQ(back->height, TimingDiagram::kHeight);
        CHECK(back->pixels == d.canvas().pixels);
    }
    // Column 8: the Φ2 pulse of line 0011, A := 5.
    const std::optional<std::uint64_t> to = d.click(columnX(8), 200);
    REQUIRE(to.has_value());
    REQUIRE(s.moveTo(*to));
    const ProcessorModel& m = s.simulator().model();
    CHECK_EQ(m.pc, 1);
    CHECK_EQ(m.ir, 3);
    CHECK_EQ(m.bus, 5);
    CHECK_EQ(m.regA, 5);
    CHECK(m.phi1 && m.phi2 && m.aLoad);
    frame(d.draw(s.history()), "pulse-08");
    // The keyboard: three to the left, shown with the focus frame; Enter goes there.
    for (int i = 0; i < 3; ++i) CHECK(!d.key(TimingDiagram::Key::Left).has_value());
    frame(d.draw(s.history()), "pulse-08-chosen-05");
    const std::optional<std::uint64_t> enter = d.key(TimingDiagram::Key::Enter);
    REQUIRE(enter.has_value());
    REQUIRE(s.moveTo(*enter));
    CHECK_EQ(s.simulator().model().ir, 2); // pulse 5: the Φ2 of line 0010
    CHECK_EQ(s.simulator().model().pc, 1);
    d.key(TimingDiagram::Key::End);
    REQUIRE(s.moveTo(*d.key(TimingDiagram::Key::Enter)));
    CHECK_EQ(s.simulator().model().ir, 15);        // the halt
    CHECK(!d.click(columnX(35), 200).has_value()); // no pulse there
    CHECK(!d.click(10, 200).has_value());          // the names of the rows
    // The same through the screen's own diagram: a click, keys, Enter.
    s.drawTimingDiagram();
    CHECK(s.timingDiagramClick(columnX(13), 300));
    CHECK_EQ(s.simulator().model().ir, 5); // the Φ1 of line 0101
    s.drawTimingDiagram();
    CHECK(!s.timingDiagramKey(TimingDiagram::Key::Right));
    CHECK(s.timingDiagramKey(TimingDiagram::Key::Enter));
    CHECK_EQ(s.simulator().model().ir, 11); // its Φ2: IR takes MOV from the bus
}

TEST_CASE(scrolledOverALongerRun) {
    Screen s;
    s.paste("0001 0101 1011 0101 1000 0000"); // LDA 5; MOV; ADD; JMP 0
    click(s, 859, 132);
    for (int i = 0; i < 100; ++i) {
        click(s, 855, 284);
        s.timerTick(5);
    }
    TimingDiagram d;
    d.draw(s.history());
    // The view follows the newest pulse: its column is the last one shown.
    const std::optional<std::uint64_t> newest =
        d.click(TimingDiagram::kLabelWidth +
                    (TimingDiagram::kColumns - 1) * TimingDiagram::kColumnWidth + 1,
                100);
    REQUIRE(newest.has_value());
    CHECK_EQ(*newest, s.history().last());
    d.scroll(-1000);
    d.draw(s.history());
    const std::optional<std::uint64_t> oldest = d.click(columnX(1), 100);
    REQUIRE(oldest.has_value());
    REQUIRE(s.moveTo(*oldest));
    CHECK(s.simulator().model().phi1 && !s.simulator().model().phi2);
    CHECK_EQ(s.simulator().model().ir, 1);
    frame(d.draw(s.history()), "scrolled-to-start");
}

int main(int argc, char** argv) {
    rebaseline = argc > 1 && std::string_view(argv[1]) == "--rebaseline";
    return ::testing::runCases(rebaseline ? 1 : argc, argv);
}

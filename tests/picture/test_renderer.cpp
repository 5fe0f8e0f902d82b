// The headless picture: named pixels of the wires, dots, overlays, blocks, label bars,
// bevels and control edges (every frame is also held to its reference, pixel for
// pixel, by test_frames; these say what is wrong where); the changed rectangles after
// random events (the picture must equal a fresh full frame, and every changed pixel
// must lie in a reported rectangle); and where clicks land, companions included.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "picture/DiagramLayout.h"
#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;

namespace {

struct Pixel {
    int x;
    int y;
    Rgb rgb;
    const char* what;
};

std::string hex(Rgb rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
    return text;
}

void expectPixels(Screen& s, std::initializer_list<Pixel> pixels) {
    s.render();
    for (const Pixel& p : pixels) {
        const Rgb found = s.canvas().at(p.x, p.y) & 0xFFFFFF;
        CHECK_MSG(found == p.rgb, std::string(p.what) + " at " + std::to_string(p.x) + "," +
                                      std::to_string(p.y) + ": " + hex(found) + ", expected " +
                                      hex(p.rgb));
    }
}

constexpr Rgb kGreen = 0x008000;
constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kBackground = 0xD4D0C8;
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kYellow = 0xFFFF00;
constexpr Rgb kSkyBlue = 0xA6CAF0;
constexpr Rgb kLight = 0xFFFFFF;
constexpr Rgb kDark = 0x808080;
constexpr Rgb kDarker = 0x404040;
constexpr Rgb kLime = 0x00FF00;
constexpr Rgb kMoneyGreen = 0xC0DCC0;
constexpr Rgb kCream = 0xFFFBF0;
constexpr Rgb kTeal = 0x008080;

// Every red pixel inside the overlay areas must belong to one of the lit boxes.
void expectRedOnlyIn(Screen& s, std::initializer_list<layout::Box> lit) {
    s.render();
    int strays = 0;
    std::string first;
    for (const layout::Overlay& o : layout::overlays()) {
        const layout::Box& b = o.red;
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x) {
                if ((s.canvas().at(x, y) & 0xFFFFFF) != kRed) continue;
                bool inLit = false;
                for (const layout::Box& r : lit) inLit = inLit || r.contains(x, y);
                if (!inLit && strays++ == 0)
                    first = std::to_string(x) + "," + std::to_string(y) + " (Image" +
                            std::to_string(o.image) + ")";
            }
    }
    CHECK_MSG(strays == 0,
              std::to_string(strays) + " red pixels outside the lit overlays, first at " + first);
}

void click(Screen& s, int x, int y) {
    s.mouseDown(x, y);
    s.mouseUp(x, y);
}

// The worked example, LDA 5; MOV; ADD; HLT, in run mode after its first microstep
// (three pulses of "ručně", each released by Timer5).
void firstMicrostepOfTheWorkedExample(Screen& s) {
    const int words[] = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};
    for (int i = 0; i < 5; ++i) s.simulator().model().ram[std::size_t(i)] = words[i];
    click(s, 859, 132); // "provoz"
    for (int pulse = 0; pulse < 3; ++pulse) {
        click(s, 855, 284);
        s.timerTick(5);
    }
}

} // namespace

TEST_CASE(wiresAndDotsAreTwoPixelGreenLinesAndFourPixelSquares) {
    Screen s;
    expectPixels(s, {
                        // The stepping wire: up from "krokování" (x = 448, y 285..326), then
                        // along y = 283 into the PC (x 448..560).
                        {448, 285, kGreen, "stepping wire, top of the rise"},
                        {449, 326, kGreen, "stepping wire, bottom of the rise"},
                        {448, 327, kBackground, "row 327, past the rise's end"},
                        {450, 300, kBackground, "column 450, right of the rise"},
                        {447, 300, kBackground, "column 447, left of the rise"},
                        {448, 283, kGreen, "stepping wire into the PC, first column"},
                        {560, 284, kGreen, "stepping wire into the PC, last column"},
                        {500, 282, kBackground, "row above the stepping wire"},
                        {500, 285, kBackground, "row below the stepping wire"},
                        {447, 283, kBackground, "left of the stepping wire's start"},
                        // The PC count's vertical piece, x = 416, y 272..304.
                        {416, 272, kGreen, "PC count, top"},
                        {417, 304, kGreen, "PC count, bottom"},
                        {418, 290, kBackground, "right of the PC count"},
                        {418, 306, kBackground, "below the corner of the PC count"},
                        {415, 280, kBackground, "left of the PC count"},
                        // Phi1 rises from y = 174 into IR's bottom edge at 104.
                        {578, 105, kGreen, "Phi1 just under IR"},
                        {578, 104, kBlack, "IR's bottom edge over Phi1"},
                        // The bus lines run from y = 48 down to 688.
                        {736, 60, kGreen, "bus line of bit 3"},
                        {785, 688, kGreen, "bus line of bit 0, last row"},
                        {784, 689, kBackground, "below the bus"},
                        {786, 300, kBackground, "right of the bus line of bit 0"},
                        // Junction dot Image99 at 257,231 (4 x 4) on the Phi2 wire.
                        {257, 231, kGreen, "Phi2 dot, top-left"},
                        {260, 234, kGreen, "Phi2 dot, bottom-right"},
                        {256, 231, kBackground, "left of the Phi2 dot"},
                        {261, 231, kBackground, "right of the Phi2 dot"},
                        {257, 230, kBackground, "above the Phi2 dot"},
                        // Dot Image77 where the PC's stub of bit 3 meets the bus.
                        {735, 263, kGreen, "PC stub dot, bit 3"},
                        {734, 263, kBackground, "left of that dot"},
                        // A crossing without a dot is no connection: A/W crosses PC/I.
                        {190, 295, kBackground, "no dot where A/W crosses PC/I"},
                        // Outlines and dividers.
                        {9, 100, kBlack, "control unit's 2-pixel outline"},
                        {290, 20, kBlack, "memory decoder divider"},
                        {851, 189, kBlack, "closed bus switch blade"},
                    });
}

TEST_CASE(stubsStartingInsideABlockShowFromItsEdge) {
    Screen s;
    expectPixels(s, {
                        {649, 265, kBlack, "PC's right edge over its stub"},
                        {650, 265, kGreen, "PC stub right of the block"},
                        {640, 289, kWhite, "inside the PC, where the stub is stored"},
                        {650, 505, kGreen, "register A stub right of the block"},
                        {640, 505, kWhite, "inside register A"},
                        {650, 657, kGreen, "register B stub right of the block"},
                        {702, 401, kBlack, "RAM's right edge over its stub"},
                        {703, 401, kGreen, "RAM stub right of the block"},
                        {690, 425, kWhite, "inside the RAM, where the stub is stored"},
                        {312, 216, kBlack, "gate outline over the end of the IR/W wire"},
                        {311, 216, kGreen, "IR/W wire left of the gate"},
                    });
}

TEST_CASE(atStartOnlyThePcIncrementLineIsRed) {
    Screen s;
    expectRedOnlyIn(s, {{26, 190, 3, 109}, {26, 296, 287, 3}});
    expectPixels(s, {
                        {26, 190, kRed, "PC/I, top of the vertical"},
                        {28, 250, kRed, "PC/I, third column of the vertical"},
                        {200, 298, kRed, "PC/I, third row of the horizontal"},
                        {311, 297, kRed, "PC/I, last column before the gate"},
                        {312, 297, kBlack, "the gate over the PC/I wire's end"},
                        {113, 300, kGreen, "RAM/R, not lit"},
                        {737, 300, kGreen, "bus line of bit 3, not lit"},
                        {450, 97, kGreen, "micro-address bit 0, not lit"},
                    });
}

TEST_CASE(theFirstMicrostepOfTheWorkedExampleLightsTheFetch) {
    Screen s;
    firstMicrostepOfTheWorkedExample(s);
    REQUIRE_EQ(s.simulator().model().ir, 1);
    REQUIRE_EQ(s.simulator().model().bus, 1);
    // Lit: RAM/R, IR/W, micro-address bit 0 and the whole bus line of bit 0.
    expectRedOnlyIn(s, {
                           {112, 190, 3, 259}, {112, 448, 393, 3}, // RAM/R
                           {224, 190, 3, 27},  {224, 216, 89, 3},  // IR/W
                           {308, 96, 252, 3},                      // micro-address bit 0
                           {784, 48, 3, 641},  {648, 96, 135, 3},  {649, 288, 136, 3},
                           {703, 424, 83, 3},  {649, 528, 136, 3}, {649, 592, 136, 3},
                           {649, 656, 136, 3}, {782, 200, 59, 3},  {783, 95, 5, 5},
                           {783, 287, 5, 5},   {783, 423, 5, 5},   {783, 527, 5, 5},
                           {783, 591, 5, 5},   {783, 655, 5, 5},   {783, 199, 5, 5}, // bus bit 0
                       });
    expectPixels(s, {
                        {113, 300, kRed, "RAM/R vertical"},
                        {300, 450, kRed, "RAM/R horizontal"},
                        {225, 200, kRed, "IR/W vertical"},
                        {280, 218, kRed, "IR/W horizontal"},
                        {450, 98, kRed, "micro-address bit 0"},
                        {786, 350, kRed, "bus line of bit 0, third column"},
                        {700, 98, kRed, "IR stub of bit 0"},
                        {700, 289, kRed, "PC stub of bit 0"},
                        {720, 425, kRed, "RAM stub of bit 0"},
                        {700, 529, kRed, "register A stub of bit 0"},
                        {700, 593, kRed, "adder stub of bit 0"},
                        {700, 657, kRed, "register B stub of bit 0"},
                        {800, 201, kRed, "bus switch stub of bit 0"},
                        {787, 99, kRed, "dot of the IR stub, bit 0, fifth column"},
                        {787, 203, kRed, "dot of the bus switch stub, bit 0"},
                        // Dark again or never lit.
                        {27, 250, kGreen, "PC/I dark again"},
                        {259, 400, kGreen, "Phi2"},
                        {400, 173, kGreen, "Phi1"},
                        {450, 89, kGreen, "micro-address bit 1"},
                        {737, 350, kGreen, "bus line of bit 3 dark"},
                        {400, 225, kGreen, "IR load"},
                        {593, 310, kGreen, "PC to RAM, bit 3"},
                        // The bus switch opens in run mode.
                        {851, 189, kWhite, "open bus switch, no level blade"},
                        {851, 175, kBlack, "open bus switch, lifted blade"},
                        // Line 0001 and NOP marked.
                        {40, 48, kYellow, "Label15, line 0001"},
                        {40, 32, kSkyBlue, "Label14, line 0000"},
                        {12, 32, kYellow, "Label13, NOP"},
                    });
}

TEST_CASE(labelBarsAreAsWideAsTheirCaptions) {
    Screen s;
    // Row 0 of a label is above every glyph: the bar alone.
    expectPixels(s, {
                        {39, 32, kWhite, "left of Label14"},
                        {40, 32, kYellow, "Label14, first column"},
                        {136, 32, kYellow, "Label14, 97th column"},
                        {137, 32, kWhite, "right of Label14"},
                        {536, 344, kYellow, "Label35, first column"},
                        {568, 344, kYellow, "Label35, 33rd column"},
                        {569, 344, kWhite, "right of Label35"},
                        {568, 360, kSkyBlue, "Label36, 33rd column"},
                    });
    // A written word is narrower than the blank cell; the bar follows it.
    click(s, 448, 372); // "zápis do RAM" with all switches at 0
    REQUIRE_EQ(s.simulator().model().ramText[0], "OOOO");
    expectPixels(s, {
                        {567, 344, kYellow, "Label35 \"OOOO\", 32nd column"},
                        {568, 344, kWhite, "Label35 \"OOOO\", no 33rd column"},
                    });
}

TEST_CASE(panelsAndControlsShowTheirBevelsAndColours) {
    Screen s;
    expectPixels(s, {
                        // Panel6 "programování", 819,96 81x25: lowered twice, lime.
                        {819, 96, kDark, "Panel6 outer top-left"},
                        {850, 96, kDark, "Panel6 outer top"},
                        {819, 110, kDark, "Panel6 outer left"},
                        {899, 110, kLight, "Panel6 outer right"},
                        {899, 96, kLight, "Panel6 outer top-right, in the bottom-right shade"},
                        {820, 97, kDark, "Panel6 inner top-left"},
                        {898, 110, kLight, "Panel6 inner right"},
                        {850, 119, kLight, "Panel6 inner bottom"},
                        {822, 100, kLime, "Panel6 face"},
                        // Panel7 "provoz", 819,120 81x25: stored as space, drawn raised.
                        {850, 120, kLight, "Panel7 outer top"},
                        {819, 130, kLight, "Panel7 outer left"},
                        {899, 130, kDark, "Panel7 outer right"},
                        {850, 144, kDark, "Panel7 outer bottom"},
                        {819, 144, kDark, "Panel7 outer bottom-left"},
                        {820, 130, kLight, "Panel7 inner left"},
                        {850, 143, kDark, "Panel7 inner bottom"},
                        {822, 124, kMoneyGreen, "Panel7 face"},
                        // Panel1 "ručně", 819,272 73x25: flat cream to its edges.
                        {819, 272, kCream, "Panel1 top-left"},
                        {891, 296, kCream, "Panel1 bottom-right"},
                        {855, 272, kCream, "Panel1 top edge"},
                        {820, 273, kCream, "Panel1 where a bevel would be"},
                        // The data switches, the speed field and its arrows, the
                        // instruction box.
                        {916, 139, kLight, "data switch, outer highlight"},
                        {928, 153, kDarker, "data switch, outer shadow"},
                        {954, 312, kDark, "speed field, outer shade"},
                        {955, 313, kDarker, "speed field, inner shade"},
                        {957, 316, kWhite, "speed field inside"},
                        {977, 312, kBackground, "up arrow, light grey outer edge"},
                        {978, 313, kLight, "up arrow, white inner edge"},
                        {991, 318, kDark, "up arrow, inner shadow"},
                        {992, 318, kDarker, "up arrow, outer shadow"},
                        {977, 322, kBackground, "down arrow, light grey outer edge"},
                        {864, 424, kDark, "instruction box, outer shade"},
                        {900, 637, kWhite, "instruction box inside, below the text"},
                    });
}

TEST_CASE(pressedAndHeldControlsLookPushedIn) {
    Screen s;
    firstMicrostepOfTheWorkedExample(s);
    expectPixels(s, {{819, 272, kLight, "ručně released, raised"}});
    click(s, 855, 284);
    expectPixels(s, {{822, 285, kTeal, "ručně pressed, teal"}, {819, 272, kDark, "lowered"}});

    // Held controls look pushed in until the button goes up.
    s.mouseDown(922, 146);
    expectPixels(s, {{916, 139, kDarker, "data switch held, outer shade"}});
    s.mouseUp(922, 146);
    expectPixels(s, {{916, 139, kLight, "data switch released"}});
    s.mouseDown(985, 327);
    expectPixels(s, {{977, 322, kDark, "down arrow held, outer shade"},
                     {977, 312, kBackground, "up arrow not held"}});
    s.mouseMove(100, 600);
    expectPixels(s, {{977, 322, kBackground, "held arrow with the pointer off it"}});
    s.mouseMove(985, 330);
    expectPixels(s, {{977, 322, kDark, "held arrow with the pointer back on it"}});
    s.mouseUp(100, 600); // released elsewhere: no arrow click
    expectPixels(s, {{977, 322, kBackground, "down arrow released"}});
    CHECK_EQ(s.simulator().elements().edit17.text, "4"); // an arrow released elsewhere clicks

    // The focus frame: every other pixel of its edge inverted, the others untouched.
    s.setFocus(9);
    expectPixels(s, {{934, 141, 0xFFFFFF ^ kBackground, "focus frame, inverted face"},
                     {935, 141, kBackground, "focus frame, the pixel between"},
                     {942, 151, kBackground, "focus frame ends 3 pixels inside"}});
}

// Random events: after each, the picture drawn piecewise equals a full frame and
// every pixel that changed lies in a reported rectangle.
TEST_CASE(changedRectangles) {
    struct Target {
        int x;
        int y;
    };
    const Target targets[] = {{922, 146}, {938, 146}, {954, 146}, {970, 146}, {448, 340},
                              {448, 372}, {448, 404}, {859, 108}, {859, 132}, {855, 284},
                              {855, 320}, {985, 316}, {985, 327}, {600, 80},  {300, 300}};
    std::mt19937 random(20261208);
    Screen s;
    s.render();
    Canvas before = s.canvas();
#ifdef __EMSCRIPTEN__
    constexpr int kEvents = 200; // as WebAssembly under Node.js each event takes 9 times longer
#else
    constexpr int kEvents = 600;
#endif
    for (int event = 0; event < kEvents; ++event) {
        const int kind = int(random() % 8);
        const Target t = targets[random() % std::size(targets)];
        if (kind == 0)
            s.timerTick(1 + int(random() % 5));
        else if (kind == 1)
            s.mouseDown(t.x, t.y);
        else if (kind == 2)
            s.mouseUp(t.x, t.y);
        else if (kind == 3)
            s.mouseMove(t.x, t.y);
        else if (kind == 4)
            s.setFocus(int(random() % 2) * (8 + int(random() % 4)));
        else if (kind == 6) {
            // The focus on a panel or an arrow, or none.
            const int which = int(random() % 10);
            if (which < 7)
                s.setFocus(Screen::Element{Screen::Element::Panel, which + 1});
            else if (which < 9)
                s.setFocus(Screen::Element{Screen::Element::Arrow, which == 7 ? 1 : -1});
            else
                s.setFocus(std::nullopt);
        } else if (kind == 7) {
            // Memo1 edited and scrolled.
            s.memoEdited(std::string(random() % 3, 'x') + "NOP\n\n" +
                         std::string(random() % 40, 'W'));
            s.fieldsScrolled(int(random() % 3), int(random() % 20), int(random() % 30));
        } else
            click(s, t.x, t.y);
        const std::vector<Box> changed = s.render();
        Renderer fresh;
        fresh.renderAll(s.simulator().elements(), s.pushed(), s.fields());
        const Canvas& now = s.canvas();
        int wrong = 0;
        int unreported = 0;
        for (int y = 0; y < now.height; ++y)
            for (int x = 0; x < now.width; ++x) {
                wrong += now.at(x, y) != fresh.canvas().at(x, y);
                if (now.at(x, y) == before.at(x, y)) continue;
                bool inside = false;
                for (const Box& b : changed) inside = inside || b.contains(x, y);
                unreported += !inside;
            }
        CHECK_MSG(wrong == 0, "event " + std::to_string(event) + ": " + std::to_string(wrong) +
                                  " pixels differ from a full frame");
        CHECK_MSG(unreported == 0, "event " + std::to_string(event) + ": " +
                                       std::to_string(unreported) + " changed pixels not reported");
        if (wrong || unreported) return;
        before = now;
    }
}

// Every control and every companion element takes its click at a point inside it.
TEST_CASE(clicksLand) {
    Screen s;
    s.render();
    using E = Screen::Element;
    struct Case {
        int x;
        int y;
        E::Kind kind;
        int number;
    };
    const Case controls[] = {
        {855, 284, E::Panel, 1},       {855, 320, E::Panel, 2},       {448, 340, E::Panel, 3},
        {448, 372, E::Panel, 4},       {448, 404, E::Panel, 5},       {859, 108, E::Panel, 6},
        {859, 132, E::Panel, 7},       {922, 146, E::DataSwitch, 8},  {938, 146, E::DataSwitch, 9},
        {954, 146, E::DataSwitch, 10}, {970, 146, E::DataSwitch, 11}, {985, 316, E::Arrow, +1},
        {985, 327, E::Arrow, -1},      {819, 96, E::Panel, 6},        {899, 144, E::Panel, 7},
    };
    for (const Case& c : controls) {
        const auto hit = s.elementAt(c.x, c.y);
        CHECK_MSG(hit && hit->kind == c.kind && hit->number == c.number,
                  "control at " + std::to_string(c.x) + "," + std::to_string(c.y));
    }
    for (auto [x, y] : {std::pair{960, 320}, {900, 500}, {700, 20}, {450, 300}, {818, 96}})
        CHECK_MSG(!s.elementAt(x, y),
                  "nothing to click at " + std::to_string(x) + "," + std::to_string(y));

    struct Companion {
        int x;
        int y;
        const char* command;
    };
    std::vector<Companion> companions = {
        {150, 175, "vondrel"}, {20, 20, "vondrel"},  {300, 100, "vondrel"}, // control unit
        {15, 35, "vondrel"},   {15, 67, "vondrel"},  {15, 131, "vondrel"},  // NOP LDA ADD
        {165, 51, "vondrel"},  {163, 99, "vondrel"}, {165, 147, "vondrel"}, // JMP MOV HLT
        {324, 224, "plimo"},   {324, 264, "plimo"},  {324, 304, "plimo"},   // the gates
        {324, 504, "plimo"},   {324, 640, "plimo"},  {565, 70, "sarvek"},   // IR
        {565, 290, "sarvek"},  {651, 302, "sarvek"}, {565, 500, "tamrelA"}, // PC, A
        {565, 565, "quobin"},  {651, 606, "quobin"}, {565, 630, "tamrelB"}, // adder, B
    };
    // The sixteen listing lines, two columns of eight rows 16 pixels apart.
    for (int line = 0; line < 16; ++line) {
        const Companion c = {line < 8 ? 45 : 193, 35 + 16 * (line % 8), "vondrel"};
        CHECK_MSG((s.elementAt(c.x, c.y) == E{E::Label, 14 + line}),
                  "listing line " + std::to_string(line) + " over the control unit");
        companions.push_back(c);
    }
    for (const Companion& c : companions) {
        s.mouseDown(c.x, c.y);
        const auto command = s.mouseUp(c.x, c.y).companion;
        CHECK_MSG(command && *command == c.command,
                  "companion at " + std::to_string(c.x) + "," + std::to_string(c.y) + ": " +
                      command.value_or("none") + ", expected " + c.command);
    }
    // Wires, the RAM and the bus switch start nothing; nor does a click that moves off.
    for (auto [x, y] : {std::pair{600, 400}, {113, 300}, {850, 180}, {40, 32}}) {
        s.mouseDown(x, y);
        const auto command = s.mouseUp(x == 40 ? 300 : x, x == 40 ? 300 : y).companion;
        CHECK_MSG(!command, "no companion at " + std::to_string(x) + "," + std::to_string(y));
    }
}

PLAIN_TEST_MAIN()

// The headless picture: characteristic pixels of the wires, dots, overlays, blocks,
// bevels and control edges; the changed rectangles after random events (the picture
// must equal a fresh full frame, and every changed pixel must lie in a reported
// rectangle); and where clicks land, companions included.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "renderer/Screen.h"

using namespace procesor;
using namespace procesor::render;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::fprintf(stderr, "FAIL: %s\n", what.c_str());
}

struct Pixel {
    int x;
    int y;
    Rgb rgb;
    const char* what;
};

void expectPixels(Screen& s, std::initializer_list<Pixel> pixels) {
    s.render();
    for (const Pixel& p : pixels) {
        const Rgb found = s.canvas().at(p.x, p.y) & 0xFFFFFF;
        char text[160];
        std::snprintf(text, sizeof text, "%s at %d,%d: #%06X, expected #%06X", p.what, p.x, p.y,
                      found, p.rgb);
        check(found == p.rgb, text);
    }
}

void click(Screen& s, int x, int y) {
    s.mouseDown(x, y);
    s.mouseUp(x, y);
}

constexpr Rgb kBackground = 0xD4D0C8, kGreen = 0x008000, kRed = 0xFF0000, kWhite = 0xFFFFFF,
              kBlack = 0x000000, kLight = 0xFFFFFF, kDark = 0x808080, kDarker = 0x404040,
              kLime = 0x00FF00, kCream = 0xFFFBF0, kTeal = 0x008080;

void characteristicPixels() {
    Screen s;
    expectPixels(s, {
                        {448, 285, kGreen, "stepping wire, top of the rise"},
                        {450, 300, kBackground, "right of the stepping wire"},
                        {257, 231, kGreen, "Phi2 junction dot, top-left"},
                        {261, 231, kBackground, "right of the Phi2 dot"},
                        {190, 295, kBackground, "no dot where A/W crosses PC/I"},
                        {26, 190, kRed, "PC/I lit at start"},
                        {28, 250, kRed, "PC/I, third column"},
                        {113, 300, kGreen, "RAM/R dark at start"},
                        {578, 104, kBlack, "IR's bottom edge over Phi1"},
                        {640, 289, kWhite, "inside the PC over its stub"},
                        {650, 265, kGreen, "PC stub from the block's edge"},
                        {312, 216, kBlack, "gate outline over the IR/W wire"},
                        {9, 100, kBlack, "control unit's 2-pixel outline"},
                        {290, 20, kBlack, "memory decoder divider"},
                        {851, 189, kBlack, "closed bus switch blade"},
                        {819, 96, kDark, "programování lowered, outer top-left"},
                        {899, 110, kLight, "programování lowered, outer right"},
                        {822, 100, kLime, "programování face"},
                        {850, 120, kLight, "provoz raised, outer top"},
                        {850, 143, kDark, "provoz raised, inner bottom"},
                        {819, 272, kCream, "ručně flat"},
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

    // Run mode and one microstep of the worked example: RAM/R, IR/W and bus bit 0 lit.
    s.simulator().model().ram[0] = 0b0001;
    click(s, 859, 132);
    for (int pulse = 0; pulse < 3; ++pulse) {
        click(s, 855, 284);
        s.timerTick(5);
    }
    expectPixels(s, {
                        {113, 300, kRed, "RAM/R vertical"},
                        {300, 450, kRed, "RAM/R horizontal"},
                        {786, 350, kRed, "bus line of bit 0, third column"},
                        {787, 99, kRed, "dot of the IR stub, bit 0, fifth column"},
                        {27, 250, kGreen, "PC/I dark again"},
                        {737, 350, kGreen, "bus line of bit 3 dark"},
                        {851, 189, kWhite, "open bus switch, no level blade"},
                        {851, 175, kBlack, "open bus switch, lifted blade"},
                        {819, 272, kLight, "ručně released, raised"},
                    });
    s.mouseDown(855, 284);
    s.mouseUp(855, 284);
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
    check(s.simulator().elements().edit17.text == "4", "an arrow released elsewhere clicks");

    // The focus frame: every other pixel of its edge inverted, the others untouched.
    s.setFocus(9);
    expectPixels(s, {{934, 141, 0xFFFFFF ^ kBackground, "focus frame, inverted face"},
                     {935, 141, kBackground, "focus frame, the pixel between"},
                     {942, 151, kBackground, "focus frame ends 3 pixels inside"}});
}

// Random events: after each, the picture drawn piecewise equals a full frame and
// every pixel that changed lies in a reported rectangle.
void changedRectangles() {
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
    for (int event = 0; event < 600; ++event) {
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
        check(wrong == 0, "event " + std::to_string(event) + ": " + std::to_string(wrong) +
                              " pixels differ from a full frame");
        check(unreported == 0, "event " + std::to_string(event) + ": " +
                                   std::to_string(unreported) + " changed pixels not reported");
        if (wrong || unreported) return;
        before = now;
    }
}

// Every control and every companion element takes its click at a point inside it.
void clicksLand() {
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
        check(hit && hit->kind == c.kind && hit->number == c.number,
              "control at " + std::to_string(c.x) + "," + std::to_string(c.y));
    }
    for (auto [x, y] : {std::pair{960, 320}, {900, 500}, {700, 20}, {450, 300}, {818, 96}})
        check(!s.elementAt(x, y),
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
        check(s.elementAt(c.x, c.y) == E{E::Label, 14 + line},
              "listing line " + std::to_string(line) + " over the control unit");
        companions.push_back(c);
    }
    for (const Companion& c : companions) {
        s.mouseDown(c.x, c.y);
        const auto command = s.mouseUp(c.x, c.y);
        check(command && *command == c.command,
              "companion at " + std::to_string(c.x) + "," + std::to_string(c.y) + ": " +
                  command.value_or("none") + ", expected " + c.command);
    }
    // Wires, the RAM and the bus switch start nothing; nor does a click that moves off.
    for (auto [x, y] : {std::pair{600, 400}, {113, 300}, {850, 180}, {40, 32}}) {
        s.mouseDown(x, y);
        const auto command = s.mouseUp(x == 40 ? 300 : x, x == 40 ? 300 : y);
        check(!command, "no companion at " + std::to_string(x) + "," + std::to_string(y));
    }
}

} // namespace

int main() {
    characteristicPixels();
    changedRectangles();
    clicksLand();
    if (failures) std::fprintf(stderr, "%d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}

// What the front ends share beyond the picture at rest: the error box's text (a NUL
// shown readable, a long text cut short in its middle), the sentence said after each
// clock pulse, the smaller picture for small screens (no one-pixel line drops out),
// the dotted focus frame on panels and arrows, and Memo1's text as the student
// edits and scrolls it.

#include <string>

#include "model/Clock.h"
#include "model/PulseReport.h"
#include "panel/Speed.h"
#include "picture/Scaled.h"
#include "picture/Text.h"
#include "screen/Routes.h"
#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;

namespace {

constexpr std::string_view kTail = "' is not a valid integer value";

void errorBoxText() {
    CHECK(boxedMessage("'abc' is not a valid integer value") ==
          "'abc' is not a valid integer value");
    // A pasted NUL and a tab show as their symbols; the rest stays.
    CHECK(boxedMessage(notAnIntegerMessage(std::string("7\0"
                                                       "8",
                                                       3))) ==
          "'7\u24008' is not a valid integer value");
    CHECK(boxedMessage(notAnIntegerMessage("1\t2\x7F")) ==
          "'1\u24092\u2421' is not a valid integer value");
    // Forty characters stay whole, Czech letters counted as one each.
    const std::string forty = "ěščřžýáíé" + std::string(31, 'x');
    CHECK(boxedMessage(notAnIntegerMessage(forty)) == "'" + forty + std::string(kTail));
    // Ten thousand are cut in the middle: 19 from the start, "…", 20 from the end.
    const std::string many = std::string(5000, 'a') + std::string(4999, 'b') + "c";
    const std::string boxed = boxedMessage(notAnIntegerMessage(many));
    CHECK(boxed ==
          "'" + std::string(19, 'a') + "\u2026" + std::string(19, 'b') + "c" + std::string(kTail));
    // Bytes that are not UTF-8 (a page can pass a lone surrogate) show as U+FFFD.
    CHECK(boxedMessage(notAnIntegerMessage("4\xED\xA0\x80\xFF")) ==
          "'4\uFFFD\uFFFD\uFFFD\uFFFD' is not a valid integer value");
    // Other messages are not touched.
    CHECK(boxedMessage(std::string(100, 'q')) == std::string(100, 'q'));
}

// One microstep of LDA's line 0011 (RAM/R-A/W) with 5 in RAM at PC 0.
void pulseSentences() {
    ProcessorModel m;
    m.ir = 2;
    m.ram[0] = 5;
    ProcessorModel before = m;
    clockPulse(m);
    CHECK(pulseReport(before, m) ==
          "Fáze Φ1. Řádek mikroprogramu 0011: RAM/R-A/W. Na sběrnici je 5.");
    before = m;
    clockPulse(m);
    CHECK(pulseReport(before, m) == "Fáze Φ2. Registr A má nyní hodnotu 5. Sčítačka dává 5.");
    before = m;
    clockPulse(m);
    CHECK(pulseReport(before, m) == "Hodiny jsou v klidu, mikrokrok skončil.");
    // Line 0100 (PC/I): the program counter counts in Φ2.
    before = m;
    clockPulse(m);
    CHECK(pulseReport(before, m) == "Fáze Φ1. Řádek mikroprogramu 0100: PC/I. Na sběrnici je 5.");
    before = m;
    clockPulse(m);
    CHECK(pulseReport(before, m) == "Fáze Φ2. Programový čítač má nyní hodnotu 1.");
    // A Φ2 that loads nothing says so; the halt line says that the clock stopped.
    ProcessorModel idle;
    idle.phi1 = true;
    before = idle;
    idle.phi2 = true;
    CHECK(pulseReport(before, idle) == "Fáze Φ2. Žádný registr se nezměnil.");
    ProcessorModel halt;
    halt.ir = 14;
    before = halt;
    clockPulse(halt);
    CHECK(pulseReport(before, halt) ==
          "Fáze Φ1. Řádek mikroprogramu 1111: C/D. Na sběrnici je 0. Hodiny se zastavily.");
}

// A one-pixel black line on white, across or down, at every ratio from 1/2 to 1: its
// ink is spread over at most two rows (or columns) of the smaller picture, never
// dropped, so one of them is at least half as dark as the line's share of a pixel
// (the ratio) would make it; the white around stays white.
void smallerPictureKeepsLines() {
    for (int width = 512; width <= 1024; width += 37) {
        const int height = width * 715 / 1024;
        for (const bool across : {true, false}) {
            for (int at = 100; at < 110; ++at) {
                Canvas c(1024, 715);
                c.fill({0, 0, c.width, c.height}, 0xFFFFFF);
                c.fill(across ? Box{0, at, c.width, 1} : Box{at, 0, 1, c.height}, 0x000000);
                std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
                scaleDown(c, width, height, rgba.data());
                const auto grey = [&](int x, int y) {
                    return rgba[(std::size_t(y) * width + x) * 4 + 1];
                };
                int darkest = 255;
                const int lines = across ? height : width;
                for (int i = 0; i < lines; ++i)
                    darkest =
                        std::min<int>(darkest, across ? grey(width / 2, i) : grey(i, height / 2));
                const int faintest = 255 - 255 * width / 1024 / 2 + 1;
                if (!CHECK(darkest <= faintest)) std::printf("width %d, line at %d\n", width, at);
                CHECK_EQ(across ? grey(width / 2, 0) : grey(0, height / 2), 255);
            }
        }
    }
    // Full size is the picture itself.
    Screen s;
    s.render();
    std::vector<std::uint8_t> rgba(std::size_t(1024) * 715 * 4);
    scaleDown(s.canvas(), 1024, 715, rgba.data());
    const std::uint32_t p = s.canvas().at(300, 40);
    constexpr std::size_t at = (40 * 1024 + 300) * 4;
    CHECK_EQ(rgba[at], (p >> 16) & 0xFF);
    CHECK_EQ(rgba[at + 2], p & 0xFF);
}

int differing(const Canvas& a, const Canvas& b, Box r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) n += a.at(x, y) != b.at(x, y);
    return n;
}

// Panel7 "provoz" 819,120 81x25 and the up arrow 977,312 16x10: the dotted frame while
// focused (half the pixels of its edge inverted), the same picture again without.
void focusFrames() {
    Screen s;
    s.render();
    const Canvas rest = s.canvas();
    s.setFocus(Screen::Element{Screen::Element::Panel, 7});
    s.render();
    const Box panel = {819, 120, 81, 25};
    // The frame 3 pixels in: 75 x 19, 184 pixels of edge, every other one inverted.
    CHECK_EQ(differing(s.canvas(), rest, panel), 92);
    CHECK_EQ(s.canvas().at(822, 123) & 0xFFFFFF, (rest.at(822, 123) ^ 0xFFFFFF) & 0xFFFFFF);
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}), 92);
    s.setFocus(Screen::Element{Screen::Element::Arrow, 1});
    s.render();
    CHECK_EQ(differing(s.canvas(), rest, panel), 0);
    // 12 x 6 two pixels in: 32 pixels of edge, 16 inverted, none on the triangle.
    CHECK_EQ(differing(s.canvas(), rest, {977, 312, 16, 10}), 16);
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}), 16);
    s.setFocus(std::nullopt);
    s.render();
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}), 0);
}

// Memo1 as edited: the text drawn from its first line, scrolled as the field is.
void memoAsEdited() {
    Screen s;
    s.render();
    const Canvas rest = s.canvas();
    const Box inside = {866, 426, 125, 213};
    s.memoEdited(FieldView::startMemoText());
    s.render();
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}), 0);
    s.memoEdited("");
    s.render();
    const Canvas empty = s.canvas();
    CHECK(differing(empty, rest, inside) > 500);
    for (int y = inside.y; y < inside.y + inside.h; ++y)
        for (int x = inside.x; x < inside.x + inside.w; ++x)
            if (!CHECK_EQ(empty.at(x, y) & 0xFFFFFF, 0xFFFFFFu)) return;
    // Scrolled up by one line (13 pixels), the second line is where the first was.
    s.memoEdited(FieldView::startMemoText());
    s.fieldsScrolled(0, 0, 13);
    s.render();
    int moved = 0;
    for (int y = 428; y < 428 + 13; ++y)
        for (int x = inside.x; x < inside.x + inside.w; ++x)
            moved += s.canvas().at(x, y) != rest.at(x, y + 13);
    CHECK_EQ(moved, 0);
    CHECK(differing(s.canvas(), rest, inside) > 100);
    // The frame stays where it is.
    CHECK_EQ(differing(s.canvas(), rest, {864, 424, 129, 2}), 0);
}

// A selection white on dark blue: "4" selected in Edit17, "LDA" in Memo1's second line.
void selections() {
    Screen s;
    s.render();
    const Canvas rest = s.canvas();
    s.fieldsSelected({0, 1}, {24, 27});
    s.render();
    const auto count = [&](Box r, std::uint32_t rgb) {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) n += (s.canvas().at(x, y) & 0xFFFFFF) == rgb;
        return n;
    };
    // Edit17's text starts 5 in and 4 down; its line is 13 high.
    const Box edit = {959, 316, textWidth(Face::Window, "4"), 13};
    CHECK_EQ(count(edit, 0x000000), 0);
    CHECK(count(edit, 0x0A246A) > 20 && count(edit, 0xFFFFFF) > 5);
    CHECK_EQ(count(edit, 0x0A246A) + count(edit, 0xFFFFFF), edit.w * edit.h);
    const Box memo = {868, 441, textWidth(Face::Window, "LDA"), 13};
    CHECK_EQ(count(memo, 0x000000), 0);
    CHECK_EQ(count(memo, 0x0A246A) + count(memo, 0xFFFFFF), memo.w * memo.h);
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}),
             differing(s.canvas(), rest, edit) + differing(s.canvas(), rest, memo));
    s.fieldsSelected({}, {});
    s.render();
    CHECK_EQ(differing(s.canvas(), rest, {0, 0, 1024, 715}), 0);
}

// Names for a screen reader, with the state the picture shows; the Tab order after
// the data switches: both arrows, the panels, then every element that opens an
// explainer in the order of the companion table (control unit, the listing's lines
// 0000..1111, the instruction names, the gates top to bottom, IR, PC, the adder, A, B),
// each named by its explainer's heading.
void namesAndOrder() {
    using E = Screen::Element;
    Screen s;
    CHECK(s.accessibleName({E::Panel, 6}) == "programování, vybráno");
    CHECK(s.accessibleName({E::Panel, 1}) == "ručně, nyní nedostupné");
    CHECK(s.accessibleName({E::Panel, 3}) == "krokování");
    CHECK(s.accessibleName({E::DataSwitch, 11}) == "datový přepínač bitu 0: 0");
    CHECK(s.accessibleName({E::Arrow, -1}) == "rychlost o jednu níž");
    CHECK(s.accessibleName({E::Image, 9}) == "Řadič a mikroprogram");
    CHECK(s.accessibleName({E::Label, 17}) == "Řadič a mikroprogram: řádek 0011 RAM/R-A/W");
    CHECK(s.accessibleName({E::Label, 31}) == "Řadič a mikroprogram: instrukce ADD");
    CHECK(s.accessibleName({E::Image, 203}) ==
          "Hradlo AND – zápisové impulzy: hradlo zápisu do PČ");
    CHECK(s.accessibleName({E::Image, 4}) == "Čítací registry IR a PČ: programový čítač PČ");
    CHECK(s.accessibleName({E::Image, 65}) == "Sčítačka – sčítání čtyřbitových čísel");
    CHECK(s.accessibleName({E::Image, 7}) == "Registr B");
    CHECK(s.accessibleName({E::Image, 22}).empty()); // the RAM opens none
    s.mouseDown(859, 132);                           // "provoz"
    s.mouseUp(859, 132);
    CHECK(s.accessibleName({E::Panel, 7}) == "provoz, vybráno");
    CHECK(s.accessibleName({E::Panel, 1}) == "ručně");
    s.mouseDown(855, 284); // "ručně": pressed for 300 ms
    s.mouseUp(855, 284);
    CHECK(s.accessibleName({E::Panel, 1}) == "ručně, stisknuto");
    std::string order;
    for (const Screen::KeyboardControl& c : Screen::keyboardControls()) {
        const char* kind = c.element.kind == E::Panel   ? "P"
                           : c.element.kind == E::Arrow ? "A"
                           : c.element.kind == E::Image ? "I"
                                                        : "L";
        order += kind + std::to_string(c.element.number) + " ";
    }
    CHECK(order == "A1 A-1 P6 P7 P1 P2 P3 P4 P5 I9 L14 L15 L16 L17 L18 L19 L20 L21 L22 L23 "
                   "L24 L25 L26 L27 L28 L29 L13 L30 L31 L32 L33 L34 I2 I203 I63 I71 I1 I3 I4 "
                   "I65 I62 I7 ");
    // Each acts where it lies: a click inside its box lands on it (at the middle; the
    // control unit's listing lies over its middle, so there a corner inside it).
    for (const Screen::KeyboardControl& c : Screen::keyboardControls()) {
        const bool unit = c.element == E{E::Image, 9};
        CHECK(s.elementAt(c.box.x + (unit ? 3 : c.box.w / 2), c.box.y + (unit ? 3 : c.box.h / 2)) ==
              c.element);
    }
}

// Each release timer ticks the handler the window's design names for it, spelt as
// there, and that handler gives its own button back its released look.
void releaseRoutes() {
    struct Row {
        int timer;
        std::string_view name;
        int panel;
    };
    for (const Row& row : {Row{2, "Button12click", 3}, Row{3, "Button13click", 4},
                           Row{4, "Button14click", 5}, Row{5, "Button1Click", 1}}) {
        CONTEXT("Timer" + std::to_string(row.timer));
        const Route* route = nullptr;
        for (const Route& r : kReleaseTicks)
            if (r.number == row.timer) route = &r;
        REQUIRE(route != nullptr);
        CHECK(route->name == row.name);
        Simulator sim;
        sim.elements().panel[row.panel].colour = clTeal;
        (sim.*route->handler)();
        CHECK(sim.elements().panel[row.panel].colour == clAqua);
    }
}

} // namespace

int main() {
    errorBoxText();
    pulseSentences();
    smallerPictureKeepsLines();
    focusFrames();
    memoAsEdited();
    selections();
    namesAndOrder();
    releaseRoutes();
    return testing::checkFailures();
}

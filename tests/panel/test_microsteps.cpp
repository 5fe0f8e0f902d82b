// Every clock state of every instruction as the student sees it: the bus lines, the
// digits, the lit control lines and the marked labels. The expected rows are written
// by hand from the microprogram and the overlay tables, so that a wrong number in the
// handlers' own tables shows here.

#include <map>
#include <set>
#include <sstream>

#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

// LDA 3; MOV; LDA 6; ADD; JMP 10; (words 8, 9 skipped) MOV; NOP; HLT. Both MOVs copy a
// value into a B that differs from it, ADD adds two non-zero numbers, the jump goes
// forward to a word that is not its own address, and no word equals its neighbours.
constexpr std::initializer_list<int> kProgram = {
    0b0001, 3, 0b1011, 0b0001, 6, 0b0101, 0b1000, 10, 0b1110, 7, 0b1011, 0b1111, 0b1110};

// One microstep: the line decoded at its Φ1 pulse, the bus as that pulse drives it
// (kept through Φ2 and rest), and ir, pc, A, B after its Φ2 pulse. Before the Φ2
// pulse pc, A and B are those of the microstep above.
struct Microstep {
    int line, bus, ir, pc, a, b;
};
constexpr Microstep kRun[] = {
    {1, 1, 1, 0, 0, 0},     // fetch LDA
    {2, 1, 2, 1, 0, 0},     // PC/I
    {3, 3, 3, 1, 3, 0},     // A := 3
    {4, 3, 4, 2, 3, 0},     // PC/I
    {5, 11, 11, 2, 3, 0},   // fetch MOV
    {12, 3, 12, 2, 3, 3},   // B := A
    {13, 3, 13, 3, 3, 3},   // PC/I
    {14, 1, 1, 3, 3, 3},    // fetch LDA
    {2, 1, 2, 4, 3, 3},     // PC/I
    {3, 6, 3, 4, 6, 3},     // A := 6
    {4, 6, 4, 5, 6, 3},     // PC/I
    {5, 5, 5, 5, 6, 3},     // fetch ADD
    {6, 9, 6, 5, 9, 3},     // A := A + B
    {7, 9, 7, 6, 9, 3},     // PC/I
    {8, 8, 8, 6, 9, 3},     // fetch JMP
    {9, 8, 9, 7, 9, 3},     // PC/I
    {10, 10, 10, 10, 9, 3}, // PC := 10
    {11, 11, 11, 10, 9, 3}, // fetch MOV at 10
    {12, 9, 12, 10, 9, 9},  // B := A, the adder wraps to 2
    {13, 9, 13, 11, 9, 9},  // PC/I
    {14, 15, 15, 11, 9, 9}, // fetch NOP
    {0, 15, 0, 12, 9, 9},   // PC/I (NOP)
    {1, 14, 14, 12, 9, 9},  // fetch HLT
};

// The control signals of each microprogram line, and the instruction name beside it.
constexpr const char* kLineSignals[16] = {"PC/I",       "RAM/R IR/W", "PC/I",       "RAM/R A/W",
                                          "PC/I",       "RAM/R IR/W", "ADD/R A/W",  "PC/I",
                                          "RAM/R IR/W", "PC/I",       "RAM/R PC/W", "RAM/R IR/W",
                                          "A/R B/W",    "PC/I",       "RAM/R IR/W", ""};
constexpr int kNameLabel[16] = {13, 13, 30, 30, 30, 30, 31, 31, 31, 32, 32, 32, 33, 33, 33, 34};

// A signal's wire from the decoders, and its AND gate's output, lit in Φ2 only.
struct Signal {
    const char* name;
    std::vector<int> wire, gate;
};
const Signal kSignals[] = {
    {"PC/I", {225, 215}, {214, 60, 61}},
    {"IR/W", {14, 15}, {64, 265}},
    {"PC/W", {226, 217}, {213}},
    {"A/W", {106, 107}, {108}},
    {"B/W", {188, 189}, {109}},
    {"RAM/R", {195, 198}, {}},
    {"A/R", {202, 201}, {}},
    {"ADD/R", {230, 229}, {}},
};
const std::vector<int> kPhi1 = {16, 263};
const std::vector<int> kPhi2 = {18, 216, 261, 8, 221, 218, 222, 102, 105, 103};

// Four-line groups, bit 3 (weight 8) first.
using Bits = std::array<int, 4>;
constexpr Bits kMicroaddress = {59, 56, 55, 54};
constexpr Bits kPcToRam = {114, 115, 116, 117};
constexpr Bits kAToAdder = {178, 179, 180, 181};
constexpr Bits kBToAdder = {182, 183, 184, 185};
// A bus line with its stubs to IR, PC, RAM, A, the adder, B, the bus switch, and the
// seven junction dots; bit 3 first.
const std::array<std::vector<int>, 4> kBusLines = {{
    {118, 122, 127, 130, 131, 132, 133, 68, 152, 148, 155, 160, 167, 165, 205},
    {119, 123, 126, 134, 135, 136, 137, 69, 151, 149, 157, 161, 169, 164, 209},
    {120, 128, 125, 142, 143, 144, 145, 70, 150, 147, 154, 166, 168, 158, 211},
    {121, 129, 124, 138, 139, 140, 141, 67, 153, 146, 156, 163, 159, 162, 212},
}};
constexpr Bits kBusDigits = {12, 62, 63, 64};
// Data-switch wires, operator button wires and the closed bus switch stay dark in a run.
const std::vector<int> kDarkInRun = {236, 255, 235, 256, 237, 257, 238,
                                     258, 244, 246, 250, 248, 242};

enum class State { Phi1, Phi2, Rest };

struct View {
    std::map<int, bool> image;
    std::map<int, std::string> caption;
    std::set<int> yellow; // of the listing labels 13..34 and the RAM cells 35..50
};

View expectedView(State state, int line, int bus, int ir, int pc, int a, int b) {
    View v;
    for (int i : kDarkInRun) v.image[i] = false;
    for (int i : kPhi1) v.image[i] = state != State::Rest;
    for (int i : kPhi2) v.image[i] = state == State::Phi2;
    std::set<std::string> active;
    std::istringstream names(kLineSignals[line]);
    for (std::string name; names >> name;) active.insert(name);
    for (const Signal& s : kSignals) {
        const bool on = active.count(s.name) > 0;
        for (int i : s.wire) v.image[i] = on;
        for (int i : s.gate) v.image[i] = on && state == State::Phi2;
    }
    auto bits = [&v](const Bits& lines, int value) {
        for (int k = 0; k < 4; ++k) v.image[lines[k]] = value & (8 >> k);
    };
    bits(kMicroaddress, line);
    bits(kPcToRam, pc);
    bits(kAToAdder, a);
    bits(kBToAdder, b);
    for (int k = 0; k < 4; ++k) {
        const int bit = (bus >> (3 - k)) & 1;
        for (int i : kBusLines[k]) v.image[i] = bit;
        v.caption[kBusDigits[k]] = std::to_string(bit);
    }
    v.caption[66] = std::to_string(ir);
    v.caption[2] = std::to_string(pc);
    v.caption[5] = std::to_string(a);
    v.caption[10] = std::to_string(b);
    v.caption[9] = std::to_string((a + b) % 16);
    v.yellow = {14 + line, kNameLabel[line], 35 + pc};
    return v;
}

// What the elements show unlike the view, comma-separated; empty when they agree.
std::string differences(const ElementState& el, const View& v) {
    std::string found;
    auto add = [&found](const std::string& what) { found += (found.empty() ? "" : ", ") + what; };
    for (auto [image, shown] : v.image)
        if (el.image[image].visible != shown)
            add("Image" + std::to_string(image) + (shown ? " dark" : " lit up"));
    for (const auto& [label, caption] : v.caption)
        if (el.label[label].caption != caption)
            add("Label" + std::to_string(label) + " \"" + el.label[label].caption +
                "\" instead of \"" + caption + "\"");
    for (int label = 13; label <= 50; ++label) {
        const Rgb colour = v.yellow.count(label) ? clYellow : clSkyBlue;
        if (el.label[label].colour != colour)
            add("Label" + std::to_string(label) + (colour == clYellow ? " not marked" : " marked"));
    }
    return found;
}

} // namespace

TEST_CASE(everyClockStateOfEveryInstruction) {
    Simulator sim = runMode(kProgram);
    Microstep before{0, 0, 0, 0, 0, 0};
    auto check = [&sim](const char* state, int step, const View& v) {
        const std::string d = differences(sim.elements(), v);
        return CHECK_MSG(d.empty(), "microstep " + std::to_string(step) + ", " + state + ": " + d);
    };
    int step = 0;
    for (const Microstep& s : kRun) {
        ++step;
        pulse(sim);
        if (!check("Φ1", step,
                   expectedView(State::Phi1, s.line, s.bus, s.line, before.pc, before.a, before.b)))
            return;
        pulse(sim);
        if (!check("Φ2", step, expectedView(State::Phi2, s.line, s.bus, s.ir, s.pc, s.a, s.b)))
            return;
        pulse(sim);
        if (!check("rest", step, expectedView(State::Rest, s.line, s.bus, s.ir, s.pc, s.a, s.b)))
            return;
        before = s;
    }
    pulse(sim); // line 15 halts at its Φ1 pulse
    check("halt", step + 1, expectedView(State::Phi1, 15, 14, 15, 12, 9, 9));
    pulse(sim); // refused
    check("after the halt", step + 1, expectedView(State::Phi1, 15, 14, 15, 12, 9, 9));
}

// The window's own Czech texts, blanks included; a run changes none of them.
TEST_CASE(theCaptionsAreTheWindowsOwn) {
    const char* listing[16] = {
        "0000  PC/I               ", "0001  RAM/R-IR/W",           "0010  PC/I               ",
        "0011  RAM/R-A/W  ",         "0100  PC/I               ",  "0101  RAM/R-IR/W",
        "0110  ADD/R-A/W  ",         "0111  PC/I                ", "1000  RAM/R-IR/W",
        "1001  PC/I               ", "1010  RAM/R-PC/W",           "1011  RAM/R-IR/W",
        "1100  A/R-B/W       ",      "1101  PC/I              ",   "1110  RAM/R-IR/W",
        "1111  C/D               "};
    const std::pair<int, const char*> labels[] = {
        {13, "NOP"}, {30, "LDA"}, {31, "ADD"}, {32, "JMP"},       {33, "MOV"},
        {34, "HLT"}, {4, "LSB"},  {11, "LSB"}, {65, "Rychlost:"}, {1, "0:"},
        {53, "7:"},  {54, "8:"},  {56, "10:"}, {61, "15:"}};
    const char* panels[8] = {"",         "ručně",        "start/stop", "krokování", "zápis do RAM",
                             "nulování", "programování", "provoz"};
    Simulator sim = runMode(kProgram);
    pulses(sim, 40);
    const ElementState& el = sim.elements();
    for (int line = 0; line < 16; ++line) CHECK_EQ(el.label[14 + line].caption, listing[line]);
    for (auto [label, caption] : labels) CHECK_EQ(el.label[label].caption, caption);
    for (int panel = 1; panel <= 7; ++panel) CHECK_EQ(el.panel[panel].caption, panels[panel]);
}

PLAIN_TEST_MAIN()

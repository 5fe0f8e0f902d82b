// The control unit as a student drives it: each of the sixteen codes chosen and
// clocked with "ručně" (and again with "do konce mikrokroku"), the scene's machine held
// after every pulse to a machine that fetched the same code in run mode and runs on
// by its own clock pulse; the lines each instruction decodes, where it ends, HLT's
// halt; every text read for what the explainer must and must not say; the openings.

#include <string>
#include <vector>

#include "companions/Scenes.h"
#include "companions/common/Drawing.h"
#include "companions/vondrel/ControlUnitScene.h"
#include "model/Clock.h"
#include "tests/companions/SceneInput.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::explain;
using procesor::testing::press;

namespace {

// Whether the text says `part`, blanks that do not break read as blanks.
bool contains(std::string text, const std::string& part) {
    for (std::size_t at = text.find("\u00A0"); at != std::string::npos; at = text.find("\u00A0"))
        text.replace(at, 2, " ");
    return text.find(part) != std::string::npos;
}

// The six instructions: their codes, the lines they decode after their code was
// fetched, and what the routine leaves (A and B start at 5 and 3, LDA's operand and
// JMP's target are 7, and every other word of RAM is 1110, HLT).
struct Expected {
    const char* mnemonic;
    int code;
    std::vector<int> lines;
    int regA, regB, pc, ir;
};
const Expected kExpected[] = {
    {"NOP", 0b1111, {0, 1}, 5, 3, 1, 0b1110},       {"LDA", 0b0001, {2, 3, 4, 5}, 7, 3, 2, 0b1110},
    {"ADD", 0b0101, {6, 7, 8}, 8, 3, 1, 0b1110},    {"JMP", 0b1000, {9, 10, 11}, 5, 3, 7, 0b1110},
    {"MOV", 0b1011, {12, 13, 14}, 5, 5, 1, 0b1110}, {"HLT", 0b1110, {15}, 5, 3, 0, 15},
};

// A machine as run mode leaves it after the first microstep fetched `code` from
// address 0, with A and B set to the scene's 5 and 3.
ProcessorModel fetched(int code, bool operand) {
    ProcessorModel m;
    m.ram.fill(0b1110);
    m.ram[0] = code;
    if (operand) m.ram[1] = 7;
    for (int pulse = 0; pulse < 3; ++pulse) clockPulse(m);
    m.regA = 5;
    m.regB = 3;
    return m;
}

bool same(const ProcessorModel& a, const ProcessorModel& b) {
    return a.phi1 == b.phi1 && a.phi2 == b.phi2 && a.pcInc == b.pcInc && a.addRead == b.addRead &&
           a.aRead == b.aRead && a.ramRead == b.ramRead && a.bWrite == b.bWrite &&
           a.aWrite == b.aWrite && a.pcWrite == b.pcWrite && a.irWrite == b.irWrite &&
           a.bLoad == b.bLoad && a.aLoad == b.aLoad && a.pcLoad == b.pcLoad &&
           a.irLoad == b.irLoad && a.pcCount == b.pcCount && a.busBit0 == b.busBit0 &&
           a.busBit1 == b.busBit1 && a.busBit2 == b.busBit2 && a.busBit3 == b.busBit3 &&
           a.pc == b.pc && a.bus == b.bus && a.ir == b.ir && a.ramOut == b.ramOut &&
           a.regA == b.regA && a.regB == b.regB && a.sum == b.sum;
}

// Every text the student reads fits the result field and says nothing the control
// unit does not do.
void readText(const ControlUnitScene& scene, const char* where) {
    const std::string& t = scene.resultText();
    const Box field = resultBox(scene.canvas());
    const bool fits = wrap(Face::WindowBold, t, field.w - 10).size() <= 3;
    const bool decoderDrives = contains(t, "ZDROJE vystav") || contains(t, "URČENÍ –") ||
                               contains(t, "URČENÍ převz") || contains(t, "dekodér vystav");
    const bool wrongCase = contains(t, " z 2") || contains(t, " z 3") || contains(t, " z 4");
    if (!CHECK(fits) || !CHECK(!decoderDrives) || !CHECK(!wrongCase))
        std::printf("  %s: %s\n", where, t.c_str());
}

// Clocks the chosen code to the end of its routine with "ručně" or "do konce mikrokroku";
// after every pulse the scene's machine must be the reference machine. Returns the
// lines decoded.
std::vector<int> clockThrough(ControlUnitScene& scene, int code, bool operand, bool whole,
                              const char* name) {
    ProcessorModel m = fetched(code, operand);
    std::vector<int> decoded;
    int presses = 0;
    while (!scene.finished() && presses++ < 64) {
        if (whole) {
            press(scene, scene.steps.microstep);
            do {
                const PulseOutcome out = clockPulse(m);
                if (out.decoded) decoded.push_back(m.ir);
                if (out.halted) break;
            } while (m.phi1);
        } else {
            press(scene, scene.steps.pulse);
            if (clockPulse(m).decoded) decoded.push_back(m.ir);
        }
        readText(scene, name);
        if (!CHECK(same(scene.machine(), m))) {
            std::printf("  %s, press %d, microaddress %d\n", name, presses, m.ir);
            break;
        }
        // The listing marks the line decoded last, as the diagram does.
        CHECK(
            scene.lines[std::size_t(m.ir == 15 || decoded.empty() ? 15 : decoded.back())].marked ==
            !decoded.empty());
    }
    CHECK(scene.finished());
    CHECK(!scene.steps.pulse.enabled());
    CHECK(!scene.steps.microstep.enabled());
    CHECK_EQ(scene.microstep(), int(decoded.size()));
    CHECK_EQ(scene.microstepCount(), int(decoded.size()));
    return decoded;
}

void instructions() {
    for (const Expected& e : kExpected) {
        for (bool whole : {false, true}) {
            ControlUnitScene scene;
            scene.render();
            // Chosen by the instruction's name beside the listing.
            for (const ListingTag& name : scene.names)
                if (name.text() == e.mnemonic) press(scene, name);
            if (!CHECK(scene.chosen() == e.code)) continue;
            readText(scene, e.mnemonic);
            const bool operand = e.code == 0b0001 || e.code == 0b1000;
            const std::vector<int> lines = clockThrough(scene, e.code, operand, whole, e.mnemonic);
            CHECK(lines == e.lines);
            CHECK_EQ(scene.machine().regA, e.regA);
            CHECK_EQ(scene.machine().regB, e.regB);
            CHECK_EQ(scene.machine().pc, e.pc);
            CHECK_EQ(scene.machine().ir, e.ir);
            const bool hlt = e.code == 0b1110;
            CHECK_EQ(scene.halted(), hlt);
            // The halt is the clock's state, not a signal: no lamp "C/D" anywhere.
            CHECK_EQ(contains(scene.clockText(), "hodiny stojí"), hlt);
            for (int i = 0; i < scene.controlCount(); ++i) {
                const auto* lamp = dynamic_cast<const Lamp*>(&scene.control(i));
                CHECK(!lamp || lamp->name() != "C/D");
            }
            const std::string& last = scene.resultText();
            if (hlt) {
                // HLT does not end with the fetch: it stops the clock on its first pulse.
                CHECK(contains(last, "hodiny stojí"));
                CHECK(!contains(last, "RAM/R-IR/W"));
                CHECK(scene.machine().phi1 && !scene.machine().phi2);
            } else {
                CHECK(contains(last, "Tím mikroprogram " + std::string(e.mnemonic) + " skončil"));
                if (!CHECK(contains(last, "RAM/R-IR/W"))) std::printf("  %s\n", last.c_str());
                CHECK(contains(last, "kód 1110 v IR na 1111"));
                CHECK(!scene.machine().phi1);
            }
        }
    }
}

// The ten codes that name no instruction, set on the code's bits: each enters the
// microprogram at (code + 1) mod 16 and runs, as the machine does, to a fetch. 0010
// enters LDA at its A load and loads the code word itself.
void otherCodes() {
    for (int code = 0; code < 16; ++code) {
        bool named = false;
        for (const Expected& e : kExpected) named = named || e.code == code;
        if (named) continue;
        ControlUnitScene scene;
        scene.render();
        if (code == 0) press(scene, scene.code.cell(0)); // 0001, then back to 0000
        for (int bit = 0; bit < 4; ++bit)
            if (scene.code.cell(bit).on() != (((code >> bit) & 1) != 0))
                press(scene, scene.code.cell(bit));
        if (!CHECK(scene.chosen() == code)) continue;
        CHECK(contains(scene.resultText(), "nepatří žádné instrukci"));
        const std::string name = "code " + std::to_string(code);
        const std::vector<int> lines = clockThrough(scene, code, false, true, name.c_str());
        if (!CHECK(!lines.empty())) continue;
        CHECK_EQ(lines.front(), (code + 1) % 16);
        const int last = lines.back();
        CHECK(last == 1 || last == 5 || last == 8 || last == 11 || last == 14);
        if (code == 0b0010) CHECK_EQ(scene.machine().regA, 2);
    }
}

// After the halt nothing clocks; "od začátku" brings the code back into IR.
void haltAndRestart() {
    ControlUnitScene scene(0b1110);
    scene.render();
    press(scene, scene.steps.pulse);
    const ProcessorModel stopped = scene.machine();
    press(scene, scene.steps.pulse);
    press(scene, scene.steps.microstep);
    CHECK(same(scene.machine(), stopped));
    CHECK(contains(scene.resultText(), "hodiny stojí"));
    press(scene, scene.steps.restart);
    CHECK(!scene.halted());
    CHECK_EQ(scene.microstep(), 0);
    CHECK_EQ(scene.machine().ir, 0b1110);
    CHECK(scene.steps.pulse.enabled());
}

// The explanation says how the decoders work and where the routines end; the scene
// fits a 1366 x 768 screen at 125 %, its picture and controls clear of the result.
void explanationAndLayout() {
    const std::string t = ControlUnitScene::explanationText();
    CHECK(contains(t, "ve schématu blok ŘÍZENÍ"));
    CHECK(contains(t, "vybraná jednotka sama vystaví"));
    CHECK(contains(t, "hradlo AND až ve fázi Φ2"));
    // IR is not the line's number from the fetch's Phi2 to the next Phi1.
    CHECK(contains(t, "od fáze Φ2 řádku RAM/R-IR/W do další fáze Φ1 drží IR už operační kód"));
    CHECK(contains(t, "HLT má jediný řádek 1111 C/D"));
    CHECK(contains(t, "„provoz“ nespustí program od začátku"));
    CHECK(!contains(t, "každé instrukce"));

    ControlUnitScene scene;
    scene.render();
    CHECK(scene.width() <= 780);
    CHECK(scene.height() <= 600);
    Canvas scratch(scene.width(), scene.height());
    const int free = explanation(scratch, t);
    const Box field = resultBox(scene.canvas());
    for (int i = 0; i < scene.controlCount(); ++i) {
        const Box b = scene.control(i).box();
        if (!CHECK(b.y >= free && b.y + b.h <= field.y && b.x + b.w <= scene.width()))
            std::printf("  control %d at %d,%d\n", i, b.x, b.y);
    }
    // Nothing but the window's colour just above the result field: the gates end higher.
    const Canvas& c = scene.canvas();
    int drawn = 0;
    for (int x = 0; x < c.width; ++x)
        drawn += c.pixels[std::size_t((field.y - 2) * c.width + x)] != c.pixels[0] ? 1 : 0;
    CHECK_EQ(drawn, 0);
}

// In the page a listing line or an instruction name opens on its instruction; the
// control unit's block and the desktop open with nothing chosen and a hint.
void openings() {
    const struct {
        ElementKind kind;
        int number;
        int code; // -1: nothing chosen
    } cases[] = {
        {ElementKind::Label, 14, 0b1111}, {ElementKind::Label, 17, 0b0001},
        {ElementKind::Label, 22, 0b0101}, {ElementKind::Label, 24, 0b1000},
        {ElementKind::Label, 26, 0b1011}, {ElementKind::Label, 29, 0b1110},
        {ElementKind::Label, 13, 0b1111}, {ElementKind::Label, 30, 0b0001},
        {ElementKind::Label, 33, 0b1011}, {ElementKind::Label, 34, 0b1110},
        {ElementKind::Image, 9, -1},
    };
    for (const auto& k : cases) {
        const Opening opening{k.kind, k.number};
        std::unique_ptr<Scene> made = makeVondrelScene(&opening);
        const auto* scene = dynamic_cast<const ControlUnitScene*>(made.get());
        if (!CHECK(scene != nullptr)) continue;
        if (!CHECK(scene->chosen().value_or(-1) == k.code))
            std::printf("  opened on %d\n", k.number);
    }
    std::unique_ptr<Scene> desktop = makeVondrelScene(nullptr);
    const auto* scene = dynamic_cast<const ControlUnitScene*>(desktop.get());
    if (CHECK(scene != nullptr)) {
        CHECK(scene->title() == "Řadič a mikroprogram");
        CHECK(!scene->chosen());
        CHECK(!scene->steps.pulse.enabled());
        CHECK(!scene->steps.microstep.enabled());
        for (const ListingTag& line : scene->lines) CHECK(!line.marked);
        for (const ListingTag& name : scene->names) CHECK(!name.marked);
        // One line, as every explainer's hint to choose.
        const std::string& hint = scene->resultText();
        CHECK(hint.rfind("Vyberte instrukci", 0) == 0 && !contains(hint, "\n"));
    }
}

} // namespace

// The AND gates as the diagram draws them: five, 40 pixels from top to top, and B/W
// on the last gate's lower input (Phi2 on its upper one).
void gatesAsTheDiagram() {
    ControlUnitScene scene(0b1011); // MOV: its first line is A/R-B/W
    scene.render();
    press(scene, scene.steps.pulse); // Phi1: B/W on, Phi2 off
    scene.render();
    const Canvas& c = scene.canvas();
    const auto at = [&](int x, int y) {
        return c.pixels[std::size_t(y * c.width + x)] & 0xFFFFFFu;
    };
    constexpr int kGateLeft = 440;
    std::vector<int> tops;
    for (int y = 1; y + 30 < c.height; ++y) {
        bool outline = at(kGateLeft, y - 1) != 0;
        for (int k = 0; k < 30 && outline; ++k) outline = at(kGateLeft, y + k) == 0;
        if (outline) tops.push_back(y);
    }
    if (!CHECK_EQ(tops.size(), 5u)) return;
    for (std::size_t i = 1; i < tops.size(); ++i) CHECK_EQ(tops[i] - tops[i - 1], 40);
    CHECK_EQ(at(kGateLeft - 4, tops[4] + 24), 0xFF0000u); // B/W, lit
    CHECK_EQ(at(kGateLeft - 4, tops[4] + 8), 0x008000u);  // Phi2, dark
}

int main() {
    instructions();
    otherCodes();
    haltAndRestart();
    explanationAndLayout();
    openings();
    gatesAsTheDiagram();
    return ::testing::checkFailures();
}

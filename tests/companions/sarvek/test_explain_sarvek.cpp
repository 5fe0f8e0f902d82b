// The counting registers as a student drives them. A program runs on the machine pulse
// by pulse; IR's scene, given the word the machine reads at PČ, and PČ's scene, given
// before each microstep the signals and the bus the machine's line has in it, must show
// after every pulse what the machine's IR and PC show, their lamps included (no count
// lit while the clock is at rest). Also the inputs that only take a setting at rest,
// the opening on the element clicked, and the texts.

#include <string>
#include <vector>

#include "companions/Scenes.h"
#include "companions/common/Texts.h"
#include "companions/sarvek/CounterScene.h"
#include "model/Clock.h"
#include "tests/companions/SceneInput.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::explain;
using procesor::testing::press;
using procesor::testing::setLamp;
using procesor::testing::setWord;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every result the scene gave: it must fit the result field, three lines.
std::vector<std::string> results;

void keep(const CounterScene& scene) {
    if (results.empty() || results.back() != scene.resultText())
        results.push_back(scene.resultText());
}

// LDA 7, MOV, LDA 12, ADD, JMP 9, (skipped), NOP, HLT: every instruction, IR counting
// from 15 round to 0 after the NOP.
ProcessorModel everyInstruction() {
    ProcessorModel m;
    const int words[] = {0b0001, 7, 0b1011, 0b0001, 12, 0b0101, 0b1000, 9, 0b0101, 0b1111, 0b1110};
    for (std::size_t i = 0; i < std::size(words); ++i) m.ram[i] = words[i];
    return m;
}

// JMP 15, and a NOP at 15 whose PC/I counts PČ from 15 round to 0: then the JMP again.
ProcessorModel wrapping() {
    ProcessorModel m;
    m.ram[0] = 0b1000;
    m.ram[1] = 15;
    m.ram[15] = 0b1111;
    return m;
}

struct Seen {
    int pulses = 0;
    int loads = 0;
    int counts = 0; // PČ's counts; IR's counts from 15 round to 0
    bool halted = false;
};

Seen followIr(ProcessorModel m, int limit) {
    CounterScene scene(CounterScene::Which::IR);
    scene.render();
    Seen seen;
    while (!seen.halted && seen.pulses < limit) {
        // At rest the student sets the word the machine will read at its PC.
        if (!m.phi1) setWord(scene, scene.code, m.ram[std::size_t(m.pc)]);
        const int before = m.ir;
        press(scene, scene.steps.pulse);
        seen.halted = clockPulse(m).halted;
        ++seen.pulses;
        keep(scene);
        seen.loads += m.irLoad ? 1 : 0;
        if (before == 15 && m.ir == 0 && m.phi1 && !m.phi2) {
            ++seen.counts;
            CHECK(contains(scene.resultText(), "po" + std::string(kNoBreak) + "15 následuje 0"));
        }
        if (!CHECK_EQ(scene.irValue.value(), m.ir) || !CHECK_EQ(scene.irBus.value(), m.bus) ||
            !CHECK_EQ(scene.irWrite.on(), m.irWrite) || !CHECK_EQ(scene.irLoad.on(), m.irLoad) ||
            !CHECK_EQ(scene.phi1.on(), m.phi1) || !CHECK_EQ(scene.irPhi2.on(), m.phi2) ||
            !CHECK_EQ(scene.halted(), seen.halted)) {
            std::printf("  IR, pulse %d, microaddress %d\n", seen.pulses, m.ir);
            return seen;
        }
        if (m.phi1 && !m.phi2) CHECK_EQ(scene.decodedLine(), m.ir);
    }
    if (seen.halted) {
        // The clock stands: the pulse buttons take nothing more.
        CHECK(!scene.steps.pulse.enabled());
        CHECK(!scene.steps.microstep.enabled());
        press(scene, scene.steps.pulse);
        CHECK_EQ(scene.irValue.value(), 15);
    }
    return seen;
}

Seen followPc(ProcessorModel m, int limit) {
    CounterScene scene(CounterScene::Which::PC);
    scene.render();
    Seen seen;
    while (!seen.halted && seen.pulses < limit) {
        if (!m.phi1) {
            // Before the microstep: its line's PC/W and PC/I and the bus it will carry.
            ProcessorModel next = m;
            clockPulse(next);
            setLamp(scene, scene.pcWrite, next.pcWrite);
            setLamp(scene, scene.pcInc, next.pcInc);
            setWord(scene, scene.pcBus, next.bus);
        }
        const int before = m.pc;
        press(scene, scene.steps.pulse);
        seen.halted = clockPulse(m).halted;
        ++seen.pulses;
        keep(scene);
        seen.loads += m.pcLoad ? 1 : 0;
        seen.counts += m.pcCount ? 1 : 0;
        if (m.pcCount && before == 15)
            CHECK(contains(scene.resultText(), "15 na 0" + std::string(kNoBreak) + "(po" +
                                                   std::string(kNoBreak) + "15"));
        if (!CHECK_EQ(scene.pcValue.value(), m.pc) || !CHECK_EQ(scene.pcLoad.on(), m.pcLoad) ||
            !CHECK_EQ(scene.pcCount.on(), m.pcCount) || !CHECK_EQ(scene.pcPhi2.on(), m.phi2)) {
            std::printf("  PC, pulse %d, microaddress %d\n", seen.pulses, m.ir);
            return seen;
        }
    }
    return seen;
}

void followsTheMachine() {
    const Seen ir = followIr(everyInstruction(), 500);
    CHECK(ir.halted);
    CHECK_EQ(ir.loads, 7); // the first fetch and each instruction's own
    CHECK_EQ(ir.counts, 1);
    const Seen pc = followPc(everyInstruction(), 500);
    CHECK(pc.halted);
    CHECK_EQ(pc.loads, 1);  // the JMP
    CHECK_EQ(pc.counts, 8); // LDA twice each, MOV, ADD, JMP and NOP once
    const Seen irWraps = followIr(wrapping(), 3 * 20);
    CHECK(irWraps.counts >= 2);
    const Seen pcWraps = followPc(wrapping(), 3 * 20);
    CHECK(pcWraps.loads >= 2);
}

// The student's inputs take a setting at rest only: the microstep's signals and bus
// hold from its Phi1 on. Shown and not set, a bit cell is a white sunken field.
void inputsAtRestOnly() {
    CounterScene scene(CounterScene::Which::PC);
    scene.render();
    const Box cell = scene.pcBus.cell(0).box();
    const auto pixel = [&](Box b) {
        return scene.canvas().pixels[std::size_t(b.y + b.h / 2) * std::size_t(scene.width()) +
                                     std::size_t(b.x + 3)] &
               0xFFFFFFu;
    };
    CHECK(pixel(cell) != clWhite); // the raised face of a cell that takes a click
    CHECK(pixel(scene.pcValue.cell(0).box()) == clWhite);
    press(scene, scene.pcInc);
    press(scene, scene.steps.pulse); // Phi1
    CHECK(!scene.pcWrite.enabled());
    CHECK(!scene.pcBus.enabled());
    CHECK(pixel(cell) == clWhite);
    press(scene, scene.pcWrite);
    press(scene, scene.pcBus.cell(0));
    CHECK(!scene.pcWrite.on());
    CHECK_EQ(scene.pcBus.value(), 15);
    CHECK(!scene.machine().pcWrite);
    press(scene, scene.steps.pulse); // Phi2: PC/I alone counts
    CHECK_EQ(scene.pcValue.value(), 1);
    CHECK(contains(scene.resultText(), "0 na 1"));
    // A microstep finished from Phi2 tells what its Phi2 did, not what a new one would.
    press(scene, scene.steps.microstep);
    CHECK(!scene.machine().phi1);
    CHECK_EQ(scene.pcValue.value(), 1);
    CHECK(contains(scene.resultText(), "Mikrokrok dokončen"));
    CHECK(contains(scene.resultText(), "0 na 1"));
    CHECK(scene.pcBus.enabled());

    // PC/W and PC/I together, which no line of the microprogram does: the machine
    // loads first, then counts; 15 so counts round to 0.
    for (const int bus : {9, 15}) {
        CounterScene both(CounterScene::Which::PC);
        both.render();
        setWord(both, both.pcBus, bus);
        press(both, both.pcWrite);
        press(both, both.pcInc);
        press(both, both.steps.microstep);
        CHECK_EQ(both.pcValue.value(), (bus + 1) % 16);
        CHECK(contains(both.resultText(), "převzal hodnotu " + std::to_string(bus)));
    }

    CounterScene ir(CounterScene::Which::IR);
    ir.render();
    CHECK(ir.code.enabled());
    CHECK(!ir.irBus.enabled() && !ir.irValue.enabled() && !ir.irWrite.enabled());
    press(ir, ir.steps.pulse);
    CHECK(!ir.code.enabled());
    press(ir, ir.code.cell(3));
    CHECK_EQ(ir.code.value(), 0b0101);
}

// The desktop program opens with nothing chosen and a one-line hint; in the page the
// scene opens on IR or PČ as clicked.
void opening() {
    const Opening irBlock{ElementKind::Image, 3};
    const Opening pcBlock{ElementKind::Image, 4};
    const auto chosen = [](const Opening* o) {
        const std::unique_ptr<Scene> scene = makeSarvekScene(o);
        return static_cast<const CounterScene&>(*scene).chosen();
    };
    CHECK(chosen(&irBlock) == CounterScene::Which::IR);
    CHECK(chosen(&pcBlock) == CounterScene::Which::PC);
    CHECK(!chosen(nullptr).has_value());

    CounterScene none(std::nullopt);
    none.render();
    CHECK(none.title() == "Čítací registry IR a PČ");
    const std::string hint = none.registerText();
    CHECK(hint.rfind("Vyberte ", 0) == 0);
    CHECK_EQ(wrap(Face::Window, hint, none.width() - 2 * kMargin).size(), std::size_t(1));
    CHECK(!none.steps.pulse.visible());
    CHECK(!none.pcWrite.visible());
    CHECK(!none.code.cell(0).visible());
    press(none, none.chooseIr);
    CHECK(none.chosen() == CounterScene::Which::IR);
    CHECK(none.registerText().rfind("IR, instrukční registr,", 0) == 0);
    CHECK(none.steps.pulse.visible() && none.code.cell(0).visible() && !none.pcBus.cell(0).visible());
}

// Every result fits its field; a line's name, "RAM/R-IR/W" and the like never break.
void textsFit() {
    CHECK(results.size() > 20);
    CounterScene scene(CounterScene::Which::IR);
    scene.render();
    const int width = resultBox(scene.canvas()).w - 10;
    for (const std::string& text : results) {
        const std::vector<std::string> lines = wrap(Face::WindowBold, text, width);
        if (!CHECK(lines.size() <= 3)) std::printf("  too long: %s\n", text.c_str());
        for (int line = 0; line < 16; ++line) {
            const std::string name = lineName(line);
            if (!contains(text, name)) continue;
            bool whole = false;
            for (const std::string& l : lines) whole = whole || contains(l, name);
            if (!CHECK(whole)) std::printf("  broken: %s\n", name.c_str());
        }
        for (const std::string& l : lines)
            CHECK(l.size() < 6 || (l.compare(l.size() - 6, 6, "RAM/R-") != 0 &&
                                   l.rfind("IR/W", 0) != 0 && l.back() != '('));
    }
}

} // namespace

// NOP's wrap said right; the first fetch from the start is not NOP's line; the
// chooser is not yellow.
void correctedTexts() {
    CounterScene scene(CounterScene::Which::IR);
    CHECK(contains(scene.registerText(), "NOP 1111\u00A0(15)\u00A0+\u00A01\u00A0=\u00A00000"));
    CHECK(!contains(scene.registerText(), "o 1 menší"));
    press(scene, scene.steps.restart);
    press(scene, scene.steps.pulse);
    CHECK(contains(scene.resultText(), "první operační kód"));
    CHECK(!contains(scene.resultText(), "(NOP)"));
    CHECK(scene.chooseIr.chosen() && !scene.choosePc.chosen());
}

int main() {
    followsTheMachine();
    inputsAtRestOnly();
    opening();
    textsFit();
    correctedTexts();
    return ::testing::checkFailures();
}

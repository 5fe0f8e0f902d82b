// Registers A and B as a student drives them: a program with every instruction runs on
// the machine pulse by pulse, and after each pulse the student's scene, given the same
// signals and bus by clicks on its controls and clocked by "ručně", must show what the
// machine's register shows. Also the texts of a microstep finished from Phi2.

#include "companions/tamrel/RegisterScene.h"
#include "model/Clock.h"
#include "tests/companions/SceneInput.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::explain;
using procesor::testing::contains;
using procesor::testing::press;
using procesor::testing::setLamp;
using procesor::testing::setWord;

namespace {

// Sets the bus by clicks, as a student would.
void setBus(RegisterScene& scene, int value) {
    setWord(scene, scene.bus, value);
}

// LDA 7, MOV, LDA 12, ADD, JMP 9, (skipped), NOP, HLT: A ends 3 (12 + 7 wraps), B 7.
ProcessorModel programmed() {
    ProcessorModel m;
    const int words[] = {0b0001, 7, 0b1011, 0b0001, 12, 0b0101, 0b1000, 9, 0b0101, 0b1111, 0b1110};
    for (std::size_t i = 0; i < std::size(words); ++i) m.ram[i] = words[i];
    return m;
}

void followsTheMachine(RegisterScene::Which which) {
    const bool a = which == RegisterScene::Which::A;
    RegisterScene scene(which);
    scene.render();
    ProcessorModel m = programmed();
    int pulses = 0;
    int loads = 0;
    bool halted = false;
    while (!(halted && !m.phi1) && pulses < 500) {
        press(scene, scene.steps.pulse);
        halted = clockPulse(m).halted || halted;
        ++pulses;
        // The student gives the scene the machine's signals and bus for this microstep.
        setLamp(scene, scene.write, a ? m.aWrite : m.bWrite);
        if (a) setLamp(scene, scene.read, m.aRead);
        if (!(a && m.aRead)) setBus(scene, m.bus);
        const int reg = a ? m.regA : m.regB;
        const bool load = a ? m.aLoad : m.bLoad;
        loads += load ? 1 : 0;
        if (!CHECK_EQ(scene.value.value(), reg) || !CHECK_EQ(scene.strobe.on(), load) ||
            !CHECK_EQ(scene.phi2.on(), m.phi2) || !CHECK_EQ(scene.bus.value(), m.bus)) {
            std::printf("  register %s, pulse %d, microaddress %d\n", a ? "A" : "B", pulses, m.ir);
            return;
        }
    }
    CHECK(halted);
    CHECK_EQ(a ? m.regA : m.regB, a ? 3 : 7);
    CHECK_EQ(loads, a ? 3 : 1); // LDA, LDA, ADD into A; MOV into B
}

// A/W switched on and two pulses load A in Phi2; "do konce mikrokroku" then runs the one
// pulse left and says that the strobe came, not that A/W was 0.
void microstepFinishedFromPhi2() {
    RegisterScene scene(RegisterScene::Which::A);
    scene.render();
    press(scene, scene.write);
    press(scene, scene.steps.pulse);
    press(scene, scene.steps.pulse);
    CHECK_EQ(scene.machine().regA, 5);
    press(scene, scene.steps.microstep);
    CHECK(!scene.machine().phi1);
    CHECK(contains(scene.resultText(), "převzal hodnotu 5"));
    CHECK(!contains(scene.resultText(), "A/W = 0"));

    // From rest with A/W off: three pulses, no strobe.
    setBus(scene, 9);
    press(scene, scene.write);
    press(scene, scene.steps.microstep);
    CHECK_EQ(scene.machine().regA, 5);
    CHECK(contains(scene.resultText(), "Celý mikrokrok (fáze Φ1, fáze Φ2, klid)"));
    CHECK(contains(scene.resultText(), "A/W = 0"));
}

// The result tells what the switch did just now: at rest A/W waits for Phi2; switched
// off in Phi2 it ends the strobe, and B keeps what it took.
void textFollowsTheWriteSignal() {
    RegisterScene b(RegisterScene::Which::B);
    b.render();
    press(b, b.write);
    CHECK(b.resultText() == "Klid: B/W = 1, ale Φ2 = 0: zápisový impulz přijde až ve fázi Φ2.");
    press(b, b.steps.pulse);
    press(b, b.steps.pulse);
    press(b, b.write);
    CHECK(b.resultText() == "Fáze Φ2: B/W = 0, zápisový impulz skončil: registr B drží 5.");
    CHECK(!b.strobe.on());
    press(b, b.steps.pulse);
    press(b, b.write);
    press(b, b.write);
    CHECK(b.resultText() == "Klid: B/W = 0, registr B drží 5.");
}

// While A/R drives the bus the bus cannot be set by hand; B has no A/R at all.
void readDrivesTheBus() {
    RegisterScene a(RegisterScene::Which::A);
    a.render();
    press(a, a.read);
    CHECK_EQ(a.bus.value(), 0); // A holds 0 and drives it
    CHECK(!a.bus.enabled());
    press(a, a.bus.cell(0));
    CHECK_EQ(a.bus.value(), 0);
    RegisterScene b(RegisterScene::Which::B);
    b.render();
    CHECK(!b.read.visible());
    press(b, b.read); // hidden: the click lands on whatever is drawn there, not on A/R
    CHECK(!b.read.on());
    CHECK(!b.machine().aRead);
}

} // namespace

int main() {
    followsTheMachine(RegisterScene::Which::A);
    followsTheMachine(RegisterScene::Which::B);
    microstepFinishedFromPhi2();
    textFollowsTheWriteSignal();
    readDrivesTheBus();
    return ::testing::checkFailures();
}

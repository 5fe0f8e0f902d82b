// The AND gates as a student drives them: a program with every instruction runs on the
// machine pulse by pulse, and after each pulse the scene, opened on each gate in turn,
// given the machine's control signal by a click on its lamp and clocked by "ručně",
// must show the machine's Phi2 and that gate's strobe. Also: the clock steps through
// its states and Phi2 cannot be switched by hand; the opening; the texts.

#include <string>

#include "companions/Scenes.h"
#include "companions/plimo/GateScene.h"
#include "model/Clock.h"
#include "tests/companions/SceneInput.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::explain;
using procesor::testing::contains;
using procesor::testing::press;

namespace {

// LDA 7, MOV, LDA 12, ADD, JMP 9, (skipped), NOP, HLT.
ProcessorModel programmed() {
    ProcessorModel m;
    const int words[] = {0b0001, 7, 0b1011, 0b0001, 12, 0b0101, 0b1000, 9, 0b0101, 0b1111, 0b1110};
    for (std::size_t i = 0; i < std::size(words); ++i) m.ram[i] = words[i];
    return m;
}

// The gates top to bottom as the diagram numbers them, and what the machine holds of
// each: its control signal and its output.
struct Expected {
    const char* name;
    bool ProcessorModel::*signal;
    bool ProcessorModel::*strobe;
    int image;
    // How often the program above fires it: IR/W at each of the 7 fetches, PC/W at the
    // JMP, PC/I twice per LDA and once per MOV, ADD, JMP, NOP, A/W at LDA, LDA, ADD.
    int strobes;
};
const Expected kGates[] = {
    {"IR/W", &ProcessorModel::irWrite, &ProcessorModel::irLoad, 2, 7},
    {"PC/W", &ProcessorModel::pcWrite, &ProcessorModel::pcLoad, 203, 1},
    {"PC/I", &ProcessorModel::pcInc, &ProcessorModel::pcCount, 63, 8},
    {"A/W", &ProcessorModel::aWrite, &ProcessorModel::aLoad, 71, 3},
    {"B/W", &ProcessorModel::bWrite, &ProcessorModel::bLoad, 1, 1},
};

std::unique_ptr<GateScene> openedOn(ElementKind kind, int number) {
    const Opening opening{kind, number};
    std::unique_ptr<Scene> scene = makePlimoScene(&opening);
    scene->render();
    return std::unique_ptr<GateScene>(static_cast<GateScene*>(scene.release()));
}

void followsTheMachine() {
    for (int gate = 0; gate < GateScene::kGates; ++gate) {
        const Expected& e = kGates[gate];
        std::unique_ptr<GateScene> scene = openedOn(ElementKind::Image, e.image);
        if (!CHECK(scene->gate() == gate)) continue;
        Lamp& lamp = scene->signals[std::size_t(gate)];
        ProcessorModel m = programmed();
        int pulses = 0;
        int strobes = 0;
        bool halted = false;
        while (!(halted && !m.phi1) && pulses < 500) {
            // The signal is set at rest, as the next line will have it; outside rest
            // its lamp is locked (a load the machine never makes cannot be made).
            if (!m.phi1) {
                ProcessorModel next = m;
                clockPulse(next);
                if (lamp.on() != next.*e.signal) press(*scene, lamp);
            }
            press(*scene, scene->steps.pulse);
            halted = clockPulse(m).halted || halted;
            ++pulses;
            strobes += m.*e.strobe ? 1 : 0;
            if (!CHECK_EQ(lamp.enabled(), !m.phi1) || !CHECK_EQ(scene->phi2.on(), m.phi2) ||
                !CHECK_EQ(scene->strobe.on(), m.*e.strobe) ||
                !CHECK_EQ(scene->machine().phi1, m.phi1) ||
                !CHECK_EQ(scene->strobeOn(), m.*e.strobe)) {
                std::printf("  gate %s, pulse %d, microaddress %d\n", e.name, pulses, m.ir);
                break;
            }
        }
        CHECK(halted);
        CHECK_EQ(strobes, e.strobes);
    }
}

// Rest, Phi1, Phi2, rest: the Phi2 lamp follows the clock and takes no click.
void clockStepsThroughItsStates() {
    std::unique_ptr<GateScene> scene = openedOn(ElementKind::Image, 71);
    press(*scene, scene->phi2);
    CHECK(!scene->phi2.on());
    CHECK(!scene->machine().phi2);
    press(*scene, scene->signals[3]);
    CHECK(!scene->strobe.on());   // A/W alone, at rest
    press(*scene, scene->strobe); // the output only shows
    CHECK(!scene->strobe.on());
    const bool phi1[] = {true, true, false, true};
    const bool phi2[] = {false, true, false, false};
    for (int pulse = 0; pulse < 4; ++pulse) {
        press(*scene, scene->steps.pulse);
        CHECK_EQ(scene->machine().phi1, phi1[pulse]);
        CHECK_EQ(scene->phi2.on(), phi2[pulse]);
        CHECK_EQ(scene->strobe.on(), phi2[pulse]);
    }
    CHECK(contains(scene->resultText(), "Fáze Φ1: A/W = 1 a Φ2 = 0"));
    // In Phi2 A/W is locked: a click neither ends the strobe nor makes a load the
    // machine never makes.
    press(*scene, scene->steps.pulse);
    CHECK(scene->strobe.on());
    CHECK(contains(scene->resultText(), "registr A převzal hodnotu ze sběrnice (teď 6)"));
    press(*scene, scene->signals[3]);
    CHECK(scene->strobe.on());
    CHECK(scene->signals[3].on());
    // "do konce mikrokroku" from Phi2 runs the one pulse left and says that the strobe came.
    press(*scene, scene->steps.microstep);
    CHECK(!scene->machine().phi1);
    CHECK(contains(scene->resultText(), "Mikrokrok dokončen"));
    CHECK(contains(scene->resultText(), "registr A převzal"));
    // From rest with A/W off: three pulses, no strobe.
    press(*scene, scene->signals[3]);
    press(*scene, scene->steps.microstep);
    CHECK(contains(scene->resultText(), "Celý mikrokrok (fáze Φ1, fáze Φ2, klid)"));
    CHECK(contains(scene->resultText(), "A/W = 0, zápisový impulz nepřišel"));
}

// The desktop program opens with nothing chosen and a one-line hint; the page opens
// it on the gate clicked; any other element chooses nothing.
void opening() {
    std::unique_ptr<Scene> desktop = makePlimoScene(nullptr);
    auto& d = static_cast<GateScene&>(*desktop);
    d.render();
    CHECK(!d.gate());
    CHECK(!d.steps.pulse.enabled() && !d.steps.microstep.enabled());
    CHECK(d.resultText().rfind("Vyberte ", 0) == 0);
    CHECK(!contains(d.resultText(), "\n"));
    for (const ChoiceButton& choice : d.choices) CHECK(!choice.chosen());
    for (const Lamp& lamp : d.signals) CHECK(!lamp.visible());
    press(d, d.choices[4]);
    CHECK(d.gate() == 4);
    CHECK(d.choices[4].chosen() && !d.choices[0].chosen());
    CHECK(d.signals[4].visible() && !d.signals[0].visible());
    CHECK(d.steps.pulse.enabled());
    CHECK(contains(d.resultText(), "Zapněte B/W"));

    std::unique_ptr<GateScene> other = openedOn(ElementKind::Label, 14);
    CHECK(!other->gate());
    std::unique_ptr<GateScene> b = openedOn(ElementKind::Image, 1);
    CHECK(b->gate() == 4);
    CHECK(b->choices[4].chosen());
    CHECK(b->title() == "Hradla AND: impulzy ve fázi Φ2");
}

} // namespace

// PC/I's gate gives a counting pulse, not a write strobe, and PČ shows it counted.
void countingPulse() {
    std::unique_ptr<GateScene> scene = openedOn(ElementKind::Image, 63);
    press(*scene, scene->signals[2]);
    press(*scene, scene->steps.pulse);
    CHECK(!scene->signals[2].enabled()); // locked outside rest
    press(*scene, scene->steps.pulse);
    CHECK(scene->strobeOn());
    CHECK(contains(scene->resultText(), "impulz k počítání"));
    CHECK(!contains(scene->resultText(), "zápisový"));
    CHECK_EQ(scene->machine().pc, 1);
    press(*scene, scene->steps.restart);
    CHECK_EQ(scene->machine().pc, 0);
    CHECK(!scene->machine().phi1);
}

int main() {
    followsTheMachine();
    clockStepsThroughItsStates();
    opening();
    countingPulse();
    return ::testing::checkFailures();
}

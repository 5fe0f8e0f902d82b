// The adder as a student drives it: a program with every instruction runs on the
// machine pulse by pulse; the scene, given the machine's registers and, before each
// microstep, its ADD/R and A/W by clicks, and clocked by "ručně", must show the
// machine's adder output after every transfer, and in ADD's microstep put the sum on
// the bus and load A by itself. Also the columns' carries and the texts.

#include <string>

#include "companions/Scenes.h"
#include "companions/quobin/AdderScene.h"
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

// LDA 7, MOV, LDA 12, ADD, JMP 9, (skipped), NOP, ADD, HLT: A 12 + 7 wraps to 3,
// then 3 + 7 = 10.
ProcessorModel programmed() {
    ProcessorModel m;
    const int words[] = {0b0001, 7, 0b1011, 0b0001, 12,     0b0101,
                         0b1000, 9, 0b0101, 0b1111, 0b0101, 0b1110};
    for (std::size_t i = 0; i < std::size(words); ++i) m.ram[i] = words[i];
    return m;
}

void followsTheMachine() {
    std::unique_ptr<Scene> made = makeQuobinScene(nullptr);
    auto& scene = static_cast<AdderScene&>(*made);
    scene.render();
    ProcessorModel m = programmed();
    int pulses = 0;
    int addLoads = 0;
    bool halted = false;
    while (!(halted && !m.phi1) && pulses < 500) {
        if (!m.phi1) {
            // The student reads the next line's signals off the listing before the step.
            ProcessorModel next = m;
            clockPulse(next);
            setLamp(scene, scene.addRead, next.addRead);
            setLamp(scene, scene.aWrite, next.aWrite);
        }
        press(scene, scene.steps.pulse);
        halted = clockPulse(m).halted || halted;
        ++pulses;
        const int line = m.ir;
        if (m.addRead) {
            // ADD's own microstep: the scene drives the bus and loads A by itself.
            if (!CHECK_EQ(scene.bus.value(), m.bus) || !CHECK_EQ(scene.a.value(), m.regA)) {
                std::printf("  pulse %d, microaddress %d\n", pulses, line);
                return;
            }
            addLoads += m.aLoad ? 1 : 0;
        } else if (m.aLoad) {
            continue; // LDA loads A from RAM, which the scene has not got
        }
        setWord(scene, scene.a, m.regA);
        setWord(scene, scene.b, m.regB);
        if (!CHECK_EQ(scene.sum.value(), m.sum) || !CHECK_EQ(scene.machine().sum, m.sum) ||
            !CHECK_EQ(scene.phi2.on(), m.phi2)) {
            std::printf("  pulse %d, microaddress %d\n", pulses, line);
            return;
        }
    }
    CHECK(halted);
    CHECK_EQ(m.regA, 10);
    CHECK_EQ(addLoads, 2);
}

// The carries column by column, against the ripple-carry rule: column k carries when
// the low k + 1 bits of A and B add up to more than they can hold.
void carries() {
    struct Case {
        int a, b, carries;
    };
    const Case cases[] = {{10, 8, 0b1000}, {15, 1, 0b1111}, {15, 15, 0b1111}, {8, 8, 0b1000},
                          {5, 5, 0b0101},  {7, 1, 0b0111},  {3, 12, 0},       {0, 0, 0}};
    for (const Case& c : cases) CHECK_EQ(columnCarries(c.a, c.b, (c.a + c.b) % 16), c.carries);
    for (int a = 0; a < 16; ++a)
        for (int b = 0; b < 16; ++b) {
            ProcessorModel m;
            m.regA = a;
            m.regB = b;
            transfer(m, false);
            int expected = 0;
            for (int bit = 0; bit < 4; ++bit) {
                const int low = (2 << bit) - 1;
                if ((a & low) + (b & low) > low) expected |= 1 << bit;
            }
            CHECK_EQ(columnCarries(a, b, m.sum), expected);
        }
}

// The opening sum, the lost carry, and ADD's microstep: A takes the sum, the adder adds
// anew.
void texts() {
    AdderScene scene;
    scene.render();
    CHECK_EQ(scene.sum.value(), 2);
    CHECK(contains(scene.resultText(), "10 + 8 = 18; to se do čtyř bitů nevejde"));
    CHECK(contains(scene.resultText(), "18 − 16 = 2"));
    press(scene, scene.sum.cell(0)); // the sum only shows
    CHECK_EQ(scene.sum.value(), 2);
    press(scene, scene.b.cell(3));
    CHECK_EQ(scene.sum.value(), 10);
    CHECK(contains(scene.resultText(), "10 + 0 = 10, přenos z bitu 3 je 0"));
    press(scene, scene.b.cell(3));

    press(scene, scene.addRead);
    press(scene, scene.aWrite);
    press(scene, scene.steps.microstep);
    CHECK_EQ(scene.bus.value(), 2);
    CHECK_EQ(scene.a.value(), 2);
    CHECK_EQ(scene.sum.value(), 10);
    CHECK(contains(scene.resultText(), "Celý mikrokrok (fáze Φ1, fáze Φ2, klid)"));
    CHECK(contains(scene.resultText(), "registr A převzal ve fázi Φ2 hodnotu 2"));
    CHECK(contains(scene.resultText(), "2 + 8 = 10"));

    // Pulse by pulse, A/W off: the bus gets the sum, A keeps its value.
    press(scene, scene.aWrite);
    press(scene, scene.steps.pulse);
    CHECK(contains(scene.resultText(), "Fáze Φ1: ADD/R = 1, součet 10 jde na sběrnici"));
    press(scene, scene.steps.pulse);
    CHECK(contains(scene.resultText(), "A/W = 0"));
    CHECK_EQ(scene.a.value(), 2);
    press(scene, scene.phi2); // Phi2 comes from the clock only
    CHECK(scene.phi2.on());
    CHECK(scene.title() == "Sčítačka (ADD): čtyřbitové sčítání");
}

} // namespace

// The columns add at once, the carry ripples from the LSB, and the bus holds the sum
// from the Phi1 pulse only.
void correctedTexts() {
    AdderScene scene;
    scene.render();
    press(scene, scene.addRead);
    press(scene, scene.aWrite);
    press(scene, scene.steps.pulse);
    press(scene, scene.steps.pulse); // A takes the sum: the adder's output changes
    CHECK(scene.machine().bus != scene.machine().sum);
    CHECK(contains(scene.resultText(), "Sběrnice drží"));
    CHECK(contains(scene.resultText(), "dalo zápisový impulz"));
}

int main() {
    followsTheMachine();
    carries();
    texts();
    correctedTexts();
    return ::testing::checkFailures();
}

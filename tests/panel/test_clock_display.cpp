// The clock pulse as the student sees it: the guard, the pressed look, the
// halt, and the diagram agreeing with the machine after every pulse.

#include <random>

#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

constexpr std::initializer_list<int> kWorkedExample = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};

// Everything the diagram shows must follow from the machine.
std::string disagreement(const Simulator& sim) {
    const ProcessorModel& m = sim.model();
    const ElementState& el = sim.elements();
    for (int v : {m.pc, m.bus, m.ir, m.ramOut, m.regA, m.regB, m.sum})
        if (v < 0 || v > 15) return "a value outside 0..15";
    if (!m.phi1 && m.phi2) return "phi2 without phi1";
    if (!m.phi2 && (m.bLoad || m.aLoad || m.pcLoad || m.irLoad || m.pcCount))
        return "a strobe outside phi2";
    if (busShown(el) != m.bus) return "bus lines differ from the bus";
    if (shownValue(el, kAddressLines) != m.pc) return "address lines differ from pc";
    if (shownValue(el, kRegAPaths) != m.regA) return "A paths differ from A";
    if (shownValue(el, kRegBPaths) != m.regB) return "B paths differ from B";
    for (const SignalLine& line : kSignalLines)
        if (!allShown(el, line.images, m.*line.field)) return "a control line differs";
    if (!allShown(el, kPhi1Images, m.phi1) || !allShown(el, kPhi2Images, m.phi2))
        return "a clock line differs";
    if (markedRamCells(el) != std::vector<int>{kFirstRamCell + m.pc}) return "RAM highlight";
    if (markedListing(el).size() != 2) return "listing highlight";
    const std::pair<int, int> digits[] = {{kIrDigit, m.ir},
                                          {kPcDigit, m.pc},
                                          {kRegADigit, m.regA},
                                          {kRegBDigit, m.regB},
                                          {kSumDigit, m.sum}};
    for (auto [label, value] : digits)
        if (el.label[label].caption != std::to_string(value)) return "a value digit";
    for (int bit = 0; bit < 4; ++bit)
        if (el.label[kBusDigitLabels[bit]].caption != ((m.bus >> bit) & 1 ? "1" : "0"))
            return "a bus digit";
    return {};
}

} // namespace

TEST_CASE(refusedPulsesChangeNothing) {
    const char* const situations[] = {"at start-up", "in programming mode after a run",
                                      "while ručně is still pressed", "after the halt"};
    for (int situation = 0; situation < 4; ++situation) {
        CONTEXT(situations[situation]);
        Simulator sim;
        loadProgram(sim.model(), kWorkedExample);
        if (situation == 1) {
            sim.Panel7Click();
            pulses(sim, 5);
            sim.Panel6Click();
        } else if (situation == 2) {
            sim.Panel7Click();
            sim.Panel1Click(); // pressed, Timer5 pending
        } else if (situation == 3) {
            sim.Panel7Click();
            pulses(sim, 34);
        }
        const ProcessorModel model = sim.model();
        const ElementState el = sim.elements();
        sim.Panel1Click();
        sim.Timer1Tick(1000); // an automatic tick far from any release
        sim.Panel2Click();
        CHECK(sim.model() == model);
        CHECK(sim.elements() == el);
    }
}

TEST_CASE(anAcceptedPulsePressesTheClockButtonUntilTheRelease) {
    Simulator sim = runMode(kWorkedExample);
    sim.Panel1Click();
    const Panel& p = sim.elements().panel[1];
    CHECK_EQ(p.colour, clTeal);
    CHECK_EQ(p.outer, Bevel::Lowered);
    CHECK_EQ(p.inner, Bevel::Lowered);
    CHECK(sim.elements().timer[5].enabled);
    sim.Panel1Click(); // within 300 ms: dropped
    CHECK_EQ(sim.model().phi2, false);
    sim.Button1Click();
    CHECK_EQ(sim.elements().panel[1].colour, clAqua);
    CHECK_EQ(sim.elements().panel[1].inner, Bevel::Raised);
    CHECK(!sim.elements().timer[5].enabled);
    sim.Panel1Click();
    CHECK_EQ(sim.model().phi2, true);
}

TEST_CASE(theFirstPulseDecodesTheFetchFromAddressZero) {
    Simulator sim = runMode(kWorkedExample);
    pulse(sim);
    const ElementState& el = sim.elements();
    CHECK_EQ(markedListing(el), (std::vector<int>{13, 15})); // NOP, line 0001
    CHECK_EQ(el.label[kIrDigit].caption, "1");
    CHECK_EQ(shownValue(el, kMicroaddressLines), 1);
    CHECK(allShown(el, kPhi1Images, true));
    CHECK(allShown(el, kPhi2Images, false));
    CHECK_EQ(markedRamCells(el), std::vector<int>{35});
}

TEST_CASE(theFirstThreePulsesOfTheWorkedExample) {
    Simulator sim = runMode(kWorkedExample);
    pulses(sim, 2); // phi2 of the fetch: IR loads 1 from the bus
    const ElementState& el = sim.elements();
    CHECK(allShown(el, std::array<int, 2>{64, 265}, true)); // IR load
    CHECK(allShown(el, kPhi2Images, true));
    CHECK(allShown(el, std::array<int, 4>{14, 15, 195, 198}, true)); // IR/W, RAM/R
    CHECK(allShown(el, kPcIncLine, false));
    CHECK_EQ(busShown(el), 1);
    pulse(sim); // rest: phase and strobe lines go dark, control lines stay
    CHECK(allShown(el, std::array<int, 2>{64, 265}, false));
    CHECK(allShown(el, kPhi2Images, false));
    CHECK(allShown(el, kPhi1Images, false));
    CHECK(allShown(el, std::array<int, 4>{14, 15, 195, 198}, true));
    CHECK_EQ(busShown(el), 1);
    CHECK_EQ(el.label[64].caption, "1");
    CHECK_EQ(el.label[12].caption, "0");
}

TEST_CASE(theHaltDisablesTheRunControls) {
    Simulator sim = runMode(kWorkedExample);
    sim.Panel2Click(); // automatic clock on
    CHECK(sim.elements().timer[1].enabled);
    for (int i = 0; i < 34; ++i) sim.Timer1Tick(0);
    const ElementState& el = sim.elements();
    CHECK_EQ(sim.model().ir, 15);
    CHECK_EQ(sim.model().regA, 10);
    CHECK(!el.timer[1].enabled);
    CHECK(!el.timer[5].enabled);
    for (int p : {1, 2}) {
        CONTEXT("Panel" + std::to_string(p));
        CHECK_EQ(el.panel[p].colour, clCream);
        CHECK_EQ(el.panel[p].outer, Bevel::None);
        CHECK_EQ(el.panel[p].inner, Bevel::None);
    }
    CHECK(!el.edit17.visible);
    CHECK_EQ(markedListing(el), (std::vector<int>{29, 34}));
    CHECK_EQ(shownValue(el, kMicroaddressLines), 15);
    CHECK(allShown(el, kPhi1Images, true));
    CHECK_EQ(disagreement(sim), "");
}

TEST_CASE(aCountingMicrostepAtFifteenMarksCellZero) {
    Simulator sim;
    sim.model().ram.fill(0b1111);
    sim.Panel7Click();
    pulses(sim, 3 * (1 + 2 * 15));
    CHECK_EQ(markedRamCells(sim.elements()), std::vector<int>{50});
    pulses(sim, 3);
    CHECK_EQ(sim.model().pc, 0);
    CHECK_EQ(markedRamCells(sim.elements()), std::vector<int>{35});
    CHECK_EQ(shownValue(sim.elements(), kAddressLines), 0);
}

TEST_CASE(theAdderCaptionShowsTheSumModuloSixteen) {
    Simulator sim = runMode({0b0001, 10, 0b1011, 0b0001, 8, 0b1110});
    pulses(sim, 300);
    CHECK_EQ(sim.model().regA, 8);
    CHECK_EQ(sim.model().regB, 10);
    CHECK_EQ(sim.elements().label[kSumDigit].caption, "2");
}

TEST_CASE(theDiagramFollowsTheMachineOnRandomPrograms) {
    std::mt19937 random(20261208);
    for (int program = 0; program < 300; ++program) {
        Simulator sim;
        for (int& w : sim.model().ram) w = static_cast<int>(random() % 16);
        sim.Panel7Click();
        for (int p = 0; p < 200 && sim.elements().panel[1].colour == clAqua; ++p) {
            pulse(sim);
            const std::string why = disagreement(sim);
            REQUIRE_MSG(why.empty(), "program " + std::to_string(program) + ", pulse " +
                                         std::to_string(p + 1) + ": " + why);
        }
    }
}

PLAIN_TEST_MAIN()

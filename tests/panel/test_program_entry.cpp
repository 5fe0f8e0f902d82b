// Programming mode: the data switches, writing to RAM, stepping the address and
// clearing RAM, with their release timers.

#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

const std::string kBlank(11, ' ');

void pressSwitch(Simulator& sim, int bit) {
    switch (bit) {
    case 0:
        sim.Button11Click();
        break;
    case 1:
        sim.Button10Click();
        break;
    case 2:
        sim.Button9Click();
        break;
    default:
        sim.Button8Click();
        break;
    }
}

void setSwitches(Simulator& sim, int value) {
    for (int bit = 0; bit < 4; ++bit) {
        const bool on = sim.elements().image[kDataSwitches[3 - bit].runWire].visible;
        if (on != bool(value & (1 << bit))) pressSwitch(sim, bit);
    }
}

void stepTo(Simulator& sim, int address) {
    while (sim.model().pc != address) sim.Panel3Click();
}

std::vector<std::string> cellCaptions(const Simulator& sim) {
    std::vector<std::string> c;
    for (int n = kFirstRamCell; n < kFirstRamCell + 16; ++n)
        c.push_back(sim.elements().label[n].caption);
    return c;
}

} // namespace

TEST_CASE(theLowestSwitchLightsItsWholeBusLine) {
    Simulator sim;
    const ProcessorModel model = sim.model();
    sim.Button11Click();
    CHECK(allShown(sim.elements(), kBusImages[0], true));
    CHECK(sim.elements().image[238].visible && sim.elements().image[258].visible);
    CHECK_EQ(sim.elements().label[64].caption, "1");
    CHECK_EQ(sim.elements().button[11].caption, "1");
    sim.Button11Click();
    CHECK(allShown(sim.elements(), kBusImages[0], false));
    CHECK_EQ(sim.elements().label[64].caption, "0");
    CHECK(sim.model() == model); // switches change no machine state
}

TEST_CASE(inRunModeASwitchLeavesTheBusAsTheClockLeftIt) {
    Simulator sim = runMode({0b0001, 0b0101});
    pulses(sim, 1); // bus = 1
    const ElementState before = sim.elements();
    sim.Button8Click();
    ElementState expected = before;
    expected.image[236].visible = expected.image[255].visible = true;
    expected.button[8] = Button{"1", true};
    CHECK(sim.elements() == expected);
    sim.Panel4Click(); // no write in run mode
    CHECK(sim.elements() == expected);
    CHECK_EQ(sim.model().ram[0], 0b0001);
}

TEST_CASE(writingZeroShowsItUnlikeANeverWrittenCell) {
    Simulator sim;
    sim.Panel4Click();
    CHECK_EQ(sim.elements().label[35].caption, "OOOO");
    CHECK_EQ(sim.elements().label[36].caption, kBlank);
}

TEST_CASE(writingElevenAtAddressThree) {
    Simulator sim;
    setSwitches(sim, 0b1011);
    stepTo(sim, 3);
    sim.Panel4Click();
    CHECK_EQ(sim.model().ram[3], 11);
    CHECK_EQ(sim.model().bus, 11);
    CHECK_EQ(sim.elements().label[38].caption, " l O l  l ");
    CHECK_EQ(markedRamCells(sim.elements()), std::vector<int>{38}); // write does not move pc
}

TEST_CASE(writingTwiceOverwrites) {
    Simulator sim;
    setSwitches(sim, 5);
    sim.Panel4Click();
    setSwitches(sim, 9);
    sim.Panel4Click();
    CHECK_EQ(sim.model().ram[0], 9);
    CHECK_EQ(sim.elements().label[35].caption, " l OO l ");
}

TEST_CASE(writtenCellsKeepTheirTextWhileCellZeroIsBlank) {
    Simulator sim;
    setSwitches(sim, 0b0110);
    stepTo(sim, 3);
    sim.Panel4Click();
    setSwitches(sim, 0b1000);
    stepTo(sim, 5);
    sim.Panel4Click();
    CHECK_EQ(sim.elements().label[38].caption, "O l  l O");
    CHECK_EQ(sim.elements().label[40].caption, " l OOO");
    CHECK_EQ(sim.elements().label[35].caption, kBlank);
    CHECK_EQ(sim.model().ram[3], 6);
}

TEST_CASE(aWriteReleasesAfterItsTimer) {
    Simulator sim;
    sim.Panel4Click();
    CHECK(sim.elements().image[250].visible);
    CHECK_EQ(sim.elements().panel[4].colour, clTeal);
    CHECK_EQ(sim.elements().panel[4].inner, Bevel::Lowered);
    CHECK(sim.elements().timer[3].enabled);
    sim.Button11Click();
    sim.Panel4Click(); // still down: writes again
    CHECK_EQ(sim.model().ram[0], 1);
    sim.Button13Click();
    CHECK(!sim.elements().image[250].visible);
    CHECK_EQ(sim.elements().panel[4].colour, clAqua);
    CHECK_EQ(sim.elements().panel[4].outer, Bevel::Raised);
    CHECK(!sim.elements().timer[3].enabled);
}

TEST_CASE(sixteenStepsComeBackAndFifteenWrapsToZero) {
    Simulator sim;
    stepTo(sim, 7);
    for (int i = 0; i < 16; ++i) sim.Panel3Click();
    CHECK_EQ(sim.model().pc, 7);
    stepTo(sim, 15);
    CHECK_EQ(shownValue(sim.elements(), kAddressLines), 15);
    sim.Panel3Click();
    CHECK_EQ(sim.elements().label[2].caption, "0");
    CHECK_EQ(markedRamCells(sim.elements()), std::vector<int>{35});
    CHECK_EQ(shownValue(sim.elements(), kAddressLines), 0);
}

TEST_CASE(steppingToThirteen) {
    Simulator sim;
    stepTo(sim, 13);
    const ElementState& el = sim.elements();
    CHECK(el.image[114].visible && el.image[115].visible && !el.image[116].visible &&
          el.image[117].visible);
    CHECK_EQ(markedRamCells(el), std::vector<int>{48});
    CHECK_EQ(el.label[2].caption, "13");
    CHECK(el.image[244].visible && el.image[246].visible);
    sim.Button12Click();
    CHECK(!el.image[244].visible && !el.image[246].visible);
    CHECK_EQ(el.panel[3].colour, clAqua);
}

TEST_CASE(clearingEmptiesRamAndKeepsTheSwitches) {
    Simulator sim;
    setSwitches(sim, 3);
    for (int a = 0; a < 16; ++a) {
        sim.Panel4Click();
        sim.Panel3Click();
    }
    stepTo(sim, 9);
    sim.Panel5Click();
    CHECK_EQ(sim.model().ram, (std::array<int, 16>{}));
    CHECK_EQ(cellCaptions(sim), std::vector<std::string>(16, kBlank));
    CHECK_EQ(sim.model().pc, 0);
    CHECK_EQ(markedRamCells(sim.elements()), std::vector<int>{35});
    CHECK_EQ(shownValue(sim.elements(), kAddressLines), 0);
    CHECK(sim.elements().image[248].visible);
    sim.Panel4Click(); // the switches still say 3
    CHECK_EQ(sim.model().ram[0], 3);
    CHECK_EQ(sim.elements().label[35].caption, "OO l  l ");
    CHECK_EQ(sim.elements().label[36].caption, kBlank);
    sim.Button14Click();
    CHECK(!sim.elements().image[248].visible);
}

// A release that falls due after "provoz" leaves its button flat: in run mode
// the button does nothing and must not look ready.
TEST_CASE(aReleasePendingAcrossTheSwitchToRunModeLeavesTheButtonFlat) {
    for (int button : {3, 4, 5}) { // krokování, zápis do RAM, nulování
        CONTEXT("Panel" + std::to_string(button));
        Simulator sim;
        void (Simulator::*const press[])() = {&Simulator::Panel3Click, &Simulator::Panel4Click,
                                              &Simulator::Panel5Click};
        void (Simulator::*const release[])() = {
            &Simulator::Button12Click, &Simulator::Button13Click, &Simulator::Button14Click};
        (sim.*press[button - 3])();
        sim.Panel7Click();
        (sim.*release[button - 3])();
        const ElementState& el = sim.elements();
        CHECK_EQ(el.panel[button].colour, clCream);
        CHECK_EQ(el.panel[button].inner, Bevel::None);
        CHECK(!el.timer[button - 1].enabled);
        for (int image : {244, 246, 248, 250}) CHECK(!el.image[image].visible);
        // and back in programming mode the button is ready again
        (sim.*press[button - 3])();
        CHECK_EQ(el.panel[button].colour, clCream);
        sim.Panel6Click();
        CHECK_EQ(el.panel[button].colour, clAqua);
    }
}

PLAIN_TEST_MAIN()

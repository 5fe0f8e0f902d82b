// The two operating modes: the mode reset and how every handler tells the modes apart.

#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

enum Situation {
    ProgrammingIdle,
    ProgrammingStepDown, // "krokování" just pressed, its release pending
    RunIdle,
    RunPressed, // "ručně" within its 300 ms
    RunAutomatic,
    RunHalted,
    SituationCount
};
const char* const kSituationNames[] = {
    "programming",        "programming, step down", "run, idle",
    "run, ručně pressed", "run, automatic clock",   "run, halted"};

Simulator inSituation(Situation s) {
    Simulator sim;
    loadProgram(sim.model(), {0b1111, 0b1110}); // NOP; HLT
    switch (s) {
    case ProgrammingIdle:
        break;
    case ProgrammingStepDown:
        sim.Panel3Click();
        break;
    case RunIdle:
        sim.Panel7Click();
        break;
    case RunPressed:
        sim.Panel7Click();
        sim.Panel1Click();
        break;
    case RunAutomatic:
        sim.Panel7Click();
        sim.Panel2Click();
        break;
    case RunHalted:
        sim.Panel7Click();
        pulses(sim, 3 * 4);
        break;
    default:
        break;
    }
    sim.setSpeedText("2"); // so that a speed read shows in Timer1's interval
    return sim;
}

using Handler = void (Simulator::*)();

struct ModeRule {
    const char* name;
    Handler handler;
    unsigned respondsIn; // bit per Situation
};

constexpr unsigned bitOf(Situation s) {
    return 1u << s;
}
constexpr unsigned kProgramming = bitOf(ProgrammingIdle) | bitOf(ProgrammingStepDown);
constexpr unsigned kRunning = bitOf(RunIdle) | bitOf(RunAutomatic);
constexpr unsigned kRun = kRunning | bitOf(RunPressed) | bitOf(RunHalted);
constexpr unsigned kAlways = kProgramming | kRun;

const ModeRule kModeRules[] = {
    {"Panel1Click", &Simulator::Panel1Click, kRunning},
    {"Panel2Click", &Simulator::Panel2Click, kRunning},
    {"UpDown1Click", &Simulator::UpDown1Click, kRun},
    {"Panel3Click", &Simulator::Panel3Click, kProgramming},
    {"Panel4Click", &Simulator::Panel4Click, kProgramming},
    {"Panel5Click", &Simulator::Panel5Click, kProgramming},
    {"Button8Click", &Simulator::Button8Click, kAlways},
    {"Button11Click", &Simulator::Button11Click, kAlways},
};

bool onlyPcIncLit(const ElementState& el) {
    for (int image : modeResetOverlays()) {
        const bool pcInc = image == kPcIncLine[0] || image == kPcIncLine[1];
        if (el.image[image].visible != pcInc) return false;
    }
    return true;
}

// What a mode reset must leave, whatever came before.
void checkResetLook(const Simulator& sim, bool programming) {
    const ElementState& el = sim.elements();
    const ProcessorModel& m = sim.model();
    CHECK_EQ(m.pc + m.ir + m.regA + m.regB + m.sum, 0);
    CHECK(!m.phi1 && !m.phi2);
    CHECK(onlyPcIncLit(el));
    CHECK_EQ(el.image[kClosedBusSwitch].visible, programming);
    CHECK_EQ(markedListing(el), (std::vector<int>{13, 14}));
    CHECK_EQ(markedRamCells(el), std::vector<int>{35});
    for (int label : {2, 5, 9, 10, 12, 62, 63, 64, 66}) CHECK_EQ(el.label[label].caption, "0");
    for (int button : {8, 9, 10, 11}) CHECK_EQ(el.button[button].caption, "0");
    CHECK(!el.timer[1].enabled && !el.timer[5].enabled);
    CHECK(el.edit17.visible);
    CHECK_EQ(el.panel[6].colour, programming ? clLime : clMoneyGreen);
    CHECK_EQ(el.panel[7].colour, programming ? clMoneyGreen : clLime);
    CHECK_EQ(el.panel[1].colour, programming ? clCream : clAqua);
    CHECK_EQ(el.panel[2].colour, programming ? clCream : clAqua);
    CHECK_EQ(el.panel[2].inner, programming ? Bevel::None : Bevel::Raised);
    CHECK_EQ(el.panel[4].colour, programming ? clAqua : clCream);
}

} // namespace

TEST_CASE(everyHandlerRespondsOnlyInItsMode) {
    for (const ModeRule& r : kModeRules)
        for (int s = 0; s < SituationCount; ++s) {
            CONTEXT(std::string(r.name) + " in " + kSituationNames[s]);
            Simulator sim = inSituation(Situation(s));
            const Simulator before = sim;
            (sim.*r.handler)();
            const bool responded =
                !(sim.model() == before.model()) || !(sim.elements() == before.elements());
            CHECK_EQ(responded, bool(r.respondsIn & bitOf(Situation(s))));
        }
}

TEST_CASE(dataSwitchesLightTheBusOnlyInProgrammingMode) {
    for (Situation s : {ProgrammingIdle, RunIdle}) {
        CONTEXT(kSituationNames[s]);
        Simulator sim = inSituation(s);
        sim.Button8Click();
        CHECK_EQ(sim.elements().button[8].caption, "1");
        CHECK(sim.elements().image[236].visible && sim.elements().image[255].visible);
        CHECK_EQ(allShown(sim.elements(), kBusImages[3], true), s == ProgrammingIdle);
        CHECK_EQ(sim.elements().label[12].caption, s == ProgrammingIdle ? "1" : "0");
    }
}

TEST_CASE(programmingRightAfterStartUpChangesNothing) {
    Simulator sim;
    sim.Panel6Click();
    ElementState expected = ElementState::startup();
    expected.panel[7].outer = expected.panel[7].inner = Bevel::Raised; // stored as space
    for (int p : {3, 4, 5}) expected.panel[p].outer = expected.panel[p].inner = Bevel::Raised;
    CHECK(sim.elements() == expected);
    CHECK(sim.model() == ProcessorModel{});
}

TEST_CASE(eitherResetLeavesTheStartingLookWhateverWasLit) {
    for (bool programming : {true, false}) {
        CONTEXT(programming ? "programování" : "provoz");
        Simulator sim = inSituation(RunAutomatic);
        loadProgram(sim.model(), {0b0001, 7, 0b1011, 0b0101, 0b1000, 0});
        for (int i = 0; i < 40; ++i) {
            sim.Timer1Tick(0);
            if (sim.model().phi2 && sim.model().pcCount) break; // PC count lit
        }
        CHECK(sim.elements().image[214].visible);
        sim.Button9Click();
        programming ? sim.Panel6Click() : sim.Panel7Click();
        checkResetLook(sim, programming);
        CHECK(!sim.elements().image[235].visible); // switch back to 0
    }
}

TEST_CASE(runModeRestartsAfterTheHalt) {
    Simulator sim = inSituation(RunHalted);
    CHECK(!sim.elements().edit17.visible);
    sim.Panel7Click();
    checkResetLook(sim, false);
    CHECK_EQ(sim.elements().panel[1].inner, Bevel::Raised);
}

TEST_CASE(programmingSoonAfterAPulseKeepsTheClockButtonsFlat) {
    Simulator sim = inSituation(RunPressed);
    sim.Panel6Click();
    CHECK(!sim.elements().timer[5].enabled); // the pending release is cancelled
    CHECK_EQ(sim.elements().panel[1].colour, clCream);
    CHECK_EQ(sim.elements().panel[2].colour, clCream);
}

TEST_CASE(aProgramSurvivesEveryModeSwitch) {
    Simulator sim;
    sim.Button10Click();
    sim.Panel4Click();
    const ProcessorModel written = sim.model();
    sim.Panel7Click();
    pulses(sim, 9);
    sim.Panel7Click();
    sim.Panel6Click();
    CHECK_EQ(sim.model().ram, written.ram);
    CHECK_EQ(sim.model().ramText, written.ramText);
    CHECK_EQ(sim.elements().label[35].caption, "OO l O");
}

PLAIN_TEST_MAIN()

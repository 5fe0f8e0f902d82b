// The two operating modes: the mode reset and how every handler tells the modes apart.

#include <QtTest>

#include "tests/support/Machine.h"

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
    QCOMPARE(m.pc + m.ir + m.regA + m.regB + m.sum, 0);
    QVERIFY(!m.phi1 && !m.phi2);
    QVERIFY(onlyPcIncLit(el));
    QCOMPARE(el.image[kClosedBusSwitch].visible, programming);
    QCOMPARE(markedListing(el), (std::vector<int>{13, 14}));
    QCOMPARE(markedRamCells(el), std::vector<int>{35});
    for (int label : {2, 5, 9, 10, 12, 62, 63, 64, 66})
        QCOMPARE(el.label[label].caption, std::string("0"));
    for (int button : {8, 9, 10, 11}) QCOMPARE(el.button[button].caption, std::string("0"));
    QVERIFY(!el.timer[1].enabled && !el.timer[5].enabled);
    QVERIFY(el.edit17.visible);
    QCOMPARE(el.panel[6].colour, programming ? clLime : clMoneyGreen);
    QCOMPARE(el.panel[7].colour, programming ? clMoneyGreen : clLime);
    QCOMPARE(el.panel[1].colour, programming ? clCream : clAqua);
    QCOMPARE(el.panel[2].colour, programming ? clCream : clAqua);
    QCOMPARE(el.panel[2].inner, programming ? Bevel::None : Bevel::Raised);
    QCOMPARE(el.panel[4].colour, programming ? clAqua : clCream);
}

} // namespace

class Modes : public QObject {
    Q_OBJECT
private slots:
    void everyHandlerRespondsOnlyInItsMode_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("situation");
        for (int r = 0; r < int(std::size(kModeRules)); ++r)
            for (int s = 0; s < SituationCount; ++s)
                QTest::addRow("%s in %s", kModeRules[r].name, kSituationNames[s]) << r << s;
    }
    void everyHandlerRespondsOnlyInItsMode() {
        QFETCH(int, rule);
        QFETCH(int, situation);
        const ModeRule& r = kModeRules[rule];
        Simulator sim = inSituation(Situation(situation));
        const Simulator before = sim;
        (sim.*r.handler)();
        const bool responded =
            !(sim.model() == before.model()) || !(sim.elements() == before.elements());
        QCOMPARE(responded, bool(r.respondsIn & bitOf(Situation(situation))));
    }

    void dataSwitchesLightTheBusOnlyInProgrammingMode() {
        for (Situation s : {ProgrammingIdle, RunIdle}) {
            Simulator sim = inSituation(s);
            sim.Button8Click();
            QCOMPARE(sim.elements().button[8].caption, std::string("1"));
            QVERIFY(sim.elements().image[236].visible && sim.elements().image[255].visible);
            QCOMPARE(allShown(sim.elements(), kBusImages[3], true), s == ProgrammingIdle);
            QCOMPARE(sim.elements().label[12].caption,
                     std::string(s == ProgrammingIdle ? "1" : "0"));
        }
    }

    void programmingRightAfterStartUpChangesNothing() {
        Simulator sim;
        sim.Panel6Click();
        ElementState expected = ElementState::startup();
        expected.panel[7].outer = expected.panel[7].inner = Bevel::Raised; // stored as space
        for (int p : {3, 4, 5}) expected.panel[p].outer = expected.panel[p].inner = Bevel::Raised;
        QVERIFY(sim.elements() == expected);
        QVERIFY(sim.model() == ProcessorModel{});
    }

    void eitherResetLeavesTheStartingLookWhateverWasLit() {
        for (bool programming : {true, false}) {
            Simulator sim = inSituation(RunAutomatic);
            loadProgram(sim.model(), {0b0001, 7, 0b1011, 0b0101, 0b1000, 0});
            for (int i = 0; i < 40; ++i) {
                sim.Timer1Tick(0);
                if (sim.model().phi2 && sim.model().pcCount) break; // PC count lit
            }
            QVERIFY(sim.elements().image[214].visible);
            sim.Button9Click();
            programming ? sim.Panel6Click() : sim.Panel7Click();
            checkResetLook(sim, programming);
            QVERIFY(!sim.elements().image[235].visible); // switch back to 0
        }
    }

    void runModeRestartsAfterTheHalt() {
        Simulator sim = inSituation(RunHalted);
        QVERIFY(!sim.elements().edit17.visible);
        sim.Panel7Click();
        checkResetLook(sim, false);
        QCOMPARE(sim.elements().panel[1].inner, Bevel::Raised);
    }

    void programmingSoonAfterAPulseKeepsTheClockButtonsFlat() {
        Simulator sim = inSituation(RunPressed);
        sim.Panel6Click();
        QVERIFY(!sim.elements().timer[5].enabled); // the pending release is cancelled
        QCOMPARE(sim.elements().panel[1].colour, clCream);
        QCOMPARE(sim.elements().panel[2].colour, clCream);
    }

    void aProgramSurvivesEveryModeSwitch() {
        Simulator sim;
        sim.Button10Click();
        sim.Panel4Click();
        const ProcessorModel written = sim.model();
        sim.Panel7Click();
        pulses(sim, 9);
        sim.Panel7Click();
        sim.Panel6Click();
        QCOMPARE(sim.model().ram, written.ram);
        QCOMPARE(sim.model().ramText, written.ramText);
        QCOMPARE(sim.elements().label[35].caption, std::string("OO l O"));
    }
};

QTEST_APPLESS_MAIN(Modes)
#include "test_modes.moc"

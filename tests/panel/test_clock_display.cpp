// The clock pulse as the student sees it: the guard, the pressed look, the
// halt, and the diagram agreeing with the machine after every pulse.

#include <QtTest>
#include <random>

#include "tests/support/Machine.h"

using namespace procesor;
using namespace testing;

namespace {

constexpr std::initializer_list<int> kWorkedExample = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};

// Everything the diagram shows must follow from the machine.
QString disagreement(const Simulator& sim) {
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

class ClockDisplay : public QObject {
    Q_OBJECT
private slots:
    void refusedPulsesChangeNothing_data() {
        QTest::addColumn<int>("situation");
        QTest::newRow("at start-up") << 0;
        QTest::newRow("in programming mode after a run") << 1;
        QTest::newRow("while ručně is still pressed") << 2;
        QTest::newRow("after the halt") << 3;
    }
    void refusedPulsesChangeNothing() {
        QFETCH(int, situation);
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
        QVERIFY(sim.model() == model);
        QVERIFY(sim.elements() == el);
    }

    void anAcceptedPulsePressesTheClockButtonUntilTheRelease() {
        Simulator sim = runMode(kWorkedExample);
        sim.Panel1Click();
        const Panel& p = sim.elements().panel[1];
        QCOMPARE(p.colour, clTeal);
        QCOMPARE(p.outer, Bevel::Lowered);
        QCOMPARE(p.inner, Bevel::Lowered);
        QVERIFY(sim.elements().timer[5].enabled);
        sim.Panel1Click(); // within 300 ms: dropped
        QCOMPARE(sim.model().phi2, false);
        sim.Button1Click();
        QCOMPARE(sim.elements().panel[1].colour, clAqua);
        QCOMPARE(sim.elements().panel[1].inner, Bevel::Raised);
        QVERIFY(!sim.elements().timer[5].enabled);
        sim.Panel1Click();
        QCOMPARE(sim.model().phi2, true);
    }

    void theFirstPulseDecodesTheFetchFromAddressZero() {
        Simulator sim = runMode(kWorkedExample);
        pulse(sim);
        const ElementState& el = sim.elements();
        QCOMPARE(markedListing(el), (std::vector<int>{13, 15})); // NOP, line 0001
        QCOMPARE(el.label[kIrDigit].caption, std::string("1"));
        QCOMPARE(shownValue(el, kMicroaddressLines), 1);
        QVERIFY(allShown(el, kPhi1Images, true));
        QVERIFY(allShown(el, kPhi2Images, false));
        QCOMPARE(markedRamCells(el), std::vector<int>{35});
    }

    void theFirstThreePulsesOfTheWorkedExample() {
        Simulator sim = runMode(kWorkedExample);
        pulses(sim, 2); // phi2 of the fetch: IR loads 1 from the bus
        const ElementState& el = sim.elements();
        QVERIFY(allShown(el, std::array<int, 2>{64, 265}, true)); // IR load
        QVERIFY(allShown(el, kPhi2Images, true));
        QVERIFY(allShown(el, std::array<int, 4>{14, 15, 195, 198}, true)); // IR/W, RAM/R
        QVERIFY(allShown(el, kPcIncLine, false));
        QCOMPARE(busShown(el), 1);
        pulse(sim); // rest: phase and strobe lines go dark, control lines stay
        QVERIFY(allShown(el, std::array<int, 2>{64, 265}, false));
        QVERIFY(allShown(el, kPhi2Images, false));
        QVERIFY(allShown(el, kPhi1Images, false));
        QVERIFY(allShown(el, std::array<int, 4>{14, 15, 195, 198}, true));
        QCOMPARE(busShown(el), 1);
        QCOMPARE(el.label[64].caption, std::string("1"));
        QCOMPARE(el.label[12].caption, std::string("0"));
    }

    void theHaltDisablesTheRunControls() {
        Simulator sim = runMode(kWorkedExample);
        sim.Panel2Click(); // automatic clock on
        QVERIFY(sim.elements().timer[1].enabled);
        for (int i = 0; i < 34; ++i) sim.Timer1Tick(0);
        const ElementState& el = sim.elements();
        QCOMPARE(sim.model().ir, 15);
        QCOMPARE(sim.model().regA, 10);
        QVERIFY(!el.timer[1].enabled);
        QVERIFY(!el.timer[5].enabled);
        for (int p : {1, 2}) {
            QCOMPARE(el.panel[p].colour, clCream);
            QCOMPARE(el.panel[p].outer, Bevel::None);
            QCOMPARE(el.panel[p].inner, Bevel::None);
        }
        QVERIFY(!el.edit17.visible);
        QCOMPARE(markedListing(el), (std::vector<int>{29, 34}));
        QCOMPARE(shownValue(el, kMicroaddressLines), 15);
        QVERIFY(allShown(el, kPhi1Images, true));
        QVERIFY(disagreement(sim).isEmpty());
    }

    void aCountingMicrostepAtFifteenMarksCellZero() {
        Simulator sim;
        sim.model().ram.fill(0b1111);
        sim.Panel7Click();
        pulses(sim, 3 * (1 + 2 * 15));
        QCOMPARE(markedRamCells(sim.elements()), std::vector<int>{50});
        pulses(sim, 3);
        QCOMPARE(sim.model().pc, 0);
        QCOMPARE(markedRamCells(sim.elements()), std::vector<int>{35});
        QCOMPARE(shownValue(sim.elements(), kAddressLines), 0);
    }

    void theAdderCaptionShowsTheSumModuloSixteen() {
        Simulator sim = runMode({0b0001, 10, 0b1011, 0b0001, 8, 0b1110});
        pulses(sim, 300);
        QCOMPARE(sim.model().regA, 8);
        QCOMPARE(sim.model().regB, 10);
        QCOMPARE(sim.elements().label[kSumDigit].caption, std::string("2"));
    }

    void theDiagramFollowsTheMachineOnRandomPrograms() {
        std::mt19937 random(20261208);
        for (int program = 0; program < 300; ++program) {
            Simulator sim;
            for (int& w : sim.model().ram) w = static_cast<int>(random() % 16);
            sim.Panel7Click();
            for (int p = 0; p < 200 && sim.elements().panel[1].colour == clAqua; ++p) {
                pulse(sim);
                const QString why = disagreement(sim);
                QVERIFY2(why.isEmpty(),
                         qPrintable(
                             QString("program %1, pulse %2: %3").arg(program).arg(p + 1).arg(why)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(ClockDisplay)
#include "test_clock_display.moc"

// The AND gate companion: the truth table and the five strobes, checked against the
// machine's own gates.

#include <QtTest>

#include "companions/plimo/Gates.h"
#include "companions/vondrel/ControlUnit.h"
#include "model/Clock.h"
#include "model/Microprogram.h"

using namespace companion;

namespace {

// The strobes the machine formed, in the companion's gate order.
unsigned machineStrobes(const procesor::ProcessorModel& m) {
    const bool outputs[] = {m.irLoad, m.pcLoad, m.pcCount, m.aLoad, m.bLoad};
    unsigned mask = 0;
    for (unsigned gate = 0; gate < 5; ++gate)
        if (outputs[gate]) mask |= 1u << gate;
    return mask;
}

Phase phaseOf(const procesor::ProcessorModel& m) {
    if (!m.phi1) return Phase::Rest;
    return m.phi2 ? Phase::Phi2 : Phase::Phi1;
}

} // namespace

class GateCompanion : public QObject {
    Q_OBJECT
private slots:
    void truthTable_data() {
        QTest::addColumn<bool>("signal");
        QTest::addColumn<bool>("phi2");
        QTest::addColumn<bool>("strobe");
        QTest::newRow("0 0") << false << false << false;
        QTest::newRow("0 1") << false << true << false;
        QTest::newRow("1 0: signal without Phi2 loads nothing") << true << false << false;
        QTest::newRow("1 1: the strobe") << true << true << true;
    }
    void truthTable() {
        QFETCH(bool, signal);
        QFETCH(bool, phi2);
        QFETCH(bool, strobe);
        QCOMPARE(andGate(signal, phi2), strobe);
        // The row the window marks for these inputs shows the same inputs and output.
        const GateRow row =
            companion::truthTable()[static_cast<std::size_t>(truthRow(signal, phi2))];
        QCOMPARE(row.signal, signal);
        QCOMPARE(row.phi2, phi2);
        QCOMPARE(row.strobe, strobe);
    }

    // Each gate's caption names the signal its input really carries.
    void gatesNameTheirSignals() {
        const char* expected[] = {"IR/W", "PC/W", "PC/I", "A/W", "B/W"};
        for (std::size_t gate = 0; gate < kStrobeGates.size(); ++gate) {
            QCOMPARE(
                QString::fromUtf8(kStrobeGates[gate].signalName.data(),
                                  static_cast<qsizetype>(kStrobeGates[gate].signalName.size())),
                QString::fromLatin1(expected[gate]));
            const auto names = signalNames(kStrobeGates[gate].signal);
            QCOMPARE(names.size(), std::size_t{1});
            QCOMPARE(names.front(), kStrobeGates[gate].signalName);
        }
    }

    // Every microprogram line run through its three clock states in the machine: the
    // strobes the companion predicts are those the machine forms, and there are none
    // outside Phi2.
    void strobesMatchTheMachineOnEveryLine() {
        for (int line = 0; line < 15; ++line) { // line 15 halts at its Phi1
            procesor::ProcessorModel m;
            m.ir = (line + 15) % 16; // the next Phi1 counts on to `line`
            for (int pulse = 0; pulse < 3; ++pulse) {
                procesor::clockPulse(m);
                if (pulse == 0) QCOMPARE(m.ir, line);
                const unsigned controls =
                    procesor::kMicroprogram[static_cast<std::size_t>(line)].controls;
                const Phase phase = phaseOf(m);
                QCOMPARE(strobes(controls, phase), machineStrobes(m));
                if (phase != Phase::Phi2) QCOMPARE(strobes(controls, phase), 0u);
            }
        }
    }

    void aWriteLinesStrobeAOnlyInPhi2() {
        // LDA's RAM/R-A/W and ADD's ADD/R-A/W; A's gate is the fourth.
        for (int line : {3, 6}) {
            const unsigned controls =
                procesor::kMicroprogram[static_cast<std::size_t>(line)].controls;
            QCOMPARE(strobes(controls, Phase::Rest), 0u);
            QCOMPARE(strobes(controls, Phase::Phi1), 0u);
            QCOMPARE(strobes(controls, Phase::Phi2), 1u << 3);
        }
    }
};

QTEST_APPLESS_MAIN(GateCompanion)
#include "test_companion_gates.moc"

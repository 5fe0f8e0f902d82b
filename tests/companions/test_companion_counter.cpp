// The counting register companion (IR and PC): load from the bus, count up, wrap.

#include <QtTest>

#include "companions/sarvek/Counter.h"
#include "model/Clock.h"

using namespace companion;

Q_DECLARE_METATYPE(companion::CounterRole)
Q_DECLARE_METATYPE(companion::Phase)

class CounterCompanion : public QObject {
    Q_OBJECT
private slots:
    void actionInEachClockState_data() {
        QTest::addColumn<CounterRole>("role");
        QTest::addColumn<Phase>("entered");
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("countSignal");
        QTest::addColumn<bool>("load");
        QTest::addColumn<bool>("count");
        const auto ir = CounterRole::InstructionRegister;
        const auto pc = CounterRole::ProgramCounter;
        QTest::newRow("IR counts on entering Phi1")
            << ir << Phase::Phi1 << false << false << false << true;
        QTest::newRow("IR/W does not load in Phi1")
            << ir << Phase::Phi1 << true << false << false << true;
        QTest::newRow("IR/W loads in Phi2") << ir << Phase::Phi2 << true << false << true << false;
        QTest::newRow("IR holds in Phi2 without IR/W")
            << ir << Phase::Phi2 << false << false << false << false;
        QTest::newRow("IR ignores PC/I") << ir << Phase::Phi2 << false << true << false << false;
        QTest::newRow("IR holds at rest") << ir << Phase::Rest << true << true << false << false;
        QTest::newRow("PC/I counts in Phi2") << pc << Phase::Phi2 << false << true << false << true;
        QTest::newRow("PC/W loads in Phi2") << pc << Phase::Phi2 << true << false << true << false;
        QTest::newRow("PC load then count") << pc << Phase::Phi2 << true << true << true << true;
        QTest::newRow("PC does nothing in Phi1")
            << pc << Phase::Phi1 << true << true << false << false;
        QTest::newRow("PC does nothing at rest")
            << pc << Phase::Rest << true << true << false << false;
    }
    void actionInEachClockState() {
        QFETCH(CounterRole, role);
        QFETCH(Phase, entered);
        QFETCH(bool, write);
        QFETCH(bool, countSignal);
        QFETCH(bool, load);
        QFETCH(bool, count);
        const CounterAction action = counterAction(role, entered, write, countSignal);
        QCOMPARE(action.load, load);
        QCOMPARE(action.count, count);
    }

    void nextValue_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("bus");
        QTest::addColumn<bool>("load");
        QTest::addColumn<bool>("count");
        QTest::addColumn<int>("next");
        QTest::newRow("count 7") << 7 << 0 << false << true << 8;
        QTest::newRow("count wraps 15 to 0") << 15 << 3 << false << true << 0;
        QTest::newRow("load takes the bus") << 4 << 9 << true << false << 9;
        QTest::newRow("load 0") << 12 << 0 << true << false << 0;
        QTest::newRow("load first, then count") << 2 << 9 << true << true << 10;
        QTest::newRow("loaded 15 counts to 0") << 2 << 15 << true << true << 0;
        QTest::newRow("no strobe keeps the value") << 6 << 9 << false << false << 6;
    }
    void nextValue() {
        QFETCH(int, value);
        QFETCH(int, bus);
        QFETCH(bool, load);
        QFETCH(bool, count);
        QFETCH(int, next);
        QCOMPARE(counterNext(value, bus, CounterAction{load, count}), next);
    }

    void countingUpWrapsOnlyFrom15() {
        CountingRegister r(14);
        QVERIFY(!r.countUp());
        QCOMPARE(r.value(), 15);
        QVERIFY(r.countUp());
        QCOMPARE(r.value(), 0);
        for (int i = 0; i < 16; ++i) r.countUp();
        QCOMPARE(r.value(), 0);
        r.load(21); // the bus is four lines wide
        QCOMPARE(r.value(), 5);
    }

    // The companion's counters clocked side by side with the machine, pulse by pulse,
    // over a program that jumps, counts PC from 15 round to 0 and fetches again.
    void agreesWithTheMachine() {
        procesor::ProcessorModel m;
        m.ram[0] = 0b1000; // JMP 15
        m.ram[1] = 15;
        m.ram[15] = 0b1111; // NOP: PC 15 -> 0, then the JMP again
        CountingRegister pc(m.pc), ir(m.ir);
        Phase phase = Phase::Rest;
        int wraps = 0, loads = 0;
        for (int pulse = 0; pulse < 3 * 20; ++pulse) {
            procesor::clockPulse(m);
            phase = nextPhase(phase);
            const int pcBefore = pc.value();
            // The signals are those the machine decoded on entering Phi1.
            if (pc.pulse(CounterRole::ProgramCounter, phase, m.pcWrite, m.pcInc, m.bus).load)
                ++loads;
            if (ir.pulse(CounterRole::InstructionRegister, phase, m.irWrite, m.pcInc, m.bus).load)
                ++loads;
            QCOMPARE(pc.value(), m.pc);
            QCOMPARE(ir.value(), m.ir);
            if (pcBefore == 15 && pc.value() == 0) ++wraps;
        }
        QVERIFY(wraps >= 2);
        QVERIFY(loads >= 6);
    }
};

QTEST_APPLESS_MAIN(CounterCompanion)
#include "test_companion_counter.moc"

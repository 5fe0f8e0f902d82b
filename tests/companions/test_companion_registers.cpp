// The register companions (A and B): the bus is taken only with the write signal in
// Phi2, A drives the bus with A/R, B never does.

#include <QtTest>

#include "companions/tamrel/DataRegister.h"

using namespace companion;

Q_DECLARE_METATYPE(companion::Phase)

class RegisterCompanion : public QObject {
    Q_OBJECT
private slots:
    void loadsOnlyWithWriteSignalInPhi2_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<Phase>("entered");
        QTest::addColumn<int>("next");
        // value 3, bus 12
        QTest::newRow("write, Phi2: loads") << true << Phase::Phi2 << 12;
        QTest::newRow("write, Phi1: holds") << true << Phase::Phi1 << 3;
        QTest::newRow("write, rest: holds") << true << Phase::Rest << 3;
        QTest::newRow("no write, Phi2: holds") << false << Phase::Phi2 << 3;
        QTest::newRow("no write, Phi1: holds") << false << Phase::Phi1 << 3;
    }
    void loadsOnlyWithWriteSignalInPhi2() {
        QFETCH(bool, write);
        QFETCH(Phase, entered);
        QFETCH(int, next);
        QCOMPARE(registerNext(3, 12, write, entered), next);
    }

    void onlyAReachesTheBus() {
        QCOMPARE(busDrive(RegisterName::A, true, 9), std::optional<int>(9));
        QCOMPARE(busDrive(RegisterName::A, false, 9), std::nullopt);
        QCOMPARE(busDrive(RegisterName::B, true, 9), std::nullopt);
        QCOMPARE(busDrive(RegisterName::B, false, 9), std::nullopt);
    }

    // The lines the windows name: A/W in LDA and ADD, B/W and A/R only in MOV.
    void microprogramLinesUsingTheRegisters() {
        QCOMPARE(linesWriting(RegisterName::A), (std::vector<int>{3, 6}));
        QCOMPARE(linesWriting(RegisterName::B), (std::vector<int>{12}));
        QCOMPARE(linesReading(RegisterName::A), (std::vector<int>{12}));
        QVERIFY(linesReading(RegisterName::B).empty());
    }

    void aMicrostepLoadsAtItsPhi2() {
        DataRegister a(RegisterName::A);
        QVERIFY(!a.pulse(5, true)); // Phi1: the bus is still settling
        QCOMPARE(a.phase(), Phase::Phi1);
        QCOMPARE(a.value(), 0);
        QVERIFY(!a.strobe());
        QVERIFY(a.pulse(5, true)); // Phi2: the strobe
        QVERIFY(a.strobe());
        QCOMPARE(a.value(), 5);
        QVERIFY(!a.pulse(9, true)); // rest: the strobe is over, the bus no longer taken
        QVERIFY(!a.strobe());
        QCOMPARE(a.value(), 5);
        QCOMPARE(a.phase(), Phase::Rest);
    }

    void withoutWriteSignalNothingLoads() {
        DataRegister b(RegisterName::B);
        for (int pulse = 0; pulse < 6; ++pulse) QVERIFY(!b.pulse(7, false));
        QCOMPARE(b.value(), 0);
    }

    // Switching the write signal on between pulses: the gate output rises at once in
    // Phi2 and the register takes the bus then, once; in Phi1 nothing happens.
    void writeSignalSwitchedBetweenPulses() {
        DataRegister a(RegisterName::A);
        a.pulse(4, false); // Phi1
        QVERIFY(!a.setWriteSignal(true, 4));
        QCOMPARE(a.value(), 0);
        QVERIFY(!a.setWriteSignal(false, 4));
        a.pulse(4, false); // Phi2, no strobe yet
        QCOMPARE(a.value(), 0);
        QVERIFY(a.setWriteSignal(true, 4));
        QCOMPARE(a.value(), 4);
        QVERIFY(a.strobe());
        QVERIFY(!a.setWriteSignal(true, 11)); // already high: no second load
        QCOMPARE(a.value(), 4);
        QVERIFY(!a.setWriteSignal(false, 11));
        QVERIFY(!a.strobe());
        QCOMPARE(a.value(), 4);
    }

    void resetClearsValueAndClock() {
        DataRegister a(RegisterName::A);
        a.pulse(6, true);
        a.pulse(6, true);
        a.reset();
        QCOMPARE(a.value(), 0);
        QCOMPARE(a.phase(), Phase::Rest);
        QVERIFY(!a.strobe());
    }
};

QTEST_APPLESS_MAIN(RegisterCompanion)
#include "test_companion_registers.moc"

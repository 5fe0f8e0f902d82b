// The machine on its own: word texts, the microprogram and the clock pulse.

#include <QtTest>

#include "model/Clock.h"
#include "tests/support/Machine.h"
#include "model/Microprogram.h"
#include "model/WordText.h"

using namespace procesor;

namespace {

// LDA 5; MOV; ADD; HLT
constexpr std::initializer_list<int> kWorkedExample = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};

struct Expected {
    int pc, ir, bus, regA, regB, sum;
};

// The worked example, after every one of its 34 pulses (three per microstep:
// phi1 drives the bus, phi2 loads, rest keeps).
constexpr Expected kAfterPulse[34] = {
    {0, 1, 1, 0, 0, 0},     {0, 1, 1, 0, 0, 0},     {0, 1, 1, 0, 0, 0},     // fetch LDA
    {0, 2, 1, 0, 0, 0},     {1, 2, 1, 0, 0, 0},     {1, 2, 1, 0, 0, 0},     // PC/I
    {1, 3, 5, 0, 0, 0},     {1, 3, 5, 5, 0, 5},     {1, 3, 5, 5, 0, 5},     // A := 5
    {1, 4, 5, 5, 0, 5},     {2, 4, 5, 5, 0, 5},     {2, 4, 5, 5, 0, 5},     // PC/I
    {2, 5, 11, 5, 0, 5},    {2, 11, 11, 5, 0, 5},   {2, 11, 11, 5, 0, 5},   // fetch MOV
    {2, 12, 5, 5, 0, 5},    {2, 12, 5, 5, 5, 10},   {2, 12, 5, 5, 5, 10},   // B := A
    {2, 13, 5, 5, 5, 10},   {3, 13, 5, 5, 5, 10},   {3, 13, 5, 5, 5, 10},   // PC/I
    {3, 14, 5, 5, 5, 10},   {3, 5, 5, 5, 5, 10},    {3, 5, 5, 5, 5, 10},    // fetch ADD
    {3, 6, 10, 5, 5, 10},   {3, 6, 10, 10, 5, 15},  {3, 6, 10, 10, 5, 15},  // A := A + B
    {3, 7, 10, 10, 5, 15},  {4, 7, 10, 10, 5, 15},  {4, 7, 10, 10, 5, 15},  // PC/I
    {4, 8, 14, 10, 5, 15},  {4, 14, 14, 10, 5, 15}, {4, 14, 14, 10, 5, 15}, // fetch HLT
    {4, 15, 14, 10, 5, 15},                                                 // halt
};

ProcessorModel machineWith(std::initializer_list<int> words) {
    ProcessorModel m;
    testing::loadProgram(m, words);
    return m;
}

// Runs whole microsteps (three pulses each).
void microsteps(ProcessorModel& m, int count) {
    for (int i = 0; i < 3 * count; ++i) clockPulse(m);
}

} // namespace

class ClockPulse : public QObject {
    Q_OBJECT
private slots:
    void wordTextsOfAllWords_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "OOOO";
        QTest::newRow("3") << 3 << "OO l  l ";
        QTest::newRow("5") << 5 << "O l O l ";
        QTest::newRow("7") << 7 << "O l  l  l ";
        QTest::newRow("8") << 8 << " l OOO";
        QTest::newRow("11") << 11 << " l O l  l ";
        QTest::newRow("12") << 12 << " l  l OO";
        QTest::newRow("15") << 15 << " l  l  l  l ";
    }
    void wordTextsOfAllWords() {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(wordText(value)), text);
    }

    void aNewMachineIsAllZeroWithBlankCells() {
        const ProcessorModel m;
        QCOMPARE(m.ram, (std::array<int, 16>{}));
        for (const std::string& t : m.ramText) QCOMPARE(t, std::string(11, ' '));
        QVERIFY(wordText(0) != m.ramText[0]); // a written 0 differs from a never-written cell
    }

    void everyRoutineStartsOneAfterItsOpcodeAndEndsWithTheFetch() {
        for (const Instruction& i : kInstructions) {
            const int first = (i.opcode + 1) % 16;
            QCOMPARE(kMicroprogram[first].instructionLabel, i.label);
            if (i.mnemonic == "HLT") continue;
            int last = first;
            while (last + 1 < 16 && kMicroprogram[last + 1].instructionLabel == i.label) ++last;
            QCOMPARE(kMicroprogram[last].controls, unsigned{RamRead | IrWrite});
        }
    }

    void workedExamplePulseByPulse() {
        ProcessorModel m = machineWith(kWorkedExample);
        for (int p = 0; p < 34; ++p) {
            const PulseOutcome out = clockPulse(m);
            const Expected& e = kAfterPulse[p];
            const QByteArray where = "after pulse " + QByteArray::number(p + 1);
            QVERIFY2(m.pc == e.pc && m.ir == e.ir && m.bus == e.bus && m.regA == e.regA &&
                         m.regB == e.regB && m.sum == e.sum,
                     where + QByteArray(": pc ir bus A B sum = ") + QByteArray::number(m.pc) + " " +
                         QByteArray::number(m.ir) + " " + QByteArray::number(m.bus) + " " +
                         QByteArray::number(m.regA) + " " + QByteArray::number(m.regB) + " " +
                         QByteArray::number(m.sum));
            QCOMPARE(out.decoded, p % 3 == 0);
            QCOMPARE(out.halted, p == 33);
        }
        QVERIFY(m.phi1 && !m.phi2); // halted in the phi1 state
    }

    void opcodeZeroFetchesTheSameWordForever() {
        ProcessorModel m = machineWith({0b0000, 0b0001, 7});
        for (int step = 0; step < 20; ++step) {
            microsteps(m, 1);
            QCOMPARE(m.ir, 0);
            QCOMPARE(m.pc, 0);
        }
    }

    void anUnlistedOpcodeRunsOnFromTheMiddleOfARoutine() {
        // 0010 enters at line 3, RAM/R-A/W: A takes the opcode word itself.
        ProcessorModel m = machineWith({0b0010});
        microsteps(m, 2);
        QCOMPARE(m.ir, 3);
        QCOMPARE(m.regA, 2);
    }

    void aJumpToItselfRepeatsForever() {
        ProcessorModel m = machineWith({0b1111, 0b1000, 1}); // NOP; JMP 1
        microsteps(m, 1 + 2);                                // fetch NOP, then its two lines
        for (int round = 0; round < 5; ++round) {
            microsteps(m, 3);
            QCOMPARE(m.pc, 1);
            QCOMPARE(m.ir, 8); // fetched JMP again
        }
    }

    void theProgramCounterWrapsAfterFifteen() {
        ProcessorModel m;
        m.ram.fill(0b1111); // NOPs everywhere
        microsteps(m, 1 + 2 * 15);
        QCOMPARE(m.pc, 15);
        microsteps(m, 1); // PC/I at 15
        QCOMPARE(m.pc, 0);
        QCOMPARE(m.ir, 0);
    }

    void theAdderWorksModuloSixteen() {
        ProcessorModel m = machineWith({0b0001, 10, 0b1011, 0b0001, 8, 0b0101, 0b1110});
        // LDA 10; MOV; LDA 8; ADD -> A = 18 mod 16
        for (int i = 0; i < 200 && m.ir != kHaltLine; ++i) clockPulse(m);
        QCOMPARE(m.regB, 10);
        QCOMPARE(m.regA, 2);
    }

    void aCountingMicrostepKeepsTheBus() {
        ProcessorModel m = machineWith({0b0001, 9});
        microsteps(m, 1);
        QCOMPARE(m.bus, 1);
        for (int i = 0; i < 3; ++i) {
            clockPulse(m); // line 2, PC/I
            QCOMPARE(m.bus, 1);
            QVERIFY(m.busBit0 && !m.busBit1 && !m.busBit2 && !m.busBit3);
        }
    }

    void enteringAModeKeepsRamBusAndSignals() {
        ProcessorModel m = machineWith(kWorkedExample);
        for (int p = 0; p < 17; ++p) clockPulse(m);
        ProcessorModel expected = m;
        expected.pc = expected.ir = expected.regA = expected.regB = expected.sum = 0;
        expected.phi1 = expected.phi2 = false;
        QVERIFY(m.phi2 && m.bLoad); // entered in the middle of MOV's phi2
        expected.bLoad = false;
        resetForMode(m);
        QVERIFY(m == expected);
        resetForMode(m);
        QVERIFY(m == expected);
    }
};

QTEST_APPLESS_MAIN(ClockPulse)
#include "test_clock_pulse.moc"

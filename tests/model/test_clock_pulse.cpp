// The machine on its own: word texts, the microprogram and the clock pulse.

#include "model/Clock.h"
#include "model/Microprogram.h"
#include "model/Signals.h"
#include "model/WordText.h"
#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

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

TEST_CASE(wordTextsOfAllWords) {
    const std::pair<int, const char*> texts[] = {
        {0, "OOOO"},   {3, "OO l  l "},    {5, "O l O l "},  {7, "O l  l  l "},
        {8, " l OOO"}, {11, " l O l  l "}, {12, " l  l OO"}, {15, " l  l  l  l "}};
    for (auto [value, text] : texts) {
        CONTEXT("word " + std::to_string(value));
        CHECK_EQ(wordText(value), text);
    }
}

TEST_CASE(aNewMachineIsAllZeroWithBlankCells) {
    const ProcessorModel m;
    CHECK_EQ(m.ram, (std::array<int, 16>{}));
    for (const std::string& t : m.ramText) CHECK_EQ(t, std::string(11, ' '));
    CHECK(wordText(0) != m.ramText[0]); // a written 0 differs from a never-written cell
}

TEST_CASE(everyRoutineStartsOneAfterItsOpcodeAndEndsWithTheFetch) {
    for (const Instruction& i : kInstructions) {
        CONTEXT(std::string(i.mnemonic));
        const int first = (i.opcode + 1) % 16;
        CHECK_EQ(kMicroprogram[first].instructionLabel, i.label);
        if (i.mnemonic == "HLT") continue;
        int last = first;
        while (last + 1 < 16 && kMicroprogram[last + 1].instructionLabel == i.label) ++last;
        CHECK_EQ(kMicroprogram[last].controls, unsigned{RamRead | IrWrite});
    }
}

TEST_CASE(workedExamplePulseByPulse) {
    ProcessorModel m = machineWith(kWorkedExample);
    for (int p = 0; p < 34; ++p) {
        CONTEXT("after pulse " + std::to_string(p + 1));
        const PulseOutcome out = clockPulse(m);
        const Expected& e = kAfterPulse[p];
        REQUIRE_EQ((std::array{m.pc, m.ir, m.bus, m.regA, m.regB, m.sum}), // pc ir bus A B sum
                   (std::array{e.pc, e.ir, e.bus, e.regA, e.regB, e.sum}));
        CHECK_EQ(out.decoded, p % 3 == 0);
        CHECK_EQ(out.halted, p == 33);
    }
    CHECK(m.phi1 && !m.phi2); // halted in the phi1 state
}

TEST_CASE(opcodeZeroFetchesTheSameWordForever) {
    ProcessorModel m = machineWith({0b0000, 0b0001, 7});
    for (int step = 0; step < 20; ++step) {
        microsteps(m, 1);
        CHECK_EQ(m.ir, 0);
        CHECK_EQ(m.pc, 0);
    }
}

TEST_CASE(anUnlistedOpcodeRunsOnFromTheMiddleOfARoutine) {
    // 0010 enters at line 3, RAM/R-A/W: A takes the opcode word itself.
    ProcessorModel m = machineWith({0b0010});
    microsteps(m, 2);
    CHECK_EQ(m.ir, 3);
    CHECK_EQ(m.regA, 2);
}

TEST_CASE(aJumpToItselfRepeatsForever) {
    ProcessorModel m = machineWith({0b1111, 0b1000, 1}); // NOP; JMP 1
    microsteps(m, 1 + 2);                                // fetch NOP, then its two lines
    for (int round = 0; round < 5; ++round) {
        microsteps(m, 3);
        CHECK_EQ(m.pc, 1);
        CHECK_EQ(m.ir, 8); // fetched JMP again
    }
}

TEST_CASE(theProgramCounterWrapsAfterFifteen) {
    ProcessorModel m;
    m.ram.fill(0b1111); // NOPs everywhere
    microsteps(m, 1 + 2 * 15);
    CHECK_EQ(m.pc, 15);
    microsteps(m, 1); // PC/I at 15
    CHECK_EQ(m.pc, 0);
    CHECK_EQ(m.ir, 0);
}

TEST_CASE(theAdderWorksModuloSixteen) {
    ProcessorModel m = machineWith({0b0001, 10, 0b1011, 0b0001, 8, 0b0101, 0b1110});
    // LDA 10; MOV; LDA 8; ADD -> A = 18 mod 16
    for (int i = 0; i < 200 && m.ir != kHaltLine; ++i) clockPulse(m);
    CHECK_EQ(m.regB, 10);
    CHECK_EQ(m.regA, 2);
}

TEST_CASE(aCountingMicrostepKeepsTheBus) {
    ProcessorModel m = machineWith({0b0001, 9});
    microsteps(m, 1);
    CHECK_EQ(m.bus, 1);
    for (int i = 0; i < 3; ++i) {
        clockPulse(m); // line 2, PC/I
        CHECK_EQ(m.bus, 1);
        CHECK(m.busBit0 && !m.busBit1 && !m.busBit2 && !m.busBit3);
    }
}

TEST_CASE(enteringAModeKeepsRamBusAndSignals) {
    ProcessorModel m = machineWith(kWorkedExample);
    for (int p = 0; p < 17; ++p) clockPulse(m);
    ProcessorModel expected = m;
    expected.pc = expected.ir = expected.regA = expected.regB = expected.sum = 0;
    expected.phi1 = expected.phi2 = false;
    CHECK(m.phi2 && m.bLoad); // entered in the middle of MOV's phi2
    expected.bLoad = false;
    resetForMode(m);
    CHECK(m == expected);
    resetForMode(m);
    CHECK(m == expected);
}

// The listing's control signals, as the diagram names them, line by line.
constexpr std::string_view kSignalsOfLine[16] = {
    "PC/I",       "RAM/R, IR/W", "PC/I",        "RAM/R, A/W", "PC/I",        "RAM/R, IR/W",
    "ADD/R, A/W", "PC/I",        "RAM/R, IR/W", "PC/I",       "RAM/R, PC/W", "RAM/R, IR/W",
    "A/R, B/W",   "PC/I",        "RAM/R, IR/W", "",
};

TEST_CASE(eachLineTurnsOnTheSignalsItNames) {
    for (int line = 0; line < 16; ++line) {
        CONTEXT("line " + std::to_string(line));
        ProcessorModel m;
        decodeLine(m, line);
        std::string named;
        for (const ControlSignal& s : kControlSignals) {
            CHECK_EQ(signalOn(m, s.bit), m.*s.held);
            CHECK_EQ(signalName(s.bit), s.name);
            if (!signalOn(m, s.bit)) continue;
            if (!named.empty()) named += ", ";
            named += s.name;
        }
        CHECK_EQ(named, std::string(kSignalsOfLine[line]));
    }
    CHECK_EQ(signalName(RamRead | IrWrite), std::string_view());
}

TEST_CASE(theFiveGatesPassTheirSignalOnlyInPhi2) {
    for (int line = 0; line < 16; ++line)
        for (bool phi2 : {false, true}) {
            CONTEXT("line " + std::to_string(line) + (phi2 ? ", phi2" : ", phi1"));
            ProcessorModel m;
            m.phi1 = true;
            m.phi2 = phi2;
            decodeLine(m, line);
            formStrobes(m);
            CHECK_EQ(m.bLoad, m.bWrite && phi2);
            CHECK_EQ(m.aLoad, m.aWrite && phi2);
            CHECK_EQ(m.pcLoad, m.pcWrite && phi2);
            CHECK_EQ(m.irLoad, m.irWrite && phi2);
            CHECK_EQ(m.pcCount, m.pcInc && phi2);
            // The sources (/R) go through no gate.
            for (const ControlSignal& s : kControlSignals)
                CHECK_EQ(strobeOn(m, s.bit), !s.name.ends_with("/R") && m.*s.held && phi2);
        }
}

PLAIN_TEST_MAIN()

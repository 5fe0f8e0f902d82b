// The checked run of a task against runs of the machine: the worked example's values
// pulse by pulse, every kind of check, the limit, programs that never halt, the run
// started as "provoz" starts it, the ten tasks of examples/ulohy with a right and a
// wrong solution each, and result codes.

#include <cstdio>
#include <string>
#include <vector>

#include "model/CheckedRun.h"
#include "model/ResultCode.h"
#include "panel/Simulator.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

using Ram = std::array<int, kProgramWords>;

// The worked example: LDA 5; MOV; ADD; HLT.
const Ram kExample = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};

Task task(const std::string& text) {
    const ParsedTask p = parseTask(text);
    if (!p.ok()) FAIL(taskErrorMessage(p.error));
    return p.task;
}

std::vector<bool> verdicts(const CheckedRun& run) {
    std::vector<bool> v;
    for (const CheckOutcome& o : run.outcomes) v.push_back(o.passed);
    return v;
}

// The values after the Φ2 pulse of each microstep of the worked example, and the halt.
struct Row {
    int pulse, pc, ir, bus, a, b, sum;
};
constexpr Row kWorkedExample[] = {
    {3, 0, 1, 1, 0, 0, 0},     {6, 1, 2, 1, 0, 0, 0},      {9, 1, 3, 5, 5, 0, 5},
    {12, 2, 4, 5, 5, 0, 5},    {15, 2, 11, 11, 5, 0, 5},   {18, 2, 12, 5, 5, 5, 10},
    {21, 3, 13, 5, 5, 5, 10},  {24, 3, 5, 5, 5, 5, 10},    {27, 3, 6, 10, 10, 5, 15},
    {30, 4, 7, 10, 10, 5, 15}, {33, 4, 14, 14, 10, 5, 15}, {34, 4, 15, 14, 10, 5, 15},
};

TEST_CASE(checksAfterAPulseReadTheMachineThen) {
    for (const Row& r : kWorkedExample) {
        CONTEXT("pulse " + std::to_string(r.pulse));
        const std::string after = "po taktu " + std::to_string(r.pulse) + ": ";
        const Task t = task("název: x\n" + after + "PČ = " + std::to_string(r.pc) + "\n" + after +
                            "IR = " + std::to_string(r.ir) + "\n" + after + "sběrnice = " +
                            std::to_string(r.bus) + "\n" + after + "A = " + std::to_string(r.a) +
                            "\n" + after + "B = " + std::to_string(r.b) + "\n" + after +
                            "součet = " + std::to_string(r.sum) + "\n");
        const CheckedRun run = runTask(t, kExample);
        CHECK_EQ(verdicts(run), std::vector<bool>(6, true));
        if (const CheckOutcome* f = run.firstFailure()) FAIL(f->sentence);
    }
    // Registers load on the Φ2 pulse, the second of a microstep: LDA's A is still 0
    // after pulse 7 and 5 after pulse 8; PC counts to 2 on pulse 11.
    const Task edges = task("název: x\npo taktu 7: A = 0\npo taktu 8: A = 5\n"
                            "po taktu 10: PČ = 1\npo taktu 11: PČ = 1\npo taktu 7: sběrnice = 5");
    CHECK_EQ(verdicts(runTask(edges, kExample)),
             (std::vector<bool>{true, true, true, false, true}));
}

TEST_CASE(everyKindOfCheckAtTheEnd) {
    const Task t = task("název: x\n"
                        "očekávám: zastaveno\n"
                        "očekávám: A = 10\n"
                        "očekávám: B = 0101\n"
                        "očekávám: PC = 4\n"
                        "očekávám: IR = 15\n"
                        "očekávám: součet = 15\n"
                        "očekávám: sběrnice = 1110\n"
                        "očekávám: RAM[2] = 1011\n"
                        "očekávám: RAM[5] = 0\n");
    const CheckedRun run = runTask(t, kExample);
    CHECK(run.halted);
    CHECK_EQ(run.pulses, 34);
    CHECK(run.passed());
    CHECK_EQ(run.outcomes.front().sentence, "program se zastavil po 34 taktech");
    CHECK_EQ(run.outcomes[1].sentence, "A je 10");
    CHECK_EQ(run.outcomes[1].line, 3);

    // Each expected value one off fails, with its sentence; the others still pass.
    const Task wrong = task("název: x\n"
                            "očekávám: A = 11\n"
                            "očekávám: B = 4\n"
                            "očekávám: PČ = 5\n"
                            "očekávám: IR = 14\n"
                            "očekávám: součet = 14\n"
                            "očekávám: sběrnice = 15\n"
                            "očekávám: RAM[2] = 1010\n"
                            "po taktu 9: A = 4\n"
                            "očekávám: A = 10\n");
    const CheckedRun bad = runTask(wrong, kExample);
    const std::vector<std::string> sentences = {
        "A je 10, očekáváno 11",
        "B je 5, očekáváno 4",
        "PČ je 4, očekáváno 5",
        "IR je 15, očekáváno 14",
        "součet je 15, očekáváno 14",
        "sběrnice je 14, očekáváno 15",
        "RAM[2] je 11, očekáváno 10",
        "po 9. taktu A je 5, očekáváno 4",
        "A je 10",
    };
    REQUIRE_EQ(bad.outcomes.size(), sentences.size());
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        CHECK_EQ(bad.outcomes[i].sentence, sentences[i]);
        CHECK_EQ(bad.outcomes[i].passed, i + 1 == sentences.size());
    }
    CHECK_EQ(bad.firstFailure()->sentence, "A je 10, očekáváno 11");
}

TEST_CASE(theLimitAndProgramsThatNeverHalt) {
    // 0000 fetched as an opcode fetches the same word for ever; a JMP to its own
    // address repeats for ever: both run to the limit and are read there.
    const Ram zeros{};
    const Ram jumpToItself = {0b1000, 0b0000};
    for (const Ram& ram : {zeros, jumpToItself}) {
        const CheckedRun run = runTask(task("název: x\nnejvýše taktů: 500\n"
                                            "očekávám: zastaveno\nočekávám: A = 0\n"),
                                       ram);
        CHECK(!run.halted);
        CHECK_EQ(run.pulses, 500);
        CHECK_EQ(verdicts(run), (std::vector<bool>{false, true}));
        CHECK_EQ(run.outcomes.front().sentence, "program se nezastavil ani po 500 taktech");
    }
    CHECK_EQ(runTask(task("název: x\nočekávám: A = 0"), zeros).pulses, 1000);
    // The worked example needs 34 pulses: with 33 it is stopped just before its halt.
    const CheckedRun cut = runTask(task("název: x\nnejvýše taktů: 33\n"
                                        "očekávám: zastaveno\nočekávám: IR = 14"),
                                   kExample);
    CHECK_EQ(verdicts(cut), (std::vector<bool>{false, true}));
    CHECK_EQ(runTask(task("název: x\nnejvýše taktů: 34\nočekávám: zastaveno"), kExample).pulses,
             34);
    // A check after a pulse the halted machine never took reads it as it stopped.
    CHECK(runTask(task("název: x\npo taktu 900: A = 10"), kExample).passed());
    // An unknown opcode enters the microprogram at (opcode + 1) mod 16: 0010 loads A
    // with itself.
    CHECK(runTask(task("název: x\nnejvýše taktů: 9\nočekávám: A = 2"), Ram{0b0010}).passed());
    // The adder wraps: 10 + 8 = 2.
    CHECK(
        runTask(task("název: x\nočekávám: součet = 2"), Ram{0b0001, 10, 0b1011, 0b0001, 8, 0b1110})
            .passed());
}

TEST_CASE(theTasksProgramRunsInsteadOfTheStudents) {
    const Task t = task("název: x\nprogram: 0001 0101 1011 0101 1110\nočekávám: A = 10");
    CHECK(runTask(t, Ram{}).passed());
    CHECK(runTask(t, Ram{0b0001, 3, 0b1110}).passed());
    CHECK(!runTask(task("název: x\nočekávám: A = 10"), Ram{0b0001, 3, 0b1110}).passed());
}

TEST_CASE(predictionsAreCheckedOnlyWhenKnown) {
    const Task t = task("název: x\npředpovědí: 3\nočekávám: A = 10");
    CHECK_EQ(runTask(t, kExample).outcomes.size(), 1u); // the command line knows none
    CHECK(runTask(t, kExample, 3).passed());
    const CheckedRun two = runTask(t, kExample, 2);
    CHECK(!two.passed());
    CHECK_EQ(two.firstFailure()->sentence, "správných předpovědí v řadě: 2, potřeba 3");
}

TEST_CASE(theRunStartsAsProvozStartsIt) {
    // Whatever the window's machine was doing, the checked run goes as the handlers
    // go after "provoz": the same values after every pulse, up to the halt.
    Simulator sim;
    sim.loadProgram("0001 0101 1011 1000 0010"); // LDA 5; MOV; JMP 2: never halts
    sim.Panel7Click();
    for (int i = 0; i < 7; ++i) {
        sim.Panel1Click();
        sim.Button1Click();
    }
    const ProcessorModel before = sim.model();
    sim.Panel7Click();
    const ProcessorModel m = runStart(sim.model().ram);
    CHECK((std::array{m.pc, m.ir, m.regA, m.regB, m.sum, int(m.phi1), int(m.phi2)} ==
           std::array{sim.model().pc, sim.model().ir, sim.model().regA, sim.model().regB,
                      sim.model().sum, int(sim.model().phi1), int(sim.model().phi2)}));
    for (int pulse = 1; pulse <= 60; ++pulse) {
        CONTEXT("pulse " + std::to_string(pulse));
        sim.Panel1Click();
        sim.Button1Click();
        const std::string after = "po taktu " + std::to_string(pulse) + ": ";
        const ProcessorModel& s = sim.model();
        const Task t =
            task("název: x\n" + after + "A = " + std::to_string(s.regA) + "\n" + after +
                 "B = " + std::to_string(s.regB) + "\n" + after + "PČ = " + std::to_string(s.pc) +
                 "\n" + after + "IR = " + std::to_string(s.ir) + "\n" + after + "sběrnice = " +
                 std::to_string(s.bus) + "\n" + after + "součet = " + std::to_string(s.sum));
        CHECK(runTask(t, before.ram).passed());
    }
}

std::string fileText(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

TEST_CASE(theTenTasksForAClass) {
    const std::vector<std::string> tasks = {
        "01-petka-do-a", "02-trojka-do-b",  "03-pet-a-pet",     "04-tri-a-ctyri", "05-trojnasobek",
        "06-preteceni",  "07-nula-souctem", "08-skok-pres-hlt", "09-pocitadlo",   "10-dokola",
    };
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        CONTEXT(tasks[i]);
        const ParsedTask p =
            parseTask(fileText(PROCESOR_SOURCE "/examples/ulohy/" + tasks[i] + ".txt"));
        REQUIRE_MSG(p.ok(), taskErrorMessage(p.error));
        CHECK(!p.task.statement.empty());
        const std::string number = tasks[i].substr(0, 2);
        for (const bool right : {true, false}) {
            const ParsedProgram program =
                parseProgram(fileText(PROCESOR_SOURCE "/tests/examples/ulohy/" + number +
                                      (right ? "-spravne.txt" : "-chybne.txt")));
            REQUIRE(program.ok());
            Ram ram{};
            std::copy(program.words.begin(), program.words.end(), ram.begin());
            const CheckedRun run = runTask(p.task, ram);
            CHECK_EQ(run.passed(), right);
        }
    }
}

TEST_CASE(resultCodesCarryTheProgramAndTheTask) {
    const std::uint64_t digest = task("název: x\nočekávám: A = 10").digest;
    const std::uint64_t other = task("název: y\nočekávám: A = 10").digest;
    std::vector<Ram> programs = {kExample, Ram{}, Ram{}};
    programs[2].fill(15);
    for (int a = 0; a < 16; ++a) {
        Ram r{};
        r[std::size_t(a)] = (a * 7 + 3) % 16;
        programs.push_back(r);
    }
    for (const Ram& ram : programs) {
        const std::string code = resultCode(ram, digest);
        CONTEXT(code);
        REQUIRE_EQ(code.size(), 16u);
        for (char c : code) CHECK(std::string_view("0O1IL").find(c) == std::string_view::npos);
        const DecodedCode back = decodeResultCode(code, digest);
        CHECK_EQ(int(back.kind), int(DecodedCode::Ok));
        CHECK(back.ram == ram);
        // Small letters, blanks and dashes as a student may type it.
        std::string typed;
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (i == 4 || i == 8 || i == 12) typed += i == 8 ? " " : "-";
            typed += static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
        }
        CHECK(decodeResultCode(typed, digest).ram == ram);
        CHECK_EQ(int(decodeResultCode(code, other).kind), int(DecodedCode::Mismatch));
        // Every change of one character, and every swap of neighbours, is refused.
        int accepted = 0;
        for (std::size_t i = 0; i < code.size(); ++i) {
            for (char c : kCodeAlphabet) {
                if (c == code[i]) continue;
                std::string changed = code;
                changed[i] = c;
                accepted += decodeResultCode(changed, digest).kind == DecodedCode::Ok;
            }
            if (i + 1 < code.size() && code[i] != code[i + 1]) {
                std::string swapped = code;
                std::swap(swapped[i], swapped[i + 1]);
                accepted += decodeResultCode(swapped, digest).kind == DecodedCode::Ok;
            }
        }
        CHECK_EQ(accepted, 0);
    }
    const std::string code = resultCode(kExample, digest);
    const DecodedCode shortCode = decodeResultCode(code.substr(0, 15), digest);
    CHECK_EQ(int(shortCode.kind), int(DecodedCode::BadLength));
    CHECK_EQ(resultCodeMessage(shortCode), "Kód řešení má 16 znaků, tento jich má 15.");
    CHECK_EQ(int(decodeResultCode(code + "2", digest).kind), int(DecodedCode::BadLength));
    const DecodedCode letterO = decodeResultCode("O" + code.substr(1), digest);
    CHECK_EQ(int(letterO.kind), int(DecodedCode::BadCharacter));
    CHECK_EQ(letterO.position, 1);
    CHECK_EQ(resultCodeMessage(letterO),
             "Kód řešení obsahuje na 1. pozici znak „O“, který v kódu být nemůže (kód tvoří "
             "číslice 2 až 9 a písmena kromě I, L a O).");
    const DecodedCode accented = decodeResultCode("Č" + code.substr(1), digest);
    CHECK_EQ(accented.character, "Č");
    CHECK_EQ(int(decodeResultCode("", digest).kind), int(DecodedCode::BadLength));
    // Of many other tasks, only about one in 39432 would take a given code.
    int taken = 0;
    for (int n = 0; n < 2000; ++n)
        taken +=
            decodeResultCode(code, task("název: " + std::to_string(n) + "\nočekávám: A = 1").digest)
                .kind == DecodedCode::Ok;
    CHECK(taken <= 1);
}

} // namespace

PLAIN_TEST_MAIN()

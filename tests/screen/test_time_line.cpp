// The log of transfers and the table of pulses over the worked example: LDA 5; MOV;
// ADD; HLT, 34 pulses from "provoz" (the values after each Φ2 pulse as the machine's
// description tabulates them).

#include <sstream>
#include <string>
#include <vector>

#include "screen/Screen.h"
#include "screen/TimeLine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;

namespace {

void click(Screen& s, int x, int y) {
    s.mouseDown(x, y);
    s.mouseUp(x, y);
}

// The worked example brought in and run by hand to its halt.
void workedExample(Screen& s) {
    s.paste("0001 0101 1011 0101 1110");
    click(s, 859, 132); // provoz
    for (int i = 0; i < 40; ++i) {
        click(s, 855, 284); // ručně
        s.timerTick(5);
    }
}

struct Microstep {
    const char* line;
    int pc, ir, bus, regA, regB, sum;
};
// After the Φ2 pulse of each microstep.
constexpr Microstep kWorked[] = {
    {"0001", 0, 1, 1, 0, 0, 0},    {"0010", 1, 2, 1, 0, 0, 0},     {"0011", 1, 3, 5, 5, 0, 5},
    {"0100", 2, 4, 5, 5, 0, 5},    {"0101", 2, 11, 11, 5, 0, 5},   {"1100", 2, 12, 5, 5, 5, 10},
    {"1101", 3, 13, 5, 5, 5, 10},  {"1110", 3, 5, 5, 5, 5, 10},    {"0110", 3, 6, 10, 10, 5, 15},
    {"0111", 4, 7, 10, 10, 5, 15}, {"1000", 4, 14, 14, 10, 5, 15},
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

} // namespace

TEST_CASE(logOfTheWorkedExample) {
    Screen s;
    workedExample(s);
    const std::vector<std::string> expected = {
        "Režim „provoz“: registry a mikroadresa na 0, program běží od začátku.",
        "1. mikrokrok, řádek 0001 (NOP): RAM → sběrnice → IR; IR = 1",
        "2. mikrokrok, řádek 0010 (LDA): PČ + 1 → PČ; PČ = 1",
        "3. mikrokrok, řádek 0011 (LDA): RAM → sběrnice → A; A = 5",
        "4. mikrokrok, řádek 0100 (LDA): PČ + 1 → PČ; PČ = 2",
        "5. mikrokrok, řádek 0101 (LDA): RAM → sběrnice → IR; IR = 11",
        "6. mikrokrok, řádek 1100 (MOV): A → sběrnice → B; B = 5",
        "7. mikrokrok, řádek 1101 (MOV): PČ + 1 → PČ; PČ = 3",
        "8. mikrokrok, řádek 1110 (MOV): RAM → sběrnice → IR; IR = 5",
        "9. mikrokrok, řádek 0110 (ADD): sčítačka → sběrnice → A; A = 10",
        "10. mikrokrok, řádek 0111 (ADD): PČ + 1 → PČ; PČ = 4",
        "11. mikrokrok, řádek 1000 (ADD): RAM → sběrnice → IR; IR = 14",
        "12. mikrokrok, řádek 1111 (HLT): hodiny se zastavily. Dál vede tlačítko režimu: "
        "„provoz“ spustí program znovu od začátku, „programování“ vrátí k jeho zadávání.",
    };
    const std::vector<std::string> log = transferLog(s.history());
    CHECK_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size() && i < expected.size(); ++i)
        CHECK_EQ(log[i], expected[i]);
    CHECK_EQ(transferLogText(s.history()).substr(0, expected[0].size() + 1), expected[0] + "\n");
    // Split anywhere, the two parts are the same lines, numbered on within the run.
    const History& h = s.history();
    for (std::uint64_t p = h.first(); p <= h.last(); ++p) {
        CONTEXT("split at " + std::to_string(p));
        std::vector<std::string> parts = transferLog(h, h.first(), p);
        const std::vector<std::string> rest = transferLog(h, p, h.last());
        parts.insert(parts.end(), rest.begin(), rest.end());
        CHECK(parts == expected);
    }

    // "programování" adds its line; a step back takes the pulses' lines away.
    click(s, 859, 108);
    CHECK_EQ(transferLog(s.history()).back(),
             std::string("Režim „programování“: adresa 0, přepínače na 0, program v RAM zůstává."));
    for (int i = 0; i < 1 + 3 * 2; ++i) s.stepBack();
    CHECK_EQ(transferLog(s.history()).size(), expected.size() + 1); // the steps ahead kept
}

TEST_CASE(tableOfTheWorkedExample) {
    Screen s;
    workedExample(s);
    const std::vector<std::string> rows = split(pulseTableCsv(s.history()), '\n');
    REQUIRE_EQ(rows.size(), 35u); // the header and 34 pulses
    CHECK_EQ(rows[0], std::string("takt,mikrokrok,řádek,instrukce,Φ1,Φ2,PC/I,ADD/R,A/R,RAM/R,B/W,"
                                  "A/W,PC/W,IR/W,B/W·Φ2,A/W·Φ2,PC/W·Φ2,IR/W·Φ2,PC/I·Φ2,sběrnice,"
                                  "IR,PČ,A,B,sčítačka"));
    CHECK_EQ(rows[8], std::string("8,3,0011,LDA,1,1,0,0,0,1,0,1,0,0,0,1,0,0,0,5,3,1,5,0,5"));
    CHECK_EQ(rows[34], std::string("34,12,1111,HLT,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,14,15,4,10,5,15"));
    for (int k = 0; k < 11; ++k) {
        const Microstep& m = kWorked[k];
        CONTEXT("microstep " + std::to_string(k + 1));
        for (int phase = 1; phase <= 3; ++phase) {
            const std::vector<std::string> cells = split(rows[std::size_t(3 * k + phase)], ',');
            REQUIRE_EQ(cells.size(), 25u);
            CHECK_EQ(cells[0], std::to_string(3 * k + phase));
            CHECK_EQ(cells[1], std::to_string(k + 1));
            CHECK_EQ(cells[2], std::string(m.line));
            CHECK_EQ(cells[4] + cells[5], std::string(phase == 1   ? "10"
                                                      : phase == 2 ? "11"
                                                                   : "00"));
            if (phase == 1) continue; // the transfer is done at Φ2
            const std::vector<std::string> values(cells.end() - 6, cells.end());
            CHECK_EQ(values,
                     (std::vector<std::string>{std::to_string(m.bus), std::to_string(m.ir),
                                               std::to_string(m.pc), std::to_string(m.regA),
                                               std::to_string(m.regB), std::to_string(m.sum)}));
            // A strobe only in the Φ2 state, where its signal is on.
            for (int g = 14; g < 19; ++g)
                if (phase == 3) CHECK_EQ(cells[std::size_t(g)], std::string("0"));
        }
    }
}

PLAIN_TEST_MAIN()

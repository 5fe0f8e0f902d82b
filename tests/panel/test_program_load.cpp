// A whole program brought in as text: in programming mode it ends exactly where
// entering the same words by hand ends; in run mode, or with a bad text, it changes
// nothing at all and shows one error message.

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

const std::string kBlank(11, ' ');
const std::string kExample = "0001 0101 1011 0101 1110  # LDA 5; MOV; ADD; HLT";

struct Recorder {
    std::vector<std::string> messages;
    Simulator::ErrorSink sink() {
        return [this](const std::string& m) { messages.push_back(m); };
    }
};

void setSwitches(Simulator& sim, int value) {
    for (const DataSwitch& s : kDataSwitches) {
        const bool on = sim.elements().image[s.runWire].visible;
        if (on == bool(value & (1 << s.bit))) continue;
        switch (s.button) {
        case 8:
            sim.Button8Click();
            break;
        case 9:
            sim.Button9Click();
            break;
        case 10:
            sim.Button10Click();
            break;
        default:
            sim.Button11Click();
            break;
        }
    }
}

// The words entered by hand: "nulování", each word on the switches, "zápis do RAM",
// "krokování", every release, then "programování".
void enterByHand(Simulator& sim, const std::vector<int>& words) {
    sim.Panel5Click();
    sim.Button14Click();
    for (int w : words) {
        setSwitches(sim, w);
        sim.Panel4Click();
        sim.Button13Click();
        sim.Panel3Click();
        sim.Button12Click();
    }
    sim.Panel6Click();
}

// Somewhere a student might be: an older, longer program in RAM, run for a while,
// back in programming mode at address 5 with switches on.
void untidy(Simulator& sim) {
    enterByHand(sim, {1, 3, 5, 7, 9, 11, 13, 15, 2});
    sim.Panel7Click();
    for (int pulse = 0; pulse < 10; ++pulse) {
        sim.Panel1Click();
        sim.Button1Click();
    }
    sim.Panel6Click();
    for (int step = 0; step < 5; ++step) sim.Panel3Click();
    sim.Button12Click();
    setSwitches(sim, 0b1010);
}

std::vector<std::string> cells(const Simulator& sim) {
    std::vector<std::string> c;
    for (int n = kFirstRamCell; n < kFirstRamCell + 16; ++n)
        c.push_back(sim.elements().label[n].caption);
    return c;
}

void endsAsIfEnteredByHand() {
    const std::vector<std::vector<int>> programs = {
        {0b0001, 0b0101, 0b1011, 0b0101, 0b1110},
        {0b0000, 0b1110},
        {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
    };
    for (const std::vector<int>& words : programs) {
        Simulator byHand, loaded;
        untidy(byHand);
        untidy(loaded);
        enterByHand(byHand, words);
        std::string text;
        for (int w : words)
            for (int bit = 8; bit >= 1; bit /= 2)
                text += (w & bit) ? '1' : '0', text += bit == 1 ? "\n" : "";
        CHECK(loaded.loadProgram(text));
        // By hand the bus keeps the last word written; a loaded program leaves it 0000.
        CHECK_EQ(loaded.model().bus, 0);
        ProcessorModel expected = byHand.model();
        expected.bus = 0;
        expected.wordText = "OOOO";
        CHECK(loaded.model() == expected);
        CHECK(loaded.elements() == byHand.elements());
        CHECK(loaded.programText() == byHand.programText());
    }

    // What the cells show, from the word texts of the RAM cells.
    Simulator sim;
    untidy(sim);
    CHECK(sim.loadProgram(kExample));
    const std::vector<std::string> shown = cells(sim);
    const std::vector<std::string> expected = {"OOO l ", "O l O l ", " l O l  l ", "O l O l ",
                                               " l  l  l O"};
    for (std::size_t a = 0; a < 16; ++a)
        CHECK(shown[a] == (a < expected.size() ? expected[a] : kBlank));
    CHECK(sim.model().ram == (std::array<int, 16>{1, 5, 11, 5, 14}));
    CHECK_EQ(sim.model().pc, 0);
    CHECK(sim.elements().label[2].caption == "0");
    CHECK_EQ(sim.elements().label[kFirstRamCell].colour, clYellow);
    CHECK_EQ(sim.elements().label[kFirstRamCell + 5].colour, clSkyBlue);
    for (const DataSwitch& s : kDataSwitches) {
        CHECK(sim.elements().button[s.button].caption == "0");
        CHECK(!sim.elements().image[s.runWire].visible);
    }
    for (const auto& line : kBusImages)
        for (int image : line) CHECK(!sim.elements().image[image].visible);
    CHECK(sim.programText() == "0001 0101 1011 0101 1110");
    CHECK(sim.programText('.') == "0001.0101.1011.0101.1110");

    // A write still pressed in keeps its release, as after "programování".
    sim.Panel4Click();
    CHECK(sim.loadProgram("1110"));
    CHECK(sim.elements().timer[3].enabled);
    sim.Button13Click();
    CHECK_EQ(sim.elements().panel[4].colour, clAqua);
    CHECK(cells(sim)[0] == " l  l  l O" && cells(sim)[1] == kBlank);
}

// Each attempt must change nothing and say why, once.
void refused(Simulator& sim, Recorder& r, std::string_view text, std::string_view why,
             std::string_view file, int line) {
    const ProcessorModel model = sim.model();
    const ElementState el = sim.elements();
    r.messages.clear();
    const bool loaded = sim.loadProgram(text, file);
    const bool same = model == sim.model() && el == sim.elements();
    const bool said = r.messages.size() == 1 && r.messages[0].find(why) != std::string::npos;
    if (!loaded && same && said) return;
    ++::testing::checkFailures();
    std::printf("%s:%d: loaded %d, unchanged %d, messages %d: %s\n", __FILE__, line, loaded, same,
                int(r.messages.size()), r.messages.empty() ? "" : r.messages[0].c_str());
}
#define CHECK_REFUSED(sim, r, text, why, file) refused((sim), (r), (text), (why), (file), __LINE__)

void badTextChangesNothing() {
    Recorder r;
    Simulator sim(r.sink());
    enterByHand(sim, {1, 5, 11, 5, 14});
    sim.Panel3Click(); // pressed in, at address 1, a switch on
    sim.Button9Click();
    CHECK_REFUSED(sim, r, "0001 0102", "2. slovo „0102“ na 1. řádku, 6. pozici", "");
    CHECK_REFUSED(sim, r, std::string(17 * 5, '0'), "1. slovo „0000000000", "");
    std::string seventeen;
    for (int n = 0; n < 17; ++n) seventeen += "1111\n";
    CHECK_REFUSED(sim, r, seventeen, "17. slovo „1111“ je na 17. řádku, 1. pozici", "");
    CHECK_REFUSED(sim, r, "   # nothing here", "žádné slovo programu", "");
    CHECK_REFUSED(sim, r, "0001 0101 # \xE8", "není v kódování UTF-8", "lekce.txt");
    CHECK_REFUSED(sim, r, std::string(kMaxProgramBytes + 1, ' '), "příliš velký", "lekce.txt");
    CHECK_REFUSED(sim, r, "", "žádné slovo programu", "");

    const ProcessorModel model = sim.model();
    const ElementState el = sim.elements();
    r.messages.clear();
    sim.programFileUnreadable("lekce.txt");
    CHECK(model == sim.model() && el == sim.elements());
    CHECK(r.messages.size() == 1 &&
          r.messages[0] == "Program ze souboru „lekce.txt“ nebyl načten: soubor nelze přečíst.");
}

void runModeLoadsNothing() {
    Recorder r;
    Simulator sim(r.sink());
    enterByHand(sim, {1, 5, 11, 5, 14});
    sim.Panel7Click();
    sim.Panel2Click(); // the automatic clock runs
    sim.Panel1Click();
    const unsigned clockStarts = sim.timerStarts(1);
    CHECK_REFUSED(sim, r, "1110", "jen v režimu programování", "");
    CHECK_REFUSED(sim, r, "not a program", "jen v režimu programování", "");
    CHECK(sim.elements().timer[1].enabled);
    CHECK_EQ(sim.timerStarts(1), clockStarts);
    // Halted, too.
    sim.Button1Click();
    for (int pulse = 0; pulse < 40 && sim.elements().panel[1].colour != clCream; ++pulse) {
        sim.Panel1Click();
        if (sim.elements().timer[5].enabled) sim.Button1Click();
    }
    CHECK_EQ(sim.model().ir, 15);
    CHECK_REFUSED(sim, r, "1110", "Stiskněte „programování“ a zkuste to znovu.", "");
}

} // namespace

int main() {
    endsAsIfEnteredByHand();
    badTextChangesNothing();
    runModeLoadsNothing();
    return ::testing::checkFailures();
}

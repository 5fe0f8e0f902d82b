// A program as text, the way every program comes in: a file, a link, a drop or a
// paste. Any bytes: the reading either gives up to sixteen words of 0..15 that
// survive the way out (the clipboard's blanks and the link's dots) and load into RAM
// as they are, or an error with a readable message that changes nothing.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ProgramText.h"
#include "panel/Simulator.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace procesor;

namespace {

// Reads the program written from RAM back: the words up to the last non-zero one.
void roundTrip(const std::array<int, kProgramWords>& ram, char separator) {
    const std::string text = programText(ram, separator);
    const ParsedProgram again = parseProgram(text);
    std::size_t used = kProgramWords;
    while (used > 0 && ram[used - 1] == 0) --used;
    if (used == 0) {
        FUZZ_CHECK(text.empty() && again.error.kind == ProgramError::NoWords);
        return;
    }
    FUZZ_CHECK(again.ok() && again.words.size() == used);
    for (std::size_t i = 0; i < used; ++i) FUZZ_CHECK(again.words[i] == ram[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedProgram parsed = parseProgram(text);

    std::array<int, kProgramWords> ram{};
    if (parsed.ok()) {
        FUZZ_CHECK(!parsed.words.empty() && parsed.words.size() <= std::size_t(kProgramWords));
        for (std::size_t i = 0; i < parsed.words.size(); ++i) {
            FUZZ_CHECK(parsed.words[i] >= 0 && parsed.words[i] <= 15);
            ram[i] = parsed.words[i];
        }
        roundTrip(ram, ' ');
        roundTrip(ram, '.');
    } else {
        FUZZ_CHECK(parsed.words.empty());
        const ProgramError& e = parsed.error;
        if (e.kind == ProgramError::BadWord || e.kind == ProgramError::TooManyWords ||
            e.kind == ProgramError::NotUtf8)
            FUZZ_CHECK(e.line >= 1 && e.position >= 1);
        // The message quotes the word and the file's name, whatever bytes they hold.
        const std::string_view name = text.substr(0, std::min<std::size_t>(text.size(), 300));
        for (const std::string& message : {programErrorMessage(e), programErrorMessage(e, name)}) {
            FUZZ_CHECK(!message.empty() && fuzz::wellFormed(message));
            FUZZ_CHECK(message.size() < 600);
        }
    }

    // Loaded in programming mode, RAM holds exactly the words and nothing else
    // changes on an error but the one box shown.
    int boxes = 0;
    std::string shown;
    Simulator sim([&](const std::string& message) {
        ++boxes;
        shown = message;
    });
    sim.model().ram[3] = 9; // a program in RAM before
    const ProcessorModel before = sim.model();
    const bool loaded = sim.loadProgram(text, "program.txt");
    FUZZ_CHECK(loaded == parsed.ok());
    if (loaded) {
        FUZZ_CHECK(boxes == 0 && sim.model().ram == ram && sim.model().pc == 0);
        FUZZ_CHECK(sim.programText('.') == programText(ram, '.'));
    } else {
        FUZZ_CHECK(boxes == 1 && fuzz::wellFormed(shown));
        FUZZ_CHECK(sim.model().ram == before.ram && sim.model().ramText == before.ramText);
    }
    return 0;
}

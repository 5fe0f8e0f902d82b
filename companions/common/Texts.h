#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ProcessorModel.h"

// Texts every explainer takes from the machine's own tables, so that none of them
// writes the microprogram or the clock down again.
namespace procesor::explain {

// A blank that the wrapping of texts never breaks (U+00A0).
inline constexpr std::string_view kNoBreak = "\u00A0";

// A word in decimal, "0".."15", and in binary, "0101".
std::string number(int value);
std::string binary(int value);
// The mnemonic of an operation code, empty for a code that names no instruction; and
// "0001 (LDA)" kept on one line, or "0111" for such a code.
std::string_view mnemonicOf(int code);
std::string codeName(int code);

// A word shown both ways, binary and decimal: "0111 (7)", kept on one line.
std::string both(int value);

// Czech typesetting, for every text of every explainer (the drawing of texts applies
// it): a one-letter preposition or conjunction never ends a line, a sum or an
// equation stays whole ("5 + 3 = 8", "PC/W = 1"), a clock phase stays with the word
// before it ("fáze Φ2") and a number with the bracket after it ("15 (1111)").
std::string typeset(std::string text);

// The microprogram lines (0..15) whose control signals include `signal` (a mask
// of model/Microprogram.h's Signal).
std::vector<int> linesWith(unsigned signal);
// "0011 RAM/R-A/W (LDA)": the line's number, its signals and its instruction, kept on
// one line of a wrapped text.
std::string lineName(int line);
// "řádku 1100 A/R-B/W (MOV)" / "řádcích 0011 … (LDA) a 0110 … (ADD)": the lines in
// the sixth case, after "na".
std::string onLines(const std::vector<int>& lines);
// The instruction a microprogram line belongs to: "LDA".
std::string_view instructionOf(int line);

// The clock's state as the texts name it: "klid", "fáze Φ1", "fáze Φ2"; and the same
// at the start of a sentence: "Klid", "Fáze Φ1", "Fáze Φ2".
std::string_view clockState(const ProcessorModel& m);
std::string_view clockStateAtStart(const ProcessorModel& m);
// The clock's state as the stepping row shows it: "hodiny: klid", "hodiny: fáze Φ1",
// "hodiny: fáze Φ2 (Φ1 i Φ2)", and "hodiny stojí" after the halt.
std::string clockCaption(const ProcessorModel& m, bool halted);
// The clock's three states, said once in every explainer that clocks the machine.
inline constexpr std::string_view kClockStates =
    "Hodiny mají tři stavy: klid (Φ1 = 0, Φ2 = 0), fázi Φ1 (Φ1 = 1) a fázi Φ2, ve které "
    "svítí Φ1 i Φ2. Každé stisknutí „ručně“ je jeden hodinový impulz, který hodiny posune o "
    "jeden stav: z klidu do fáze Φ1, z ní do fáze Φ2 a pak zpět do klidu.";

} // namespace procesor::explain

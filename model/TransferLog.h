#pragma once

#include <string>
#include <string_view>

#include "model/ProcessorModel.h"

// The log of transfers: one Czech line for each microstep, said when its register
// loads (the Φ2 pulse), and lines for the halt and the mode buttons, e.g.
// „3. mikrokrok, řádek 0011 (LDA): RAM → sběrnice → A; A = 5“.
namespace procesor {

// The microstep `number` (from 1 within the run) of microprogram line `line`, with
// the machine as its Φ2 pulse left it.
std::string microstepLine(int number, int line, const ProcessorModel& after);
// The halt at the microstep `number`, and how to go on from it.
std::string haltLine(int number);
// A mode button pressed: "programování" (true) or "provoz".
std::string modeLine(bool programming);

// The name of the microprogram line's instruction, as the listing shows it beside
// the line ("NOP" for lines 0 and 1).
std::string_view instructionOfLine(int line);
// The line's code, "0011".
std::string_view codeOfLine(int line);

} // namespace procesor

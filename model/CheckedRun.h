#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/ProcessorModel.h"
#include "model/TaskText.h"

// The checked run of a task: the machine started as "provoz" starts it, from the
// task's RAM or the student's, clocked pulse by pulse with the machine's own clock
// pulse until it halts or the task's limit is reached, on a machine of its own (the
// student's is never touched); each check of the task read at its pulse or at the end.
namespace procesor {

struct CheckOutcome {
    bool passed = false;
    std::string sentence; // "A je 7, očekáváno 8", in Czech
    int line = 0;         // of the check in the task's text
};

struct CheckedRun {
    std::vector<CheckOutcome> outcomes; // in the order of the task's checks
    int pulses = 0;                     // taken, the halting one included
    bool halted = false;
    bool passed() const;
    // The first check that failed, or nullptr.
    const CheckOutcome* firstFailure() const;
};

// The machine as "provoz" leaves it with `ram` in RAM: registers, the microaddress and
// the clock at 0 and rest, nothing driven.
ProcessorModel runStart(const std::array<int, kProgramWords>& ram);

// Runs `task` from its own program or, when it has none, from `studentRam`.
// `predictionStreak` is the longest row of right predictions so far; when it is
// negative (the command line, a result code) the predictions asked for are not
// known and their check is left out.
CheckedRun runTask(const Task& task, const std::array<int, kProgramWords>& studentRam,
                   int predictionStreak = -1);

} // namespace procesor

#include "model/Prediction.h"

#include "model/Clock.h"

namespace procesor {

PulseGuess nextPulse(const ProcessorModel& m) {
    ProcessorModel after = m;
    clockPulse(after);
    Changed changed = Changed::None;
    if (after.ir != m.ir)
        changed = Changed::Ir;
    else if (after.pc != m.pc)
        changed = Changed::Pc;
    else if (after.regA != m.regA)
        changed = Changed::A;
    else if (after.regB != m.regB)
        changed = Changed::B;
    return {after.bus, changed};
}

std::string changedName(Changed changed) {
    switch (changed) {
    case Changed::None:
        return "nic";
    case Changed::Ir:
        return "IR";
    case Changed::Pc:
        return "PČ";
    case Changed::A:
        return "A";
    case Changed::B:
        return "B";
    }
    return {};
}

void PredictionScore::record(bool wasRight) {
    ++asked;
    if (wasRight) {
        ++right;
        ++streak;
        if (streak > longest) longest = streak;
    } else {
        streak = 0;
    }
}

std::string PredictionScore::text() const {
    return "správně " + std::to_string(right) + " z " + std::to_string(asked);
}

std::string predictionVerdict(const PulseGuess& guess, const PulseGuess& truth) {
    std::string s = guess == truth ? "Správně: " : "Špatně: ";
    s += "sběrnice nese " + std::to_string(truth.bus);
    if (guess.bus != truth.bus) s += " (ne " + std::to_string(guess.bus) + ")";
    s += truth.changed == Changed::None ? ", nemění se nic"
                                        : ", mění se " + changedName(truth.changed);
    if (guess.changed != truth.changed) s += " (ne " + changedName(guess.changed) + ")";
    return s + ".";
}

} // namespace procesor

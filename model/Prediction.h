#pragma once

#include <string>

#include "model/ProcessorModel.h"

// Predictions: before a pulse of "ručně" the student says what the bus will carry
// after it and which register changes; the pulse then shows whether that was right.
namespace procesor {

// The register a pulse changes: at most one does (IR counts on entering Φ1, one
// register loads in Φ2, the rest state loads nothing).
enum class Changed { None, Ir, Pc, A, B };
inline constexpr Changed kChangedChoices[] = {Changed::Ir, Changed::Pc, Changed::A, Changed::B,
                                              Changed::None};

struct PulseGuess {
    int bus = 0;
    Changed changed = Changed::None;
    bool operator==(const PulseGuess&) const = default;
};

// What the next pulse will do to the machine `m` is in, found on a copy of it.
PulseGuess nextPulse(const ProcessorModel& m);

// "IR", "PČ", "A", "B", "nic".
std::string changedName(Changed changed);

// The running score of one sitting.
struct PredictionScore {
    int right = 0;
    int asked = 0;
    int streak = 0;  // right in a row, now
    int longest = 0; // the longest such row so far
    void record(bool wasRight);
    std::string text() const; // „správně 7 z 9“
};

// The sentence said after the pulse, in Czech: "Správně: sběrnice nese 5, mění se A."
// or "Špatně: sběrnice nese 5 (ne 3), mění se A (ne B)."
std::string predictionVerdict(const PulseGuess& guess, const PulseGuess& truth);

} // namespace procesor

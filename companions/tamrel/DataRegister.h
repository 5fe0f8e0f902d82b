#pragma once

#include <optional>
#include <vector>

#include "companions/common/Word.h"

namespace companion {

// The two data registers. A takes the bus with A/W and can drive it with A/R; B takes
// the bus with B/W and feeds nothing but the adder.
enum class RegisterName { A, B };

// The register's value after the clock enters `entered`: the bus is taken only when
// the write signal and Phi2 are both high (the strobe of its AND gate).
int registerNext(int value, int bus, bool writeSignal, Phase entered);

// What the register puts on the bus: A its value while A/R is high, B never.
std::optional<int> busDrive(RegisterName name, bool readSignal, int value);

// Microprogram lines whose write signal loads the register (A/W resp. B/W).
std::vector<int> linesWriting(RegisterName name);
// Microprogram lines that put the register on the bus (A/R; none for B).
std::vector<int> linesReading(RegisterName name);

// A data register the student plays with, clocked one pulse at a time.
class DataRegister {
public:
    explicit DataRegister(RegisterName name) : name_(name) {}

    RegisterName name() const { return name_; }
    int value() const { return value_; }
    Phase phase() const { return phase_; }
    bool strobe() const { return strobe_; }

    // Advances the clock by one pulse; returns true when the register loaded.
    bool pulse(int bus, bool writeSignal);
    // The write signal changed between pulses. The gate's output follows at once; when
    // it rises (the signal switched on in the Phi2 state) the register takes the bus
    // then. Returns true when the register loaded.
    bool setWriteSignal(bool writeSignal, int bus);
    void reset();

private:
    RegisterName name_;
    int value_ = 0;
    Phase phase_ = Phase::Rest;
    bool strobe_ = false;
};

} // namespace companion

#pragma once

#include "companions/common/Word.h"

namespace companion {

// IR and PC are both counting registers: they can take the bus or count up by one.
enum class CounterRole {
    InstructionRegister, // IR: counts on every entry into Phi1, loads with IR/W at Phi2
    ProgramCounter,      // PC: counts with PC/I at Phi2, loads with PC/W at Phi2
};

struct CounterAction {
    bool load = false;  // take the bus
    bool count = false; // then add one, 15 -> 0

    bool operator==(const CounterAction&) const = default;
};

// What the register does in the clock state just entered. `writeSignal` is IR/W or
// PC/W, `countSignal` is PC/I (IR ignores it: its count comes from the Phi1 line).
CounterAction counterAction(CounterRole role, Phase entered, bool writeSignal, bool countSignal);

// The next value: a load takes the bus first, a count then adds one modulo 16.
int counterNext(int value, int bus, CounterAction action);

// True when counting `value` up wraps it round to 0.
constexpr bool countWraps(int value) {
    return toWord(value) == kWordValues - 1;
}

// A counting register the student plays with.
class CountingRegister {
public:
    explicit CountingRegister(int value = 0) : value_(toWord(value)) {}

    int value() const { return value_; }
    void set(int value) { value_ = toWord(value); }
    void load(int bus) { value_ = toWord(bus); }
    // Adds one; returns true when 15 wrapped round to 0.
    bool countUp();
    // One clock pulse into `entered`; returns the action taken.
    CounterAction pulse(CounterRole role, Phase entered, bool writeSignal, bool countSignal,
                        int bus);

private:
    int value_;
};

} // namespace companion

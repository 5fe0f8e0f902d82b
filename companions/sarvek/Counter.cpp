#include "companions/sarvek/Counter.h"

namespace companion {

CounterAction counterAction(CounterRole role, Phase entered, bool writeSignal, bool countSignal) {
    CounterAction action;
    switch (role) {
    case CounterRole::InstructionRegister:
        // The Phi1 line counts IR on to the next microprogram line.
        action.count = entered == Phase::Phi1;
        action.load = writeSignal && phi2High(entered);
        break;
    case CounterRole::ProgramCounter:
        action.load = writeSignal && phi2High(entered);
        action.count = countSignal && phi2High(entered);
        break;
    }
    return action;
}

int counterNext(int value, int bus, CounterAction action) {
    int next = toWord(value);
    if (action.load) next = toWord(bus);
    if (action.count) next = toWord(next + 1);
    return next;
}

bool CountingRegister::countUp() {
    const bool wraps = countWraps(value_);
    value_ = toWord(value_ + 1);
    return wraps;
}

CounterAction CountingRegister::pulse(CounterRole role, Phase entered, bool writeSignal,
                                      bool countSignal, int bus) {
    const CounterAction action = counterAction(role, entered, writeSignal, countSignal);
    value_ = counterNext(value_, bus, action);
    return action;
}

} // namespace companion

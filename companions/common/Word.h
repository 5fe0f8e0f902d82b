#pragma once

// A 4-bit word of the machine and the two-phase clock, as every companion program
// explains them. Plain C++, no Qt.

namespace companion {

inline constexpr int kWordBits = 4;
inline constexpr int kWordValues = 16;

// Keeps a value within 0..15 the way the machine's 4-bit data path does: modulo 16.
constexpr int toWord(int value) {
    return value & (kWordValues - 1);
}

// Bit 0 has weight 1, bit 3 weight 8.
constexpr bool bitOf(int word, int bit) {
    return ((word >> bit) & 1) != 0;
}

constexpr int withBit(int word, int bit, bool on) {
    return on ? toWord(word | (1 << bit)) : toWord(word & ~(1 << bit));
}

// The three states of the clock, one per pulse: rest -> Phi1 -> Phi2 -> rest.
enum class Phase { Rest, Phi1, Phi2 };

constexpr Phase nextPhase(Phase p) {
    switch (p) {
    case Phase::Rest:
        return Phase::Phi1;
    case Phase::Phi1:
        return Phase::Phi2;
    case Phase::Phi2:
        return Phase::Rest;
    }
    return Phase::Rest;
}

// The phase line Phi2 is high only in the Phi2 state; Phi1 stays high through both.
constexpr bool phi1High(Phase p) {
    return p != Phase::Rest;
}
constexpr bool phi2High(Phase p) {
    return p == Phase::Phi2;
}

} // namespace companion

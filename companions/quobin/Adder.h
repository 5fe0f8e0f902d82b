#pragma once

#include <array>

namespace companion {

// One column of the ripple-carry adder.
struct BitAddition {
    bool a = false;
    bool b = false;
    bool carryIn = false;
    bool sum = false;
    bool carryOut = false;
};

// A + B as the machine's 4-bit adder forms it, column by column from bit 0.
struct Addition {
    int a = 0;
    int b = 0;
    std::array<BitAddition, 4> bits{}; // index = bit number, 0 = weight 1
    int sum = 0;                       // (a + b) mod 16: what the adder puts out
    bool carryOut = false;             // carry out of bit 3: no wire takes it, it is lost
    int exact = 0;                     // a + b without the wrap, 0..30
};

// Both inputs are taken as 4-bit words (modulo 16), as the registers hold them.
Addition add(int a, int b);

} // namespace companion

// Clock pulses per second of the whole handler, display bookkeeping included,
// with no window: a looping program (LDA 5; MOV; ADD; JMP 0) at full speed.
#include <chrono>
#include <cstdio>

#include "panel/Simulator.h"

int main() {
    using namespace procesor;
    Simulator sim;
    const int program[] = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
    for (int i = 0; i < 6; ++i) sim.model().ram[static_cast<std::size_t>(i)] = program[i];
    sim.Panel7Click();

    constexpr long kPulses = 5'000'000;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < kPulses; ++i) {
        sim.Panel1Click();
        sim.Button1Click(); // release "ručně" at once so every call is a real pulse
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("pulses: %ld in %.3f s = %.2f million pulses/s (%.0f ns per pulse); A=%d\n",
                kPulses, seconds, kPulses / seconds / 1e6, seconds / kPulses * 1e9,
                sim.model().regA);
    return 0;
}

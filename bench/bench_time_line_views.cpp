// What the timing diagram's window does after a pulse, over time lines of growing
// length, in milliseconds of the thread's processor time: the timing diagram drawn
// anew, the log's lines of the newest microstep added (after every pulse at the end),
// the log of the newest 30,000 entries made anew (on opening, after an action back in
// time) and, for comparison, the log of the whole time line.

#include <time.h>

#include <cstdio>

#include "screen/History.h"
#include "screen/TimeLine.h"
#include "screen/TimingDiagram.h"

using namespace procesor;

namespace {

double cpuMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

int main() {
    Simulator sim;
    // LDA 5; MOV; ADD; JMP 0: A counts up in fives for ever.
    sim.model().ram = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
    sim.Panel7Click();
    History history;
    screen::TimingDiagram diagram;
    std::printf("%10s %13s %13s %13s %13s\n", "pulses", "diagram [ms]", "added [ms]", "newest [ms]",
                "whole [ms]");
    int recorded = 0;
    for (int pulses : {1'000, 10'000, 100'000, 1'000'000}) {
        for (; recorded < pulses; ++recorded) {
            history.before(sim);
            sim.Panel1Click();
            history.after(HistoryKind::Pulse, sim);
            sim.Button1Click();
        }
        const auto time = [](auto&& work) {
            const double start = cpuMillis();
            work();
            return cpuMillis() - start;
        };
        const std::uint64_t last = history.last();
        const double drawn = time([&] { diagram.draw(history); });
        const double added = time([&] { transferLog(history, last - 3, last); });
        const double newest =
            time([&] { transferLog(history, last > 30'000 ? last - 30'000 : 0, last); });
        const double whole = time([&] { transferLog(history); });
        std::printf("%10d %13.2f %13.2f %13.2f %13.2f\n", pulses, drawn, added, newest, whole);
    }
}

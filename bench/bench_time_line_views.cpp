// What the timing diagram's window does after every pulse that it shows, over time
// lines of growing length: the timing diagram drawn anew and the log of transfers
// made anew, in milliseconds of the thread's processor time.

#include <time.h>

#include <cstdio>
#include <string>

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
    std::printf("%10s %14s %14s %12s\n", "pulses", "diagram [ms]", "log [ms]", "log [bytes]");
    int recorded = 0;
    for (int pulses : {1'000, 10'000, 100'000, 1'000'000}) {
        for (; recorded < pulses; ++recorded) {
            history.before(sim);
            sim.Panel1Click();
            history.after(HistoryKind::Pulse, sim);
            sim.Button1Click();
        }
        double start = cpuMillis();
        diagram.draw(history);
        const double drawn = cpuMillis() - start;
        start = cpuMillis();
        const std::string log = transferLogText(history);
        const double logged = cpuMillis() - start;
        std::printf("%10d %14.2f %14.2f %12zu\n", pulses, drawn, logged, log.size());
    }
}

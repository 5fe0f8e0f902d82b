// The time line over a lesson of a million pulses: what recording a pulse costs, the
// bytes kept per entry and in all (as the time line counts them and as the heap
// grows), and the microseconds of one step back and one step forward, the slowest
// of them too (a step does at most History::kKeepEvery entries again); the time line
// kept as text for a reload of the page, its bytes and the time to save and load it.

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "screen/History.h"

using namespace procesor;
using Clock = std::chrono::steady_clock;

namespace {

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The thread's own processor time: a machine shared with other work preempts the
// process now and then, which says nothing of a step's cost.
double cpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

} // namespace

int main() {
    constexpr int kPulses = 1'000'000;
    Simulator sim;
    // LDA 5; MOV; ADD; JMP 0: A counts up in fives for ever.
    sim.model().ram = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
    sim.Panel7Click();

    const std::size_t heapBefore = heapInUse();
    auto* history = new History;
    const Clock::time_point recording = Clock::now();
    for (int i = 0; i < kPulses; ++i) {
        history->before(sim);
        sim.Panel1Click();
        history->after(HistoryKind::Pulse, sim);
        sim.Button1Click();
    }
    const double recordMicros = microsSince(recording) / kPulses;
    const std::size_t heap = heapInUse() - heapBefore;
    const std::uint64_t entries = history->last() - history->first();

    std::printf("pulses recorded:            %d (%llu kept, %zu whole states)\n", kPulses,
                static_cast<unsigned long long>(entries), history->keptStates());
    std::printf("recording one pulse:        %.2f us\n", recordMicros);
    std::printf("bytes per entry:            %.1f (time line's count), %.1f (heap)\n",
                double(history->bytes()) / double(entries), double(heap) / double(entries));
    std::printf("memory for a million pulses: %.1f MB (heap)\n", double(heap) / 1e6);

    // Steps back from the end, then forward again, and jumps to random positions.
    constexpr int kSteps = 20000;
    std::vector<double> each;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
        const double one = cpuMicros();
        history->stepBack(sim);
        each.push_back(cpuMicros() - one);
    }
    const double back = microsSince(start) / kSteps;
    start = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
        const double one = cpuMicros();
        history->stepForward(sim);
        each.push_back(cpuMicros() - one);
    }
    const double forward = microsSince(start) / kSteps;
    std::sort(each.begin(), each.end());
    std::mt19937_64 random(7);
    start = Clock::now();
    for (int i = 0; i < kSteps; ++i) history->moveTo(history->first() + random() % entries, sim);
    const double jump = microsSince(start) / kSteps;
    std::printf("one step back:              %.1f us (mean)\n", back);
    std::printf("one step forward:           %.1f us (mean)\n", forward);
    std::printf("single steps (processor):   %.1f us median, %.1f us at 99.9 %%, %.1f us slowest\n",
                each[each.size() / 2], each[each.size() * 999 / 1000], each.back());
    std::printf("jump to a random position:  %.1f us (mean)\n", jump);
    // Kept as text for a reload of the page: the newest History::kMaxSavedEntries.
    history->moveTo(history->last(), sim);
    start = Clock::now();
    const std::string saved = history->save(sim);
    const double saveMs = microsSince(start) / 1e3;
    History restored;
    Simulator reloaded;
    start = Clock::now();
    const bool loaded = restored.load(saved, reloaded);
    const double loadMs = microsSince(start) / 1e3;
    std::printf("kept as text:               %zu bytes for %llu entries, saved in %.1f ms, "
                "loaded in %.1f ms%s\n",
                saved.size(), static_cast<unsigned long long>(restored.last() - restored.first()),
                saveMs, loadMs, loaded ? "" : " (REFUSED)");
    delete history;
    return 0;
}

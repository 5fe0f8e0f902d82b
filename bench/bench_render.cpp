// The headless picture: microseconds for a full frame of the client area, and for
// one clock pulse with its partial repaint (a looping program at full speed, the
// release of "ručně" and its repaint included). Medians of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "screen/Screen.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::time_point from) {
    return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    using namespace procesor;
    render::Renderer renderer;
    const ElementState state = ElementState::startup();
    std::vector<double> full;
    for (int i = 0; i < 300; ++i) {
        const auto start = Clock::now();
        renderer.renderAll(state);
        full.push_back(micros(start));
    }

    render::Screen screen;
    const int program[] = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
    for (int i = 0; i < 6; ++i) screen.simulator().model().ram[std::size_t(i)] = program[i];
    screen.render();
    screen.mouseDown(859, 132); // "provoz"
    screen.mouseUp(859, 132);
    screen.render();
    std::vector<double> pulse;
    std::size_t rectangles = 0;
    long pixels = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto start = Clock::now();
        screen.mouseDown(855, 284); // "ručně"
        screen.mouseUp(855, 284);
        const std::vector<render::Box> changed = screen.render();
        screen.timerTick(5);
        const std::vector<render::Box> released = screen.render();
        pulse.push_back(micros(start));
        rectangles += changed.size() + released.size();
        for (const auto& list : {changed, released})
            for (const render::Box& b : list) pixels += long(b.w) * b.h;
    }
    std::printf("full frame 1024x715: %.1f us (median of %zu)\n", median(full), full.size());
    std::printf("one pulse with its release and partial repaints: %.1f us (median of %zu); "
                "%.1f rectangles, %.0f pixels repainted per pulse\n",
                median(pulse), pulse.size(), double(rectangles) / double(pulse.size()),
                double(pixels) / double(pulse.size()));
    return 0;
}

// The headless picture: microseconds for a full frame of the client area, and for
// one clock pulse with its partial repaint (a looping program at full speed, the
// release of "ručně" and its repaint included), and for the whole picture drawn at
// the sizes the screens of a school give it (each pixel averaged from those under
// it). Medians of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "picture/Scaled.h"
#include "picture/Scaling.h"
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

    screen::Screen screen;
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

    // The sizes that are not whole factors: a laptop at 125 % and 150 % (its window
    // smaller than the picture), a desktop window at 1.5 and 1.75, a projector.
    struct Room {
        const char* what;
        int w, h;
    };
    for (const Room& r :
         {Room{"laptop 1366x768 at 125 %", 1333, 618}, Room{"laptop 1366x768 at 150 %", 1327, 591},
          Room{"window at 1.5", 1536, 1073}, Room{"window at 1.75", 1792, 1252},
          Room{"projector 1920x960", 1894, 944}}) {
        const render::Fit f = render::fitPicture(r.w, r.h, 1024, 715);
        std::vector<std::uint8_t> rgba(std::size_t(f.width) * f.height * 4);
        std::vector<double> sized;
        for (int i = 0; i < 30; ++i) {
            const auto start = Clock::now();
            render::scaleTo(screen.canvas(), f.width, f.height, rgba.data());
            sized.push_back(micros(start));
        }
        std::printf("the picture at %dx%d (%s): %.0f us (median of %zu)\n", f.width, f.height,
                    r.what, median(sized), sized.size());
    }
    return 0;
}

#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/Simulator.h"
#include "renderer/Canvas.h"

// What every front end shares: the simulator, the picture of the diagram and where
// a click lands. A front end feeds it the mouse, the timer ticks and the speed
// field's text, mirrors its timers, starts the companion it names, shows the error
// box it reports, and copies the changed rectangles of the picture to the screen.
namespace procesor::render {

class Renderer;

class Screen {
public:
    explicit Screen(Simulator::ErrorSink showError = {});
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Simulator& simulator() { return sim_; }
    const Simulator& simulator() const { return sim_; }

    // The left mouse button at a client pixel. A panel, a data switch or an arrow
    // takes the click when the button goes up over the element it went down on; a
    // data switch and an arrow look pushed in while held. Returns the command of a
    // companion program to start, if the click was on a block, gate or listing line.
    void mouseDown(int x, int y);
    std::optional<std::string> mouseUp(int x, int y);

    // A tick of Timer1..Timer5. For Timer1 the front end says how long until
    // Timer5 is due (a large number when it is off).
    void timerTick(int timer, int releaseDueInMs = 1 << 30);
    // The user typed into Edit17, or pressed Up/Down there (+1 / -1).
    void speedEdited(std::string_view text);
    void speedArrow(bool up);

    // Timers as the handlers left them. `starts` changes whenever a handler switched
    // the timer on from off (also off and on again within one handler): the front
    // end then starts it over with its full interval. Switching on a timer that is
    // on already does not restart it.
    struct TimerState {
        bool enabled;
        int interval;
        unsigned starts;
    };
    TimerState timer(int n) const;

    // Draws what changed since the last call (the whole client area on the first)
    // and returns the changed rectangles.
    std::vector<Box> render();
    const Canvas& canvas() const;

private:
    Simulator sim_;
    std::unique_ptr<Renderer> renderer_;
    // held element, hit-testing state ... (renderer's own)
};

} // namespace procesor::render

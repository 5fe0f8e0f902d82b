#pragma once

#include <functional>
#include <string>
#include <vector>

#include "renderer/Screen.h"

// The steps that reach every reference frame, read from tests/frames/scenario.txt,
// one a line: "click X Y" (a left click at a client pixel), "down X Y" and "up X Y"
// (the button alone), "tick N" (a tick of TimerN, if it runs), "frame NAME" (the picture now
// must equal NAME.png); blank lines and lines starting with "#" are skipped.
namespace procesor::testing {

struct Step {
    enum Kind { Click, Down, Up, Tick, Frame };
    Kind kind = Frame;
    int x = 0; // or the timer's number
    int y = 0;
    std::string name;
    int line = 0;
};

// Empty with `error` set when a line is not understood.
std::vector<Step> readScenario(const std::string& path, std::string& error);

// Feeds the steps to the screen, bringing its picture up to date after each one as
// a front end does, and hands over the picture at every frame step.
void walk(render::Screen& screen, const std::vector<Step>& steps,
          const std::function<void(const Step&, const render::Canvas&)>& atFrame);

} // namespace procesor::testing

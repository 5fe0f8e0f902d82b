#pragma once

#include <functional>
#include <string>
#include <vector>

#include "screen/Screen.h"

// The steps that reach every reference frame, read from tests/frames/scenario.txt,
// one a line: "click X Y" (a left click at a client pixel), "down X Y" and "up X Y"
// (the button alone), "tick N" (a tick of TimerN, if it runs), "frame NAME" (the picture now
// must equal NAME.png), "program WORD..." (RAM now holds this program, as its text
// gives it: the place where a program brought in as text takes up the walk); blank
// lines and lines starting with "#" are skipped.
namespace procesor::testing {

struct Step {
    enum Kind { Click, Down, Up, Tick, Frame, Program };
    Kind kind = Frame;
    int x = 0; // or the timer's number
    int y = 0;
    std::string name; // of a frame, or the program's text
    int line = 0;
};

// Empty with `error` set when a line is not understood.
std::vector<Step> readScenario(const std::string& path, std::string& error);

// The steps from the program step on, for a walk that brings the program in as
// text instead of entering it by clicks; empty when there is no program step.
std::vector<Step> fromProgram(const std::vector<Step>& steps);

// Feeds the steps to the screen, bringing its picture up to date after each one as
// a front end does, and hands over the picture at every frame step. Returns what
// went wrong on the way: a program step that RAM does not hold.
std::string walk(render::Screen& screen, const std::vector<Step>& steps,
                 const std::function<void(const Step&, const render::Canvas&)>& atFrame);

} // namespace procesor::testing

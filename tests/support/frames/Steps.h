#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// The steps that reach reference frames, one grammar for the diagram
// (tests/frames/scenario.txt) and for every explainer
// (tests/frames/explain/COMMAND/steps.txt), read by every front end's test. One step
// a line; blank lines and lines starting with "#" are skipped:
//   open Image N | open Label N   the element an explainer is opened on (first step
//                                  only; without it the explainer opens as the
//                                  desktop program does)
//   click X Y                      a left click at pixel X,Y (button down and up)
//   down X Y | move X Y | up X Y   the button alone, or the pointer moved while held
//   key tab|backtab|space|enter|left|right|up|down
//   tick N                         one tick of TimerN (1..5) if it runs, none if not
//   frame NAME                     the picture now equals NAME.png (letters, digits
//                                  and dashes, each name once)
//   program WORD...                RAM now holds this program (once): where a walk
//                                  that brings the program in as text starts
namespace procesor::testing {

struct Step {
    enum Kind { Open, Click, Down, Move, Up, Key, Tick, Frame, Program };
    Kind kind = Frame;
    int x = 0;
    int y = 0;
    int number = 0;   // the timer's, or the opened element's
    std::string word; // the frame's name, the key's, the element's kind, the program's text
    int line = 0;
};

// The steps of a file; empty with `error` set (file and line) when it cannot be read,
// has no steps or a line is not understood.
std::vector<Step> readSteps(const std::string& path, std::string& error);

// Empty when every step is of one of the kinds a walker takes; else which is not.
std::string onlyKinds(const std::vector<Step>& steps, std::initializer_list<Step::Kind> kinds);

// The steps from the program step on, for a walk that brings the program in as text
// instead of entering it by clicks; empty when there is no program step.
std::vector<Step> fromProgram(const std::vector<Step>& steps);

} // namespace procesor::testing

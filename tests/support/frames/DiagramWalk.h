#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "screen/Screen.h"
#include "tests/support/frames/Steps.h"

// The diagram's steps (tests/frames/scenario.txt) walked on the headless screen.
namespace procesor::testing {

// The kinds of step the diagram's walks take, in every front end.
inline constexpr std::initializer_list<Step::Kind> kDiagramSteps = {
    Step::Click, Step::Down, Step::Up, Step::Tick, Step::Frame, Step::Program};

// Feeds the steps to the screen, bringing its picture up to date after each one as
// a front end does, and hands over the picture at every frame step. Returns what
// went wrong on the way: a step the diagram does not take, a program step that RAM
// does not hold.
std::string walk(screen::Screen& screen, const std::vector<Step>& steps,
                 const std::function<void(const Step&, const render::Canvas&)>& atFrame);

} // namespace procesor::testing

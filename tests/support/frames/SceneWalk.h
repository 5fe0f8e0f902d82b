#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "companions/common/Scene.h"
#include "tests/support/frames/Steps.h"

// An explainer's steps (tests/frames/explain/COMMAND/steps.txt) walked on its
// headless scene.
namespace procesor::testing {

// The kinds of step the explainers' walks take, in every front end.
inline constexpr std::initializer_list<Step::Kind> kSceneSteps = {
    Step::Open, Step::Click, Step::Down, Step::Move, Step::Up, Step::Key, Step::Frame};

// The element an open step names, if the steps start with one.
std::optional<explain::Opening> openingOf(const std::vector<Step>& steps);
// The key of a key step.
explain::Key keyOf(const Step& step);

// Feeds the steps to the scene, renders after each as a front end does, and checks
// that the changed rectangles cover every pixel that changed (a failure is reported
// through `fault`, as is a step the explainers do not take); hands over the picture
// at every frame step.
void walk(explain::Scene& scene, const std::vector<Step>& steps,
          const std::function<void(const Step&, const render::Canvas&)>& atFrame,
          const std::function<void(const Step&, const std::string&)>& fault);

} // namespace procesor::testing

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "companions/common/Scene.h"

// The steps that reach an explainer's reference frames, read from
// tests/frames/explain/COMMAND/steps.txt, one a line:
//   open Image 9 | open Label 17   the element the scene is opened on (first line only;
//                                  without it the scene opens as the desktop program does)
//   click X Y                      a left click at a scene pixel (down and up there)
//   down X Y | move X Y | up X Y   the button alone, or the pointer moved while held
//   key tab|backtab|space|enter|left|right|up|down
//   frame NAME                     the picture now must equal NAME.png
// Blank lines and lines starting with "#" are skipped.
namespace procesor::testing {

struct ExplainStep {
    enum Kind { Click, Down, Move, Up, Key, Frame };
    Kind kind = Frame;
    int x = 0;
    int y = 0;
    explain::Key key = explain::Key::Tab;
    std::string name; // the frame's, or the key's word
    int line = 0;
};

struct ExplainScript {
    std::optional<explain::Opening> opening;
    std::vector<ExplainStep> steps;
};

// Empty steps with `error` set when the file cannot be read or a line is not understood.
ExplainScript readExplainScript(const std::string& path, std::string& error);

// Feeds the steps to the scene, renders after each as a front end does, and checks
// that the changed rectangles cover every pixel that changed (a failure is reported
// through `fault`); hands over the picture at every frame step.
void walk(explain::Scene& scene, const std::vector<ExplainStep>& steps,
          const std::function<void(const ExplainStep&, const render::Canvas&)>& atFrame,
          const std::function<void(const ExplainStep&, const std::string&)>& fault);

} // namespace procesor::testing

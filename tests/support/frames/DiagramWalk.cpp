#include "tests/support/frames/DiagramWalk.h"

namespace procesor::testing {

std::string walk(screen::Screen& screen, const std::vector<Step>& steps,
                 const std::function<void(const Step&, const render::Canvas&)>& atFrame) {
    std::string problems = onlyKinds(steps, kDiagramSteps);
    if (!problems.empty()) return problems;
    screen.render();
    for (const Step& s : steps) {
        switch (s.kind) {
        case Step::Click:
            screen.mouseDown(s.x, s.y);
            screen.render();
            screen.mouseUp(s.x, s.y);
            break;
        case Step::Down:
            screen.mouseDown(s.x, s.y);
            break;
        case Step::Up:
            screen.mouseUp(s.x, s.y);
            break;
        case Step::Tick:
            if (screen.timer(s.number).enabled) screen.timerTick(s.number);
            break;
        case Step::Program:
            if (const std::string held = screen.simulator().programText(); held != s.word)
                problems += "line " + std::to_string(s.line) + ": RAM holds \"" + held +
                            "\", not \"" + s.word + "\"\n";
            break;
        default:
            break;
        }
        screen.render();
        if (s.kind == Step::Frame) atFrame(s, screen.canvas());
    }
    return problems;
}

} // namespace procesor::testing

#include "tests/picture/Scenario.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace procesor::testing {

std::vector<Step> readScenario(const std::string& path, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return {};
    }
    std::vector<Step> steps;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        std::istringstream in(text);
        std::string word;
        if (!(in >> word) || word[0] == '#') continue;
        Step s;
        s.line = line;
        bool ok = true;
        if (word == "click" || word == "down" || word == "up") {
            s.kind = word == "click" ? Step::Click : word == "down" ? Step::Down : Step::Up;
            ok = bool(in >> s.x >> s.y);
        } else if (word == "tick") {
            s.kind = Step::Tick;
            ok = bool(in >> s.x) && s.x >= 1 && s.x <= 5;
        } else if (word == "frame") {
            // A name is a file name: letters, digits and dashes, each used once.
            ok = bool(in >> s.name) &&
                 std::all_of(s.name.begin(), s.name.end(),
                             [](char ch) {
                                 return std::isalnum(static_cast<unsigned char>(ch)) || ch == '-';
                             }) &&
                 std::none_of(steps.begin(), steps.end(), [&](const Step& o) {
                     return o.kind == Step::Frame && o.name == s.name;
                 });
        } else if (word == "program") {
            s.kind = Step::Program;
            while (in >> word) s.name += (s.name.empty() ? "" : " ") + word;
            ok = !s.name.empty() && std::none_of(steps.begin(), steps.end(), [](const Step& o) {
                return o.kind == Step::Program;
            });
        } else {
            ok = false;
        }
        if (!ok || (in >> word)) {
            error = path + ":" + std::to_string(line) + ": not understood: " + text;
            return {};
        }
        steps.push_back(s);
    }
    return steps;
}

std::vector<Step> fromProgram(const std::vector<Step>& steps) {
    const auto program = std::find_if(steps.begin(), steps.end(),
                                      [](const Step& s) { return s.kind == Step::Program; });
    return {program, steps.end()};
}

std::string walk(render::Screen& screen, const std::vector<Step>& steps,
                 const std::function<void(const Step&, const render::Canvas&)>& atFrame) {
    std::string problems;
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
            if (screen.timer(s.x).enabled) screen.timerTick(s.x);
            break;
        case Step::Frame:
            break;
        case Step::Program:
            if (const std::string held = screen.simulator().programText(); held != s.name)
                problems += "scenario line " + std::to_string(s.line) + ": RAM holds \"" + held +
                            "\", not \"" + s.name + "\"\n";
            break;
        }
        screen.render();
        if (s.kind == Step::Frame) atFrame(s, screen.canvas());
    }
    return problems;
}

} // namespace procesor::testing

#pragma once

#include <string>

#include "companions/common/Controls.h"

// A student's input to an explainer scene in the tests: a click in the middle of a
// control, as the mouse gives it, with the picture rendered after it as a front end
// does; a lamp or a word set by as many clicks as it takes.
namespace procesor::testing {

inline void press(explain::Scene& scene, const explain::Control& control) {
    const explain::Box b = control.box();
    scene.mouseDown(b.x + b.w / 2, b.y + b.h / 2);
    scene.mouseUp(b.x + b.w / 2, b.y + b.h / 2);
    scene.render();
}

inline void setLamp(explain::Scene& scene, explain::Lamp& lamp, bool on) {
    if (lamp.on() != on) press(scene, lamp);
}

inline void setWord(explain::Scene& scene, explain::WordCells& word, int value) {
    for (int bit = 0; bit < 4; ++bit)
        if (word.cell(bit).on() != (((value >> bit) & 1) != 0)) press(scene, word.cell(bit));
}

inline bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace procesor::testing

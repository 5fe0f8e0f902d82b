#pragma once

#include <map>
#include <memory>

#include "companions/common/Scene.h"
#include "model/MachineMessage.h"
#include "panel/Simulator.h"
#include "picture/Element.h"

namespace procesor::screen {

// The explainers open in the same program as the diagram (the page), each a scene
// under a handle (1, 2, ...). One opened from the diagram opens on the element clicked
// and on the student's machine as the diagram shows it then, following it; after each
// update of the screen the machine goes to every open scene once more, and those that
// still follow show it. A scene is only told when the machine changed, so that an
// update that changed nothing leaves it as it is.
class OpenExplainers {
public:
    // The explainer of an element, following `sim` (nullptr: on its own, as the
    // desktop's program started alone); 0 when the element has none.
    int open(ElementKind kind, int number, const Simulator* sim);
    void close(int handle);
    // nullptr for a handle that is not open.
    explain::Scene* scene(int handle);
    // The machine after an update of the screen, to every scene that has a simulator.
    void follow(const Simulator& sim);
    bool empty() const { return open_.empty(); }

private:
    struct Open {
        std::unique_ptr<explain::Scene> scene;
        bool withSimulator = false;
        MachineMessage given; // the last state it was given
    };
    std::map<int, Open> open_;
    int next_ = 1;
};

} // namespace procesor::screen

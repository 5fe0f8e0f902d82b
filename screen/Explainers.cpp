#include "screen/Explainers.h"

#include "companions/Scenes.h"
#include "panel/MachineState.h"
#include "screen/CompanionClicks.h"

namespace procesor::screen {

int OpenExplainers::open(ElementKind kind, int number, const Simulator* sim) {
    const char* command = companionFor(kind, number);
    if (!command) return 0;
    const explain::Opening opening{kind, number};
    std::unique_ptr<explain::Scene> scene = explain::makeScene(command, &opening);
    if (!scene) return 0;
    Open o;
    o.scene = std::move(scene);
    if (sim) {
        o.withSimulator = true;
        o.given = machineMessage(*sim);
        o.scene->simulatorState(o.given);
    }
    const int handle = next_++;
    open_.emplace(handle, std::move(o));
    return handle;
}

void OpenExplainers::close(int handle) {
    open_.erase(handle);
}

explain::Scene* OpenExplainers::scene(int handle) {
    const auto at = open_.find(handle);
    return at == open_.end() ? nullptr : at->second.scene.get();
}

void OpenExplainers::follow(const Simulator& sim) {
    if (open_.empty()) return;
    const MachineMessage now = machineMessage(sim);
    for (auto& [handle, o] : open_) {
        if (!o.withSimulator || o.given == now) continue;
        o.given = now;
        o.scene->simulatorState(now);
    }
}

} // namespace procesor::screen

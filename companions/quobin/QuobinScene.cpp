#include "companions/quobin/QuobinScene.h"

namespace procesor::explain {

// Not drawn by a scene yet: the desktop program is still its own Qt window.
std::unique_ptr<Scene> makeQuobinScene(const Opening*) {
    return nullptr;
}

} // namespace procesor::explain

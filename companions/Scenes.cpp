#include "companions/Scenes.h"

#include <array>

namespace procesor::explain {

namespace {

const std::array<SceneEntry, 6> kScenes = {{
    {"vondrel", makeVondrelScene},
    {"plimo", makePlimoScene},
    {"sarvek", makeSarvekScene},
    {"quobin", makeQuobinScene},
    {"tamrelA", makeTamrelAScene},
    {"tamrelB", makeTamrelBScene},
}};

} // namespace

std::span<const SceneEntry> scenes() {
    return kScenes;
}

std::unique_ptr<Scene> makeScene(std::string_view command, const Opening* opening) {
    for (const SceneEntry& e : kScenes)
        if (e.command == command) return e.make(opening);
    return nullptr;
}

} // namespace procesor::explain

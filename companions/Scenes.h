#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "companions/common/Scene.h"

// The explainers, one row each: the command the diagram's companion table names
// (the desktop program of that name shows the scene) and how to make the scene.
namespace procesor::explain {

struct SceneEntry {
    std::string_view command;
    // Makes the scene, opened on the diagram's element clicked (nullptr: the
    // desktop program, started without one).
    std::unique_ptr<Scene> (*make)(const Opening* opening);
};

std::span<const SceneEntry> scenes();
// The scene of a command, or nullptr when there is none (yet) for it.
std::unique_ptr<Scene> makeScene(std::string_view command, const Opening* opening = nullptr);

} // namespace procesor::explain

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

// The makers of the table's rows, each defined beside its scene in the scene's folder.
std::unique_ptr<Scene> makeVondrelScene(const Opening* opening);
std::unique_ptr<Scene> makePlimoScene(const Opening* opening);
std::unique_ptr<Scene> makeSarvekScene(const Opening* opening);
std::unique_ptr<Scene> makeQuobinScene(const Opening* opening);
// Registers A and B: how a register takes the bus with its write strobe (the write
// signal AND Phi2), and, for A, how A/R puts it on the bus.
std::unique_ptr<Scene> makeTamrelAScene(const Opening* opening);
std::unique_ptr<Scene> makeTamrelBScene(const Opening* opening);

// The scene of a command, or nullptr when there is none (yet) for it.
std::unique_ptr<Scene> makeScene(std::string_view command, const Opening* opening = nullptr);

} // namespace procesor::explain

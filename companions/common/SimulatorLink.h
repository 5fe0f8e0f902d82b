#pragma once

#include <cstdint>
#include <span>

#include "companions/common/Scene.h"
#include "model/MachineMessage.h"

namespace procesor::explain {

// The bytes a simulator sends, for a scene that follows it (the desktop's socket, a
// test). Each whole message goes to the scene as the simulator's state; a garbled one
// breaks the link for good and ends following, as a lost connection does. The scene
// itself goes on as it was, on its own machine.
class SimulatorLink {
public:
    explicit SimulatorLink(Scene& scene) : scene_(scene) {}
    // False once the link is broken (then or before).
    bool received(std::span<const std::uint8_t> bytes);
    void lost();
    bool broken() const { return reader_.broken() || lost_; }
    // The messages taken so far.
    int messages() const { return messages_; }

private:
    Scene& scene_;
    MessageReader reader_;
    bool lost_ = false;
    int messages_ = 0;
};

} // namespace procesor::explain

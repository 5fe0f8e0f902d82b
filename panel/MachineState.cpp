#include "panel/MachineState.h"

#include "panel/Colours.h"
#include "panel/SignalOverlays.h"

namespace procesor {

namespace {

constexpr int kStartStop = 2;

} // namespace

MachineMessage machineMessage(const Simulator& sim, std::optional<ClickedElement> clicked) {
    MachineMessage msg;
    msg.machine = sim.model();
    const ElementState& el = sim.elements();
    for (int line = 0; line < 16; ++line)
        if (el.label[std::size_t(kFirstListingLine) + std::size_t(line)].colour == clYellow) msg.line = line;
    if (sim.programmingMode())
        msg.state = RunState::Programming;
    else if (el.panel[kStartStop].colour == clCream)
        msg.state = RunState::Halted;
    else
        msg.state = RunState::Running;
    msg.clicked = clicked;
    return msg;
}

} // namespace procesor

#pragma once

// Small helpers shared by the headless tests: loading a program, clocking the
// machine, reading what the diagram shows.

#include <initializer_list>
#include <vector>

#include "panel/SignalOverlays.h"
#include "panel/Simulator.h"

namespace testing {

using procesor::ElementState;
using procesor::ProcessorModel;
using procesor::Simulator;

inline void loadProgram(ProcessorModel& m, std::initializer_list<int> words) {
    int address = 0;
    for (int w : words) m.ram[static_cast<std::size_t>(address++)] = w;
}

// A simulator in run mode, just entered, with a program in RAM.
inline Simulator runMode(std::initializer_list<int> words) {
    Simulator sim;
    loadProgram(sim.model(), words);
    sim.Panel7Click();
    return sim;
}

// One accepted manual pulse followed by the release of "ručně".
inline void pulse(Simulator& sim) {
    sim.Panel1Click();
    if (sim.elements().timer[5].enabled) sim.Button1Click();
}

inline void pulses(Simulator& sim, int count) {
    for (int i = 0; i < count; ++i) pulse(sim);
}

inline std::vector<int> labelsColoured(const ElementState& el, int first, int last,
                                       procesor::Rgb colour) {
    std::vector<int> found;
    for (int n = first; n <= last; ++n)
        if (el.label[n].colour == colour) found.push_back(n);
    return found;
}

// The listing labels (lines and instruction names) that are marked yellow.
inline std::vector<int> markedListing(const ElementState& el) {
    return labelsColoured(el, 13, 34, procesor::clYellow);
}

inline std::vector<int> markedRamCells(const ElementState& el) {
    return labelsColoured(el, 35, 50, procesor::clYellow);
}

template <typename Images> bool allShown(const ElementState& el, const Images& images, bool shown) {
    for (int image : images)
        if (image != 0 && el.image[image].visible != shown) return false;
    return true;
}

// Which of a four-line group (index = bit) is lit, as a value.
inline int shownValue(const ElementState& el, const std::array<int, 4>& lines) {
    int v = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (el.image[lines[bit]].visible) v |= 1 << bit;
    return v;
}

inline int busShown(const ElementState& el) {
    int v = 0;
    for (int bit = 0; bit < 4; ++bit) {
        const auto& group = procesor::kBusImages[static_cast<std::size_t>(bit)];
        const bool lit = el.image[group[0]].visible;
        for (int image : group)
            if (el.image[image].visible != lit) return -1; // a bus line shown only in part
        if (lit) v |= 1 << bit;
    }
    return v;
}

} // namespace testing

#pragma once

#include <array>
#include <string>

#include "panel/Colours.h"

namespace procesor {

// Bevel kinds of a panel. Space is stored by some buttons and is drawn as Raised.
enum class Bevel { None, Lowered, Raised, Space };

struct Picture {
    bool visible = false;
    bool operator==(const Picture&) const = default;
};

struct Label {
    std::string caption;           // UTF-8
    Rgb colour = clInactiveBorder; // background; the window's colour for plain texts
    bool operator==(const Label&) const = default;
};

struct Panel {
    std::string caption;
    Rgb colour = clCream;
    Bevel outer = Bevel::None;
    Bevel inner = Bevel::None;
    bool operator==(const Panel&) const = default;
};

struct Button {
    std::string caption;
    bool visible = true;
    bool operator==(const Button&) const = default;
};

struct Edit {
    std::string text;
    bool visible = true;
    bool operator==(const Edit&) const = default;
};

struct UpDown {
    int position = 4;
    int min = 1;
    int max = 7;
    bool operator==(const UpDown&) const = default;
};

struct Timer {
    bool enabled = false;
    int interval = 0; // ms
    bool operator==(const Timer&) const = default;
};

// Everything of the diagram that a handler reads or writes, addressed by the
// component's number: image[118] is Image118, label[66] is Label66, timer[1] is
// Timer1. The window draws exactly this state.
struct ElementState {
    static constexpr int kImages = 266; // Image1..Image265
    static constexpr int kLabels = 67;  // Label1..Label66
    static constexpr int kPanels = 8;   // Panel1..Panel7
    static constexpr int kButtons = 15; // Button1, Button8..Button14
    static constexpr int kTimers = 6;   // Timer1..Timer5

    std::array<Picture, kImages> image{};
    std::array<Label, kLabels> label{};
    std::array<Panel, kPanels> panel{};
    std::array<Button, kButtons> button{};
    Edit edit17;
    UpDown upDown1;
    std::array<Timer, kTimers> timer{};

    // The stored start-up state of the window: programming mode, line 0000 and
    // RAM cell 0 marked, all digits "0", only the PC/I wire lit.
    static ElementState startup();

    bool operator==(const ElementState&) const = default;
};

} // namespace procesor

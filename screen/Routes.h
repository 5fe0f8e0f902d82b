#pragma once

#include <array>
#include <string_view>

#include "panel/Simulator.h"

// Which handler each control and each timer calls, for every front end. The
// diagram's own elements (blocks, gates and listing lines) start companions
// instead, through kCompanionClicks.
namespace procesor {

using Handler = void (Simulator::*)();

// A handler under its component's number and under the name the window's design
// gives it: the release ticks of Timer2..Timer4 are "Button12click".."Button14click",
// written so there, while the code spells every handler alike (Button12Click).
struct Route {
    int number;
    Handler handler;
    std::string_view name;
};

inline constexpr std::array<Route, 7> kPanelClicks = {{
    {1, &Simulator::Panel1Click, "Panel1Click"},
    {2, &Simulator::Panel2Click, "Panel2Click"},
    {3, &Simulator::Panel3Click, "Panel3Click"},
    {4, &Simulator::Panel4Click, "Panel4Click"},
    {5, &Simulator::Panel5Click, "Panel5Click"},
    {6, &Simulator::Panel6Click, "Panel6Click"},
    {7, &Simulator::Panel7Click, "Panel7Click"},
}};

inline constexpr std::array<Route, 4> kSwitchClicks = {{
    {8, &Simulator::Button8Click, "Button8Click"},
    {9, &Simulator::Button9Click, "Button9Click"},
    {10, &Simulator::Button10Click, "Button10Click"},
    {11, &Simulator::Button11Click, "Button11Click"},
}};

// The hidden buttons carry the release handlers; the release timers tick them.
inline constexpr std::array<Route, 4> kReleaseHandlers = {{
    {1, &Simulator::Button1Click, "Button1Click"},
    {12, &Simulator::Button12Click, "Button12click"},
    {13, &Simulator::Button13Click, "Button13click"},
    {14, &Simulator::Button14Click, "Button14click"},
}};
// Timer2..Timer5 release "krokování", "zápis do RAM", "nulování" and "ručně".
// Timer1, the automatic clock, ticks Panel1Click through Simulator::Timer1Tick.
inline constexpr std::array<Route, 4> kReleaseTicks = {{
    {2, &Simulator::Button12Click, "Button12click"},
    {3, &Simulator::Button13Click, "Button13click"},
    {4, &Simulator::Button14Click, "Button14click"},
    {5, &Simulator::Button1Click, "Button1Click"},
}};

// The handler of a route's number in one table, or nullptr.
template <std::size_t N> constexpr Handler routeOf(const std::array<Route, N>& table, int number) {
    for (const Route& r : table)
        if (r.number == number) return r.handler;
    return nullptr;
}

} // namespace procesor

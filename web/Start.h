#pragma once

#include <array>

#include "picture/DiagramLayout.h"
#include "screen/Screen.h"

// The page's start, shared by the module (exports.cpp) and the build's tool that
// paints the picture the page shows before the module has started (start_picture.cpp):
// both must show the same state, with the fields in the same places.
namespace procesor::web {

// The screen as the page starts it: the focus in the speed field.
inline screen::Screen::Update start(screen::Screen& s) {
    return s.focus(screen::Screen::kEdit17);
}

// Where the page puts its own fields: x, y, w, h of Edit17, UpDown1 and Memo1, then
// the client area's width and height.
inline constexpr std::array<int, 14> kPlaces = {
    layout::kEdit17.x,  layout::kEdit17.y,  layout::kEdit17.w,  layout::kEdit17.h,
    layout::kUpDown1.x, layout::kUpDown1.y, layout::kUpDown1.w, layout::kUpDown1.h,
    layout::kMemo1.x,   layout::kMemo1.y,   layout::kMemo1.w,   layout::kMemo1.h,
    layout::kClientWidth, layout::kClientHeight};

} // namespace procesor::web

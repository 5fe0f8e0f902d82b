#pragma once

#include <span>
#include <string_view>

#include "panel/Colours.h"
#include "picture/Canvas.h"

// Where everything of the diagram lies, in client pixels of the one window (x to the
// right, y downwards), written once in the diagram's own names: Image118 is image
// 118, Label66 is label 66. Which overlays show which signal is kept with the
// handlers (SignalOverlays.h); this file only says where things are.
namespace procesor::layout {

using render::Box;

inline constexpr int kClientWidth = 1024;
inline constexpr int kClientHeight = 715;
// The frame's top-left corner, so that on a 1024 x 768 screen the side borders lie
// just outside the screen.
inline constexpr int kFrameLeft = -4;
inline constexpr int kFrameTop = -5;

// ---- static artwork --------------------------------------------------------

enum class Run { Horizontal, Vertical };

// A green wire two pixels wide. Horizontal "y = Y, x A-B" covers rows Y and Y+1
// from column A up to, not including, column B; vertical likewise.
struct Wire {
    int image;
    Run run;
    int at; // y of a horizontal wire, x of a vertical one
    int from;
    int to;
    constexpr Box box() const {
        return run == Run::Horizontal ? Box{from, at, to - from, 2} : Box{at, from, 2, to - from};
    }
};

// A junction dot, 4 x 4, where a branch meets the wire it branches from.
struct Dot {
    int image;
    int x;
    int y;
    constexpr Box box() const { return {x, y, 4, 4}; }
};

enum class Art { ControlUnit, Register, Ram, AndGate, OpenSwitch, ClosedSwitch };

// A block picture. `picture` is what it paints (opaque, white inside), `element` the
// box that takes its clicks, which may be larger.
struct Block {
    int image;
    Art art;
    Box picture;
    Box element;
    std::string_view title; // bold first line (UTF-8)
    std::string_view line1; // regular lines below it
    std::string_view line2;
};

std::span<const Wire> wires();
std::span<const Dot> dots();
std::span<const Block> blocks();

// ---- signal overlays ---------------------------------------------------------

// The red pixels of one overlay picture: a line overlay is three pixels wide from
// the top-left pixel of the wire it marks, a dot overlay 5 x 5 from the dot's.
struct Overlay {
    int image;
    Box red;
};
std::span<const Overlay> overlays();
// The overlay of an image, or nullptr when the image is not an overlay.
const Overlay* overlay(int image);

// ---- labels --------------------------------------------------------------------

enum class TextFont {
    Window,     // MS Sans Serif 11 px (8 pt), bars 13 px high
    WindowBold, // the same, bold
    Digits,     // MS Sans Serif 16 px bold, bars 20 px high
};

// A label's top-left corner, its font and its ink. Its width follows its caption.
struct LabelPlace {
    int label;
    int x;
    int y;
    TextFont font;
    Rgb ink;
};
std::span<const LabelPlace> labels();
const LabelPlace* label(int number);

// ---- controls ------------------------------------------------------------------

struct Control {
    int number; // Panel1 -> 1, Button8 -> 8
    Box box;
};
std::span<const Control> panels(); // Panel1..Panel7
// The data switches Button8..Button11 (bits 3..0) and the ink of their captions.
struct SwitchPlace {
    int button;
    Box box;
    Rgb ink;
};
std::span<const SwitchPlace> dataSwitches();

inline constexpr Box kEdit17 = {954, 312, 23, 21};
inline constexpr Box kUpDown1 = {977, 312, 16, 21};
inline constexpr Box kMemo1 = {864, 424, 129, 217};

// The instruction codes in Memo1, one entry a line, blanks included (UTF-8).
std::span<const std::string_view> memoLines();

} // namespace procesor::layout

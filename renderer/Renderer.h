#pragma once

#include <array>
#include <vector>

#include "panel/ElementState.h"
#include "renderer/Canvas.h"

// The whole client area drawn from the layout tables and the element state, back to
// front: the window's colour with the green wires and junction dots, the red
// overlays that are lit, the block pictures, the labels, then the controls (panels,
// data switches, the speed field, its arrows and the instruction box). The speed
// field and the instruction box are drawn with their texts as they stand in the
// element state and the layout; a front end lays its own editable fields over them,
// which show the same pixels until the student edits one.
namespace procesor::render {

// What the front end's mouse and keyboard do to the controls' looks: a control held
// down with the mouse looks pushed in until the button goes up; the data switch
// with the keyboard focus shows the classic dotted focus frame.
struct ControlLook {
    int dataSwitch = 0; // held: Button8..Button11, 0 for none
    int arrow = 0;      // held: +1 the up arrow, -1 the down arrow, 0 for none
    int focus = 0;      // Button8..Button11 with the keyboard focus, 0 for none
    constexpr bool operator==(const ControlLook&) const = default;
};
using Pushed = ControlLook;

class Renderer {
public:
    Renderer();

    // Brings the canvas in line with the state and returns the rectangles that
    // changed: the whole client area on the first call, then only what differs from
    // the state drawn last.
    std::vector<Box> render(const ElementState& state, Pushed pushed = {});
    // Draws everything anew, whatever was drawn before.
    void renderAll(const ElementState& state, Pushed pushed = {});

    const Canvas& canvas() const { return canvas_; }
    // Where a label's bar lies as drawn: its width follows its caption.
    Box labelBar(int label) const;

private:
    void noteLabel(int label, const Label& now);
    void markImage(int image);
    void mark(Box box);
    void paint(Box clip);

    Canvas canvas_;
    ElementState drawn_;
    Pushed pushed_;
    bool drawnOnce_ = false;
    std::array<Box, ElementState::kImages> imageAreas_{};
    std::array<Box, ElementState::kLabels> labelBars_{};
    std::vector<Box> dirty_;
};

// The bar a label takes with a caption (the label's place and font from the layout).
Box labelBarFor(int label, std::string_view caption);

} // namespace procesor::render

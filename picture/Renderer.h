#pragma once

#include <array>
#include <string>
#include <vector>

#include "panel/ElementState.h"
#include "picture/Canvas.h"

// The whole client area drawn from the layout tables and the element state, back to
// front: the window's colour with the green wires and junction dots, the red
// overlays that are lit, the block pictures, the labels, then the controls (panels,
// data switches, the speed field, its arrows and the instruction box). The speed
// field and the instruction box are drawn with their texts as they stand in the
// element state and the layout; a front end lays its own editable fields over them,
// which show the same pixels until the student edits one.
namespace procesor::render {

// What the front end's mouse and keyboard do to the controls' looks: a control held
// down with the mouse looks pushed in until the button goes up; the data switch, the
// panel or the arrow with the keyboard focus shows the classic dotted focus frame.
struct ControlLook {
    int dataSwitch = 0; // held: Button8..Button11, 0 for none
    int arrow = 0;      // held: +1 the up arrow, -1 the down arrow, 0 for none
    int focus = 0;      // Button8..Button11 with the keyboard focus, 0 for none
    int focusPanel = 0; // Panel1..Panel7 with the keyboard focus, 0 for none
    int focusArrow = 0; // the arrow with the keyboard focus: +1 up, -1 down, 0 none
    // A block or gate (ImageN) or a listing line (LabelN) with the keyboard focus, 0 for
    // none: the frame goes round it just outside its edge, over whatever lies there.
    int focusImage = 0;
    int focusLabel = 0;
    constexpr bool operator==(const ControlLook&) const = default;
};

// The text of Memo1 as the student left it (the stored lines at start; nothing reads
// it), how far the front end's fields have scrolled their texts and what is selected
// in the field that has the focus, so that the picture draws each text where the
// field above it has it, the selection in the classic colours.
struct Selection {
    int from = 0; // byte offsets into the field's UTF-8 text; empty when equal
    int to = 0;
    bool operator==(const Selection&) const = default;
};
struct FieldView {
    std::string memo1 = startMemoText();
    int memo1ScrollX = 0;
    int memo1ScrollY = 0;
    int edit17ScrollX = 0;
    Selection edit17Selection;
    Selection memo1Selection;
    // The text caret of the field that has the focus, as a byte offset into its text;
    // -1 where none is shown (a front end whose fields draw their own).
    int edit17Caret = -1;
    int memo1Caret = -1;
    bool operator==(const FieldView&) const = default;

    // The stored sixteen lines, one "\n" between each two.
    static std::string startMemoText();
};
using Pushed = ControlLook;

class Renderer {
public:
    Renderer();

    // Brings the canvas in line with the state and returns the rectangles that
    // changed: the whole client area on the first call, then only what differs from
    // the state drawn last.
    std::vector<Box> render(const ElementState& state, Pushed pushed = {},
                            const FieldView& fields = {});
    // Draws everything anew, whatever was drawn before.
    void renderAll(const ElementState& state, Pushed pushed = {}, const FieldView& fields = {});

    const Canvas& canvas() const { return canvas_; }
    // Where a label's bar lies as drawn: its width follows its caption.
    Box labelBar(int label) const;

private:
    void noteLabel(int label, const Label& now);
    void markImage(int image);
    void mark(Box box);
    void paint(Box clip);
    Box focusBox(const Pushed& pushed) const;

    Canvas canvas_;
    ElementState drawn_;
    Pushed pushed_;
    FieldView fields_;
    bool drawnOnce_ = false;
    std::array<Box, ElementState::kImages> imageAreas_{};
    std::array<Box, ElementState::kLabels> labelBars_{};
    std::vector<Box> dirty_;
};

// The bar a label takes with a caption (the label's place and font from the layout).
Box labelBarFor(int label, std::string_view caption);

} // namespace procesor::render

#include "picture/Renderer.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "panel/SignalOverlays.h"
#include "picture/Blocks.h"
#include "picture/DiagramLayout.h"
#include "picture/Paint.h"
#include "picture/Text.h"

namespace procesor::render {

namespace {

constexpr Rgb kInk = clBlack;
constexpr Rgb kPaper = clWhite;

constexpr Box kClient = {0, 0, layout::kClientWidth, layout::kClientHeight};

Face faceOf(layout::TextFont font) {
    switch (font) {
    case layout::TextFont::WindowBold:
        return Face::WindowBold;
    case layout::TextFont::Digits:
        return Face::Digits;
    case layout::TextFont::Window:
        break;
    }
    return Face::Window;
}

// The diagram's control unit: the listing's sixteen lines over the field row.
constexpr ControlUnitArt kControlUnitArt = {{}, 150, 2, 0, 12};

void paintBlock(Canvas& c, const layout::Block& b, Box clip) {
    const Box r = b.picture;
    switch (b.art) {
    case layout::Art::ControlUnit: {
        ControlUnitArt art = kControlUnitArt;
        art.box = r;
        paintControlUnit(c, art, clip);
        break;
    }
    case layout::Art::Register:
        paintRegister(c, r, b.title, b.line1, b.line2, clip);
        break;
    case layout::Art::Ram:
        paintRam(c, r, b.title, b.line1, clip);
        break;
    case layout::Art::AndGate:
        paintGate(c, r, clip);
        break;
    case layout::Art::OpenSwitch:
        paintSwitch(c, r, false, clip);
        break;
    case layout::Art::ClosedSwitch:
        paintSwitch(c, r, true, clip);
        break;
    }
}

// ---- controls ----------------------------------------------------------------

// A scroll arrow's edge: light grey outside, white inside on the top and left.
constexpr Edge kRaisedArrow = {kFace, kDarkShadow, kHighlight, kShadow};
constexpr Edge kPushedArrow = {kShadow, kHighlight, kDarkShadow, kFace};

// A data switch: a tiny push button whose bold caption, "0" or "1", is its state.
void paintDataSwitch(Canvas& c, const layout::SwitchPlace& s, const Button& b, bool down,
                     bool focus, Box clip) {
    const Box r = s.box;
    edge(c, r, down ? kPushedButton : kRaisedButton, &kFace, clip);
    const int shift = down ? 1 : 0;
    drawText(c, Face::WindowBold, r.x + (r.w - textWidth(Face::WindowBold, b.caption)) / 2 + shift,
             r.y + (r.h - lineHeight(Face::WindowBold)) / 2 + shift, b.caption, s.ink,
             intersect(clip, shrink(r, 2, 2, 2, 2)));
    if (focus) focusFrame(c, shrink(r, 2, 2, 3, 3), clip);
}

// One arrow of UpDown1: the scroll-arrow edge and a small solid triangle, 5 pixels
// wide at its base.
void paintArrow(Canvas& c, Box r, bool up, bool down, Box clip) {
    edge(c, r, down ? kPushedArrow : kRaisedArrow, &kFace, clip);
    const int shift = down ? 1 : 0;
    const int cx = r.x + r.w / 2 + shift - 1;
    const int top = r.y + (r.h - 3) / 2 + shift;
    for (int row = 0; row < 3; ++row) {
        const int half = up ? row : 2 - row;
        c.fill({cx - half, top + row, 2 * half + 1, 1}, kInk, clip);
    }
}

Box upArrow() {
    const Box b = layout::kUpDown1;
    return {b.x, b.y, b.w, b.h / 2};
}
Box downArrow() {
    const Box b = layout::kUpDown1;
    return {b.x, b.y + b.h / 2, b.w, b.h - b.h / 2};
}

// A field with the sunken two-pixel frame and its lines of text, where the front
// end's editable field puts them: the field, laid over this picture, shows the very
// same pixels until the student edits it.
constexpr int kFieldTextX = 5; // from the field's left edge
constexpr int kFieldTextY = 4;
constexpr int kMemoTextX = 4;
constexpr int kMemoTextY = 4;

// The classic colours of selected text.
constexpr Rgb kSelection = 0x0A246A;
constexpr Rgb kSelectedInk = clWhite;

// The text's lines, one per "\n", scrolled left by scrollX and up by scrollY pixels;
// the selected bytes white on dark blue; the caret, if any, a line of ink one pixel
// wide and one line high before the byte at `caret`.
void paintField(Canvas& c, Box r, Box clip, int textX, int textY, std::string_view text,
                int scrollX = 0, int scrollY = 0, Selection selected = {}, int caret = -1) {
    c.fill(r, kPaper, clip);
    edge(c, r, kSunkenField, nullptr, clip);
    const Box inside = intersect(clip, shrink(r, 2, 2, 2, 2));
    const int step = lineHeight(Face::Window);
    const std::size_t from =
        std::size_t(std::clamp(std::min(selected.from, selected.to), 0, int(text.size())));
    const std::size_t to =
        std::size_t(std::clamp(std::max(selected.from, selected.to), 0, int(text.size())));
    const int x = r.x + textX - scrollX;
    int y = r.y + textY - scrollY;
    std::size_t start = 0; // of the line in the text
    while (y < inside.y + inside.h) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (y + step > inside.y) {
            drawText(c, Face::Window, x, y, line, kInk, inside);
            const std::size_t a = std::clamp(from, start, end) - start;
            const std::size_t b = std::clamp(to, start, end) - start;
            if (a < b) {
                const int left = x + textWidth(Face::Window, line.substr(0, a));
                const std::string_view part = line.substr(a, b - a);
                c.fill({left, y, textWidth(Face::Window, part), step}, kSelection, inside);
                drawText(c, Face::Window, left, y, part, kSelectedInk, inside);
            }
            if (caret >= int(start) && caret <= int(end))
                c.fill({x + textWidth(Face::Window, line.substr(0, std::size_t(caret) - start)), y,
                        1, step},
                       kInk, inside);
        }
        if (end == text.size()) break;
        start = end + 1;
        y += step;
    }
}

// The dotted frame of a focused control, `inset` pixels inside its edge: on a panel's
// face one pixel in from the bevels, on an arrow's face round its triangle.
void focusInside(Canvas& c, Box r, int inset, Box clip) {
    focusFrame(c, shrink(r, inset, inset, inset, inset), clip);
}

} // namespace

std::string FieldView::startMemoText() {
    std::string text;
    for (std::string_view line : layout::memoLines()) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

Box labelBarFor(int label, std::string_view caption) {
    const layout::LabelPlace* place = layout::label(label);
    if (!place) return {};
    const Face face = faceOf(place->font);
    return {place->x, place->y, textWidth(face, caption), lineHeight(face)};
}

Renderer::Renderer() : canvas_(layout::kClientWidth, layout::kClientHeight) {
    for (const layout::Block& b : layout::blocks()) imageAreas_[b.image] = b.picture;
    for (const layout::Overlay& o : layout::overlays()) imageAreas_[o.image] = o.red;
    dirty_.reserve(256);
}

Box Renderer::labelBar(int label) const {
    if (label < 0 || label >= ElementState::kLabels) return {};
    return labelBars_[label];
}

void Renderer::renderAll(const ElementState& state, Pushed pushed, const FieldView& fields) {
    drawn_ = state;
    pushed_ = pushed;
    fields_ = fields;
    drawnOnce_ = true;
    for (const layout::LabelPlace& place : layout::labels())
        labelBars_[place.label] = labelBarFor(place.label, state.label[place.label].caption);
    paint(kClient);
}

void Renderer::mark(Box box) {
    box = intersect(box, kClient);
    if (box.w <= 0) return;
    for (const Box& d : dirty_)
        if (intersect(d, box) == box) return; // already covered
    dirty_.push_back(box);
}

void Renderer::markImage(int image) {
    mark(imageAreas_[image]);
}

void Renderer::noteLabel(int label, const Label& now) {
    mark(labelBars_[label]);
    if (now.caption != drawn_.label[label].caption)
        labelBars_[label] = labelBarFor(label, now.caption);
    mark(labelBars_[label]);
}

std::vector<Box> Renderer::render(const ElementState& now, Pushed pushed, const FieldView& fields) {
    dirty_.clear();
    if (!drawnOnce_) {
        renderAll(now, pushed, fields);
        return {kClient};
    }
    for (int n = 0; n < ElementState::kImages; ++n)
        if (now.image[n].visible != drawn_.image[n].visible) markImage(n);
    for (const layout::LabelPlace& place : layout::labels())
        if (now.label[place.label] != drawn_.label[place.label])
            noteLabel(place.label, now.label[place.label]);
    for (const layout::Control& p : layout::panels())
        if (now.panel[p.number] != drawn_.panel[p.number] ||
            (pushed.focusPanel == p.number) != (pushed_.focusPanel == p.number))
            mark(p.box);
    for (const layout::SwitchPlace& s : layout::dataSwitches())
        if (now.button[s.button] != drawn_.button[s.button] ||
            (pushed.dataSwitch == s.button) != (pushed_.dataSwitch == s.button) ||
            (pushed.focus == s.button) != (pushed_.focus == s.button))
            mark(s.box);
    if (now.edit17 != drawn_.edit17 || fields.edit17ScrollX != fields_.edit17ScrollX ||
        fields.edit17Selection != fields_.edit17Selection ||
        fields.edit17Caret != fields_.edit17Caret)
        mark(layout::kEdit17);
    if (pushed.arrow != pushed_.arrow || pushed.focusArrow != pushed_.focusArrow)
        mark(layout::kUpDown1);
    if (pushed.focusImage != pushed_.focusImage || pushed.focusLabel != pushed_.focusLabel) {
        mark(focusBox(pushed_));
        mark(focusBox(pushed));
    }
    if (fields.memo1 != fields_.memo1 || fields.memo1ScrollX != fields_.memo1ScrollX ||
        fields.memo1ScrollY != fields_.memo1ScrollY ||
        fields.memo1Selection != fields_.memo1Selection || fields.memo1Caret != fields_.memo1Caret)
        mark(layout::kMemo1);

    drawn_ = now;
    pushed_ = pushed;
    fields_ = fields;
    for (const Box& d : dirty_) paint(d);
    return dirty_;
}

// The frame round a focused block or gate, two pixels outside its picture so that its
// outline never hides it, or round a listing line's bar, one pixel outside; empty
// when the focus is on neither.
Box Renderer::focusBox(const Pushed& pushed) const {
    if (pushed.focusLabel > 0 && pushed.focusLabel < ElementState::kLabels) {
        const Box bar = labelBars_[pushed.focusLabel];
        return bar.w > 0 ? Box{bar.x - 1, bar.y - 1, bar.w + 2, bar.h + 2} : Box{};
    }
    for (const layout::Block& b : layout::blocks())
        if (pushed.focusImage > 0 && b.image == pushed.focusImage)
            return {b.picture.x - 2, b.picture.y - 2, b.picture.w + 4, b.picture.h + 4};
    return {};
}

// Back to front: background and wires, the lit overlays, the blocks, the labels,
// the controls, and last the focus frame round a block or a listing line.
void Renderer::paint(Box clip) {
    Canvas& c = canvas_;
    c.fill(clip, clInactiveBorder, clip);
    for (const layout::Wire& w : layout::wires())
        if (meets(w.box(), clip)) c.fill(w.box(), clGreen, clip);
    for (const layout::Dot& d : layout::dots())
        if (meets(d.box(), clip)) c.fill(d.box(), clGreen, clip);
    for (const layout::Overlay& o : layout::overlays())
        if (drawn_.image[o.image].visible && meets(o.red, clip)) c.fill(o.red, clRed, clip);
    for (const layout::Block& b : layout::blocks())
        if (drawn_.image[b.image].visible && meets(b.picture, clip)) paintBlock(c, b, clip);

    for (const layout::LabelPlace& place : layout::labels()) {
        const Box bar = labelBars_[place.label];
        if (!meets(bar, clip)) continue;
        const Label& l = drawn_.label[place.label];
        c.fill(bar, l.colour, clip);
        drawText(c, faceOf(place.font), bar.x, bar.y, l.caption, place.ink, clip);
    }

    for (const layout::Control& p : layout::panels()) {
        if (!meets(p.box, clip)) continue;
        paintPanel(c, p.box, drawn_.panel[p.number], clip);
        if (pushed_.focusPanel == p.number) focusInside(c, p.box, 3, clip);
    }
    for (const layout::SwitchPlace& s : layout::dataSwitches()) {
        const Button& b = drawn_.button[s.button];
        if (b.visible && meets(s.box, clip))
            paintDataSwitch(c, s, b, pushed_.dataSwitch == s.button, pushed_.focus == s.button,
                            clip);
    }
    if (drawn_.edit17.visible && meets(layout::kEdit17, clip)) {
        // One line: whatever follows a line break stays out of sight, as in the field.
        const std::string_view text = drawn_.edit17.text;
        paintField(c, layout::kEdit17, clip, kFieldTextX, kFieldTextY,
                   text.substr(0, std::min(text.find('\n'), text.size())), fields_.edit17ScrollX, 0,
                   fields_.edit17Selection, fields_.edit17Caret);
    }
    if (meets(layout::kUpDown1, clip)) {
        paintArrow(c, upArrow(), true, pushed_.arrow > 0, clip);
        paintArrow(c, downArrow(), false, pushed_.arrow < 0, clip);
        if (pushed_.focusArrow > 0) focusInside(c, upArrow(), 2, clip);
        if (pushed_.focusArrow < 0) focusInside(c, downArrow(), 2, clip);
    }
    if (meets(layout::kMemo1, clip))
        paintField(c, layout::kMemo1, clip, kMemoTextX, kMemoTextY, fields_.memo1,
                   fields_.memo1ScrollX, fields_.memo1ScrollY, fields_.memo1Selection,
                   fields_.memo1Caret);
    if (const Box f = intersect(focusBox(pushed_), kClient); f.w > 0 && meets(f, clip))
        focusFrame(c, focusBox(pushed_), intersect(clip, kClient));
}

} // namespace procesor::render

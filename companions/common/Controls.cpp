#include "companions/common/Controls.h"

#include <algorithm>

#include "companions/common/Texts.h"
#include "picture/Paint.h"

namespace procesor::explain {

namespace {

Box whole(const Canvas& c) {
    return {0, 0, c.width, c.height};
}

constexpr int kButtonHeight = 25;
constexpr int kButtonPadding = 12; // each side of a button's caption

// The round lamp, 11 pixels across: per row, the run of the disc from its left.
struct Run {
    int dx;
    int width;
};
constexpr Run kDisc[] = {{3, 5},  {1, 9},  {1, 9}, {0, 11}, {0, 11}, {0, 11},
                         {0, 11}, {0, 11}, {1, 9}, {1, 9},  {3, 5}};
constexpr int kLampSize = 11;

void disc(Canvas& c, Point at, bool on) {
    int y = at.y;
    for (const Run& r : kDisc) c.fill({at.x + r.dx, y++, r.width, 1}, clBlack);
    y = at.y + 1;
    // The coloured inside, one pixel in from the black rim.
    for (std::size_t row = 1; row + 1 < std::size(kDisc); ++row, ++y) {
        const Run r = kDisc[row];
        c.fill({at.x + r.dx + 1, y, r.width - 2, 1}, on ? kSignal : kWire);
    }
}

} // namespace

void Control::click() {
    if (onClick) onClick();
}

PushButton::PushButton(Point at, std::string caption)
    : Control({at.x, at.y, render::textWidth(Face::WindowBold, caption) + 2 * kButtonPadding,
               kButtonHeight}),
      caption_(std::move(caption)) {}

void PushButton::paint(Canvas& c, bool pressed, bool focused) const {
    Panel look;
    look.caption = caption_;
    if (!enabled()) {
        look.colour = clCream;
    } else if (pressed) {
        look.colour = clTeal;
        look.outer = look.inner = Bevel::Lowered;
    } else {
        look.colour = clAqua;
        look.outer = look.inner = Bevel::Raised;
    }
    render::paintPanel(c, box(), look, whole(c));
    if (focused) render::focusFrame(c, render::shrink(box(), 3, 3, 3, 3), whole(c));
}

void BitCell::paint(Canvas& c, bool pressed, bool focused) const {
    const Box r = box();
    const std::string_view digit = on_ ? "1" : "0";
    const Rgb ink = on_ ? clRed : clBlack;
    const int shift = pressed ? 1 : 0;
    if (enabled()) {
        render::edge(c, r, pressed ? render::kPushedButton : render::kRaisedButton, &render::kFace,
                     whole(c));
    } else {
        c.fill(r, clWhite);
        render::edge(c, r, render::kSunkenField, nullptr, whole(c));
    }
    render::drawText(c, Face::WindowBold,
                     r.x + (r.w - render::textWidth(Face::WindowBold, digit)) / 2 + shift,
                     r.y + (r.h - render::lineHeight(Face::WindowBold)) / 2 + shift, digit, ink,
                     render::shrink(r, 2, 2, 2, 2));
    if (focused) render::focusFrame(c, render::shrink(r, 2, 2, 3, 3), whole(c));
}

void BitCell::click() {
    on_ = !on_;
    Control::click();
}

WordCells::WordCells(Point at) : at_(at) {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        cells_[i].setBox({at.x + int(i) * kStep, at.y + 13, BitCell::kWidth, BitCell::kHeight});
        cells_[i].onClick = [this] {
            if (onChange) onChange();
        };
    }
}

int WordCells::value() const {
    int v = 0;
    for (const BitCell& cell : cells_) v = v * 2 + (cell.on() ? 1 : 0);
    return v;
}

void WordCells::setValue(int value) {
    for (std::size_t i = 0; i < cells_.size(); ++i) cells_[i].setOn((value >> (3 - i)) & 1);
}

void WordCells::setEnabled(bool enabled) {
    for (BitCell& cell : cells_) cell.setEnabled(enabled);
}

void WordCells::addTo(Scene& scene) {
    for (BitCell& cell : cells_) scene.add(cell);
}

Box WordCells::box() const {
    return {at_.x, at_.y, 4 * kStep + 30, 13 + BitCell::kHeight};
}

void WordCells::paint(Canvas& c) const {
    constexpr std::string_view kWeights[] = {"8", "4", "2", "1"};
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const Box r = cells_[i].box();
        text(c, Face::Window,
             {r.x + (r.w - render::textWidth(Face::Window, kWeights[i])) / 2, at_.y}, kWeights[i]);
    }
    const std::string decimal = "= " + std::to_string(value());
    text(c, Face::WindowBold, {at_.x + 4 * kStep + 4, at_.y + 16}, decimal);
}

Lamp::Lamp(Point at, std::string name)
    : Control({at.x, at.y, kLampSize + 14 + render::textWidth(Face::WindowBold, name), 21}),
      name_(std::move(name)) {}

void Lamp::paint(Canvas& c, bool pressed, bool focused) const {
    const Box r = box();
    const int shift = pressed ? 1 : 0;
    if (enabled())
        render::edge(c, r, pressed ? render::kPushedButton : render::kRaisedButton, &render::kFace,
                     whole(c));
    disc(c, {r.x + 4 + shift, r.y + 5 + shift}, on_);
    text(c, Face::WindowBold, {r.x + kLampSize + 8 + shift, r.y + 4 + shift}, name_);
    if (focused) render::focusFrame(c, render::shrink(r, 2, 2, 3, 3), whole(c));
}

void Lamp::click() {
    on_ = !on_;
    Control::click();
}

ChoiceButton::ChoiceButton(Point at, std::string caption)
    : Control({at.x, at.y, render::textWidth(Face::WindowBold, caption) + 24, kButtonHeight}),
      caption_(std::move(caption)) {}

void ChoiceButton::paint(Canvas& c, bool pressed, bool focused) const {
    Panel look;
    look.caption = caption_;
    const bool in = chosen_ || pressed;
    look.colour = chosen_ ? clLime : clMoneyGreen;
    look.outer = look.inner = in ? Bevel::Lowered : Bevel::Raised;
    render::paintPanel(c, box(), look, whole(c));
    if (focused) render::focusFrame(c, render::shrink(box(), 3, 3, 3, 3), whole(c));
}

namespace {

constexpr int kStepGap = 8;     // between the buttons
constexpr int kStateGap = 12;   // from the last button to the clock's state
constexpr int kFollowGap = 24;  // from the widest state to the switch

int captionWidth(std::string_view caption) {
    return render::textWidth(Face::WindowBold, caption) + 2 * kButtonPadding;
}

} // namespace

Point StepButtons::rowAt(int sceneHeight) {
    return {kMargin, resultBoxIn(0, sceneHeight).y - kStepBand};
}

Point StepButtons::stateAt(int sceneHeight) {
    const Point row = rowAt(sceneHeight);
    return {row.x + captionWidth(kPulseCaption) + kStepGap + captionWidth(kMicrostepCaption) +
                kStepGap + captionWidth(kRestartCaption) + kStateGap,
            row.y + 6};
}

Point StepButtons::followAt(int sceneHeight) {
    // After the widest of the clock's states, so that the switch stays where it is.
    ProcessorModel phi1;
    phi1.phi1 = true;
    ProcessorModel phi2 = phi1;
    phi2.phi2 = true;
    int widest = 0;
    for (const std::string& state : {clockCaption({}, false), clockCaption(phi1, false),
                                     clockCaption(phi2, false), clockCaption({}, true)})
        widest = std::max(widest, render::textWidth(Face::Window, state));
    return {stateAt(sceneHeight).x + widest + kFollowGap, rowAt(sceneHeight).y + 2};
}

StepButtons::StepButtons(int sceneHeight)
    : pulse(rowAt(sceneHeight), std::string(kPulseCaption)),
      microstep(rowAt(sceneHeight), std::string(kMicrostepCaption)),
      restart(rowAt(sceneHeight), std::string(kRestartCaption)) {
    const Box p = pulse.box();
    microstep.setBox({p.x + p.w + kStepGap, p.y, microstep.box().w, microstep.box().h});
    const Box m = microstep.box();
    restart.setBox({m.x + m.w + kStepGap, p.y, restart.box().w, restart.box().h});
}

void StepButtons::addTo(Scene& scene) {
    scene.add(pulse);
    scene.add(microstep);
    scene.add(restart);
}

void StepButtons::paint(Canvas& c, const ProcessorModel& m, bool halted) const {
    text(c, Face::Window, stateAt(c.height), clockCaption(m, halted));
}

} // namespace procesor::explain

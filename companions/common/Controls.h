#pragma once

#include <array>
#include <functional>
#include <string>

#include "companions/common/Drawing.h"
#include "companions/common/Scene.h"
#include "model/ProcessorModel.h"

// The drawn controls all explainers share. A control has a place, may be hidden or
// disabled, and does its `onClick` when clicked with the mouse or, with the focus,
// with Space or Enter. A disabled control takes no click and no focus, and looks so.
namespace procesor::explain {

class Control {
public:
    explicit Control(Box box) : box_(box) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Box box() const { return box_; }
    void setBox(Box box) { box_ = box; }
    bool enabled() const { return enabled_ && visible_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    bool focusable() const { return enabled(); }
    // What a push button says on it; empty for the other controls.
    virtual std::string_view buttonCaption() const { return {}; }

    // `pressed`: held down by the mouse over it; `focused`: it has the keyboard focus.
    virtual void paint(Canvas& c, bool pressed, bool focused) const = 0;
    // What a click does: the control's own change (a bit or lamp toggles), then onClick.
    virtual void click();

    std::function<void()> onClick;

private:
    Box box_;
    bool enabled_ = true;
    bool visible_ = true;
};

// A push button with the diagram's panel look: raised aqua when it responds, lowered
// teal while pressed, flat cream when disabled; the caption in bold.
class PushButton final : public Control {
public:
    PushButton(Box box, std::string caption) : Control(box), caption_(std::move(caption)) {}
    // A button at (x, y) as wide as its caption needs, 25 pixels tall.
    PushButton(Point at, std::string caption);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    std::string_view buttonCaption() const override { return caption_; }
    void paint(Canvas& c, bool pressed, bool focused) const override;

private:
    std::string caption_;
};

// One bit: "0" or "1" (in red), 15 x 19 pixels. Enabled it is a small push button,
// like the diagram's data switches, and a click toggles it; disabled it is a sunken
// white field that only shows the bit.
class BitCell final : public Control {
public:
    static constexpr int kWidth = 15;
    static constexpr int kHeight = 19;
    explicit BitCell(Point at = {}) : Control({at.x, at.y, kWidth, kHeight}) {}
    bool on() const { return on_; }
    void setOn(bool on) { on_ = on; }
    void paint(Canvas& c, bool pressed, bool focused) const override;
    void click() override;

private:
    bool on_ = false;
};

// Four bit cells for a 4-bit word, weight 8 on the left, the weights above them and
// the decimal value after them. Add it to the scene with addTo(); draw its weights
// and decimal with paint() from the scene's own paint.
class WordCells {
public:
    static constexpr int kStep = BitCell::kWidth + 3;
    explicit WordCells(Point at);
    int value() const;
    void setValue(int value);
    void setEnabled(bool enabled);
    bool enabled() const { return cells_[0].enabled(); }
    // Every toggle of a bit ends here.
    std::function<void()> onChange;
    void addTo(Scene& scene);
    void paint(Canvas& c) const;
    BitCell& cell(int bit) { return cells_[std::size_t(3 - bit)]; }
    // The cells and the decimal: from the weights above to the bottom of the cells.
    Box box() const;

private:
    Point at_;
    std::array<BitCell, 4> cells_; // weight 8 first
};

// A named line with its lamp: red when the line carries 1, green when it carries 0.
// Enabled, the student switches it with a click: it is drawn as a small raised
// button round the lamp and the name. Disabled it only shows the line's value.
class Lamp final : public Control {
public:
    Lamp(Point at, std::string name);
    bool on() const { return on_; }
    void setOn(bool on) { on_ = on; }
    const std::string& name() const { return name_; }
    void paint(Canvas& c, bool pressed, bool focused) const override;
    void click() override;

private:
    std::string name_;
    bool on_ = false;
};

// One of several buttons of which one is chosen, in the look of the diagram's mode
// buttons: the chosen one lowered and lime, the others raised and money green (never
// yellow, which marks what is current in the diagram).
class ChoiceButton final : public Control {
public:
    ChoiceButton(Point at, std::string caption);
    bool chosen() const { return chosen_; }
    void setChosen(bool chosen) { chosen_ = chosen; }
    const std::string& caption() const { return caption_; }
    void paint(Canvas& c, bool pressed, bool focused) const override;

private:
    std::string caption_;
    bool chosen_ = false;
};

// The stepping unit all explainers share, in one row: "ručně" gives one clock pulse,
// "do konce mikrokroku" the pulses until the clock is at rest again (three from
// rest, the rest of the microstep under way otherwise), "od začátku" puts the scene
// back where it began; the clock's state stands after them at a fixed place, so that
// nothing moves when it changes, and after the widest state the switch "sledovat
// simulátor" (Following.cpp). The row lies at the same place in every explainer: at
// the left margin, right above the result field at the foot; a scene keeps that
// band, kStepBand rows over the result field, free of its own drawing. The scene
// sets onClick of the buttons and draws the state with paint().
inline constexpr std::string_view kPulseCaption = "ručně";
inline constexpr std::string_view kMicrostepCaption = "do konce mikrokroku";
inline constexpr std::string_view kRestartCaption = "od začátku";
// The lamp of a gate's output, in every explainer that shows one.
inline constexpr std::string_view kStrobeLampName = "impulz";

class StepButtons {
public:
    // The row's height and the gap under it, above the result field.
    static constexpr int kStepBand = 25 + 8;
    // The row in a scene `sceneHeight` tall.
    explicit StepButtons(int sceneHeight);
    PushButton pulse;
    PushButton microstep;
    PushButton restart;
    void addTo(Scene& scene);
    // "hodiny: klid", "hodiny: fáze Φ1", "hodiny: fáze Φ2 (Φ1 i Φ2)", "hodiny stojí"
    // after the buttons.
    void paint(Canvas& c, const ProcessorModel& m, bool halted = false) const;
    // The top-left of the row, of the clock's state and of the switch "sledovat
    // simulátor", in a scene `sceneHeight` tall.
    static Point rowAt(int sceneHeight);
    static Point stateAt(int sceneHeight);
    static Point followAt(int sceneHeight);
};

} // namespace procesor::explain

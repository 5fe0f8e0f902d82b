#include "renderer/Screen.h"

#include <utility>

#include "renderer/CompanionClicks.h"
#include "renderer/Routes.h"

namespace procesor::render {

namespace {

// The arrows of UpDown1 split its height, the lower one taking the odd row.
constexpr Box kUpArrow = {layout::kUpDown1.x, layout::kUpDown1.y, layout::kUpDown1.w,
                          layout::kUpDown1.h / 2};
constexpr Box kDownArrow = {layout::kUpDown1.x, layout::kUpDown1.y + layout::kUpDown1.h / 2,
                            layout::kUpDown1.w, layout::kUpDown1.h - layout::kUpDown1.h / 2};

// After the arrows, the panels: the right column top to bottom (mode buttons, then the
// clock), then the address buttons beside the RAM.
constexpr int kPanelTabOrder[] = {6, 7, 1, 2, 3, 4, 5};

} // namespace

std::span<const Screen::KeyboardControl> Screen::keyboardControls() {
    static const std::vector<KeyboardControl> controls = [] {
        std::vector<KeyboardControl> all = {{{Element::Arrow, +1}, kUpArrow},
                                            {{Element::Arrow, -1}, kDownArrow}};
        for (int number : kPanelTabOrder)
            for (const layout::Control& p : layout::panels())
                if (p.number == number) all.push_back({{Element::Panel, number}, p.box});
        return all;
    }();
    return controls;
}

std::string Screen::accessibleName(Element element) const {
    const ElementState& el = sim_.elements();
    switch (element.kind) {
    case Element::Panel:
        if (element.number >= 1 && element.number < ElementState::kPanels) {
            // The look says what the button does now; the name says it too.
            const Panel& p = el.panel[element.number];
            if (p.colour == clCream) return p.caption + ", nyní nedostupné";
            if (p.colour == clLime) return p.caption + ", vybráno";
            if (p.colour == clTeal) return p.caption + ", stisknuto";
            return p.caption;
        }
        break;
    case Element::DataSwitch:
        if (element.number >= 8 && element.number <= 11)
            return "datový přepínač bitu " + std::to_string(11 - element.number) + ": " +
                   el.button[element.number].caption;
        break;
    case Element::Arrow:
        return element.number > 0 ? "rychlost o jednu výš" : "rychlost o jednu níž";
    default:
        break;
    }
    return {};
}

Screen::Screen(Simulator::ErrorSink showError)
    : sim_(std::move(showError)), renderer_(std::make_unique<Renderer>()) {}

Screen::~Screen() = default;

std::optional<Screen::Element> Screen::elementAt(int x, int y) const {
    for (const layout::Control& p : layout::panels())
        if (p.box.contains(x, y)) return Element{Element::Panel, p.number};
    const ElementState& el = sim_.elements();
    for (const layout::SwitchPlace& s : layout::dataSwitches())
        if (el.button[s.button].visible && s.box.contains(x, y))
            return Element{Element::DataSwitch, s.button};
    if (kUpArrow.contains(x, y)) return Element{Element::Arrow, +1};
    if (kDownArrow.contains(x, y)) return Element{Element::Arrow, -1};
    if (layout::kMemo1.contains(x, y) || (el.edit17.visible && layout::kEdit17.contains(x, y)))
        return std::nullopt;

    for (const layout::LabelPlace& place : layout::labels())
        if (labelBarFor(place.label, el.label[place.label].caption).contains(x, y))
            return Element{Element::Label, place.label};
    const auto blocks = layout::blocks();
    for (auto b = blocks.rbegin(); b != blocks.rend(); ++b)
        if (el.image[b->image].visible && b->element.contains(x, y))
            return Element{Element::Image, b->image};
    return std::nullopt;
}

void Screen::mouseDown(int x, int y) {
    held_ = elementAt(x, y);
    overHeld_ = held_.has_value();
}

void Screen::mouseMove(int x, int y) {
    if (held_) overHeld_ = elementAt(x, y) == held_;
}

std::optional<std::string> Screen::mouseUp(int x, int y) {
    const std::optional<Element> held = std::exchange(held_, std::nullopt);
    if (!held || elementAt(x, y) != held) return std::nullopt;
    switch (held->kind) {
    case Element::Panel:
        if (Handler h = routeOf(kPanelClicks, held->number)) (sim_.*h)();
        break;
    case Element::DataSwitch:
        if (Handler h = routeOf(kSwitchClicks, held->number)) (sim_.*h)();
        break;
    case Element::Arrow:
        sim_.UpDown1Arrow(held->number > 0);
        break;
    case Element::Label:
        if (const char* command = companionFor(CompanionClick::Label, held->number))
            return std::string(command);
        break;
    case Element::Image:
        if (const char* command = companionFor(CompanionClick::Image, held->number))
            return std::string(command);
        break;
    }
    return std::nullopt;
}

void Screen::timerTick(int timer, int releaseDueInMs) {
    if (timer == kAutoClock) {
        sim_.Timer1Tick(releaseDueInMs);
        return;
    }
    if (Handler h = routeOf(kReleaseTicks, timer)) (sim_.*h)();
}

void Screen::speedEdited(std::string_view text) {
    sim_.setSpeedText(std::string(text));
}

void Screen::speedArrow(bool up) {
    sim_.UpDown1Arrow(up);
}

std::optional<std::string> Screen::copy() const {
    std::string text = sim_.programText();
    if (text.empty()) return std::nullopt;
    return text;
}

void Screen::paste(std::string_view text) {
    sim_.loadProgram(text);
}

void Screen::openFile(std::string_view name, std::string_view bytes) {
    sim_.loadProgram(bytes, name);
}

void Screen::fileUnreadable(std::string_view name) {
    sim_.programFileUnreadable(name);
}

std::string Screen::programLink() const {
    return sim_.programText('.');
}

Screen::TimerState Screen::timer(int n) const {
    if (n < 1 || n >= ElementState::kTimers) return {false, 0, 0};
    const Timer& t = sim_.elements().timer[n];
    return {t.enabled, t.interval, t.starts};
}

void Screen::setFocus(std::optional<Element> element) {
    focus_ = {};
    if (!element) return;
    if (element->kind == Element::DataSwitch) focus_.focus = element->number;
    if (element->kind == Element::Panel) focus_.focusPanel = element->number;
    if (element->kind == Element::Arrow) focus_.focusArrow = element->number > 0 ? 1 : -1;
}

void Screen::fieldsScrolled(int edit17X, int memo1X, int memo1Y) {
    fields_.edit17ScrollX = edit17X;
    fields_.memo1ScrollX = memo1X;
    fields_.memo1ScrollY = memo1Y;
}

ControlLook Screen::pushed() const {
    ControlLook pushed = focus_;
    if (!held_ || !overHeld_) return pushed;
    if (held_->kind == Element::DataSwitch) pushed.dataSwitch = held_->number;
    if (held_->kind == Element::Arrow) pushed.arrow = held_->number;
    return pushed;
}

std::vector<Box> Screen::render() {
    return renderer_->render(sim_.elements(), pushed(), fields_);
}

const Canvas& Screen::canvas() const {
    return renderer_->canvas();
}

} // namespace procesor::render

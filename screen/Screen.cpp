#include "screen/Screen.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "model/ProgramText.h"
#include "model/PulseReport.h"
#include "model/TaskText.h"
#include "panel/Speed.h"
#include "picture/DiagramLayout.h"
#include "picture/PngFile.h"
#include "screen/CompanionClicks.h"
#include "screen/ExplainerHeadings.h"
#include "screen/Routes.h"

namespace procesor::screen {

namespace {

// The arrows of UpDown1 split its height, the lower one taking the odd row.
using render::labelBarFor;

constexpr Box kUpArrow = {layout::kUpDown1.x, layout::kUpDown1.y, layout::kUpDown1.w,
                          layout::kUpDown1.h / 2};
constexpr Box kDownArrow = {layout::kUpDown1.x, layout::kUpDown1.y + layout::kUpDown1.h / 2,
                            layout::kUpDown1.w, layout::kUpDown1.h - layout::kUpDown1.h / 2};

// How many ticks one wake runs one by one before it looks for the machine repeating
// itself: a quarter of an hour at the fastest speed. A page woken once a minute while
// hidden stays below it.
constexpr int kTicksBeforeSkipping = 3000;

constexpr Millis kFar = std::numeric_limits<int>::max();

// More rectangles than this drawn since the last render() are kept as one around them.
constexpr std::size_t kDrawnKept = 64;

// After the arrows, the panels: the right column top to bottom (mode buttons, then the
// clock), then the address buttons beside the RAM.
constexpr int kPanelTabOrder[] = {6, 7, 1, 2, 3, 4, 5};

// What the live region says when "ručně" waits for a prediction.
constexpr const char* kAskForPrediction =
    "Předpovězte, co ponese sběrnice po taktu a který registr se změní, a stiskněte Ověřit.";

using Control = Screen::KeyboardControl;

} // namespace

// Everything the ticks to come depend on: the machine, the diagram, and how far off
// each running timer's next tick is.
struct Screen::Round {
    ProcessorModel model;
    ElementState elements;
    std::array<std::optional<Millis>, ElementState::kTimers> dueIn;
    bool operator==(const Round&) const = default;
};

std::span<const Screen::KeyboardControl> Screen::keyboardControls() {
    static const std::vector<KeyboardControl> controls = [] {
        std::vector<KeyboardControl> all = {{{Element::Arrow, +1}, kUpArrow},
                                            {{Element::Arrow, -1}, kDownArrow}};
        for (int number : kPanelTabOrder)
            for (const layout::Control& p : layout::panels())
                if (p.number == number) all.push_back({{Element::Panel, number}, p.box});
        // Then every element that opens an explainer, in the companion table's order:
        // the control unit, its listing lines and instruction names, the gates top to
        // bottom, IR, PC, the adder, A and B. Their captions never change, nor their bars.
        const ElementState start = ElementState::startup();
        for (const CompanionClick& c : kCompanionClicks) {
            if (c.kind == CompanionClick::Label) {
                all.push_back({{Element::Label, c.number},
                               labelBarFor(c.number, start.label[c.number].caption)});
                continue;
            }
            for (const layout::Block& b : layout::blocks())
                if (b.image == c.number) all.push_back({{Element::Image, c.number}, b.element});
        }
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
    case Element::Pane:
        switch (element.number) {
        case TaskPane::CheckButton:
            return "Zkontrolovat";
        case TaskPane::CloseButton:
            return "Zavřít úlohu";
        case kPredictionControls + PredictionPane::BusField:
            return "sběrnice po taktu: " + std::to_string(prediction_.guess().bus);
        case kPredictionControls + PredictionPane::ChangedField:
            return "změní se: " + changedName(prediction_.guess().changed);
        case kPredictionControls + PredictionPane::VerifyButton:
            return "Ověřit";
        default:
            break;
        }
        break;
    case Element::Label:
        if (element.number >= 0 && element.number < ElementState::kLabels)
            return explainerElementName(ElementKind::Label, element.number,
                                        el.label[element.number].caption);
        break;
    case Element::Image:
        return explainerElementName(ElementKind::Image, element.number, {});
    default:
        break;
    }
    return {};
}

Screen::Screen(Simulator::ErrorSink observe)
    : sim_([this](const std::string& message) {
          if (observe_) observe_(message);
          errors_.report(message);
      }),
      renderer_(std::make_unique<Renderer>()), observe_(std::move(observe)) {}

Screen::~Screen() = default;

std::optional<Screen::Element> Screen::elementAt(int x, int y) const {
    if (x >= layout::kClientWidth) {
        for (const Control& c : paneControls())
            if (c.box.contains(x - layout::kClientWidth, y)) return c.element;
        return std::nullopt;
    }
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

Screen::Update Screen::mouseDown(int x, int y, Now now) {
    const Mark from = mark();
    advance(now);
    if (!heldByKey_) {
        held_ = elementAt(x, y);
        overHeld_ = held_.has_value();
    }
    return finish(from);
}

Screen::Update Screen::mouseMove(int x, int y, Now now) {
    const Mark from = mark();
    advance(now);
    if (held_ && !heldByKey_) overHeld_ = elementAt(x, y) == held_;
    return finish(from);
}

Screen::Update Screen::mouseUp(int x, int y, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (!heldByKey_) {
        const std::optional<Element> held = std::exchange(held_, std::nullopt);
        if (held && elementAt(x, y) == held) click(*held, u);
    }
    return finish(from, std::move(u));
}

// A click on an element, by the mouse or a key: its handler runs, or it names the
// companion to start.
void Screen::click(Element element, Update& u) {
    u.clicked = element;
    switch (element.kind) {
    case Element::Panel:
        if (Handler h = routeOf(kPanelClicks, element.number))
            if (h != &Simulator::Panel1Click || !askFirst(u)) runRecorded(h);
        break;
    case Element::DataSwitch:
        if (Handler h = routeOf(kSwitchClicks, element.number)) runRecorded(h);
        break;
    case Element::Arrow:
        sim_.UpDown1Arrow(element.number > 0);
        break;
    case Element::Label:
        if (const char* command = companionFor(CompanionClick::Label, element.number))
            u.companion = command;
        break;
    case Element::Image:
        if (const char* command = companionFor(CompanionClick::Image, element.number))
            u.companion = command;
        break;
    case Element::Field:
        break;
    case Element::Pane:
        for (const Control& c : paneControls()) {
            if (!(c.element == element)) continue;
            const int x = c.box.x + c.box.w / 2, y = c.box.y + c.box.h / 2;
            if (element.number < kPredictionControls) {
                paneAction(task_->click(x, y), u);
            } else {
                const PredictionPane before = prediction_;
                predictionAction(before, prediction_.click(x, y - predictionTop(), sim_.model()),
                                 u);
            }
            break;
        }
        break;
    }
    settle(now_);
}

// ---- the keyboard ------------------------------------------------------------------

std::vector<Screen::Element> Screen::focusRing() const {
    std::vector<Element> ring;
    if (sim_.elements().edit17.visible) ring.push_back(kEdit17);
    for (const layout::SwitchPlace& s : layout::dataSwitches())
        ring.push_back({Element::DataSwitch, s.button});
    ring.push_back(kMemo1);
    for (const KeyboardControl& c : keyboardControls()) ring.push_back(c.element);
    for (const KeyboardControl& c : paneControls()) ring.push_back(c.element);
    return ring;
}

// A control held down by Space goes up without a click.
void Screen::letGo() {
    if (!heldByKey_) return;
    held_.reset();
    heldByKey_ = false;
}

Screen::Update Screen::key(Key key, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    const bool control = focused_ && focused_->kind != Element::Field;
    const bool inPane = focused_ && focused_->kind == Element::Pane;
    switch (key) {
    case Key::Tab:
    case Key::BackTab: {
        letGo();
        const std::vector<Element> ring = focusRing();
        const auto at = focused_ ? std::find(ring.begin(), ring.end(), *focused_) : ring.end();
        std::optional<Element> next;
        if (key == Key::Tab) {
            if (at == ring.end())
                next = ring.front();
            else if (at + 1 != ring.end())
                next = *(at + 1);
        } else {
            if (at == ring.end())
                next = ring.back();
            else if (at != ring.begin())
                next = *(at - 1);
        }
        // From the last stop (or before the first) the focus goes out of the diagram,
        // where the front end may have more to reach; the next key comes in again.
        u.taken = next.has_value();
        setFocus(next);
        break;
    }
    case Key::Space:
    case Key::Enter:
        if (!control) {
            u.taken = false;
            break;
        }
        if (inPane) { // the panes' buttons act at once
            paneKey(key, u);
            break;
        }
        if (held_) break; // held already, by the mouse or by the key repeating
        if (key == Key::Enter) {
            click(*focused_, u);
        } else {
            held_ = focused_;
            overHeld_ = true;
            heldByKey_ = true;
        }
        break;
    case Key::Up:
    case Key::Down:
        if (inPane) {
            paneKey(key, u);
        } else if (focused_ == kEdit17 || (focused_ && focused_->kind == Element::Arrow)) {
            sim_.UpDown1Arrow(key == Key::Up);
            settle(now_);
        } else {
            u.taken = false;
        }
        break;
    case Key::Undo:
    case Key::Redo:
    case Key::PageUp:
    case Key::PageDown:
        // In a text field these are the field's: Ctrl+Z undoes typing there.
        if (focused_ && focused_->kind == Element::Field) {
            u.taken = false;
        } else if (key == Key::PageDown) {
            if (!askFirst(u)) runRecorded(&Simulator::Panel1Click); // "ručně", in "provoz" only
            settle(now_);
        } else {
            travel(key == Key::Redo ? &History::stepForward : &History::stepBack, now_);
        }
        break;
    case Key::TimingDiagram:
        u.carryOut = Command::TimingDiagram;
        break;
    case Key::SavePicture:
        u.carryOut = Command::SavePicture;
        break;
    case Key::ActualSize:
        actualSize_ = !actualSize_;
        u.carryOut = Command::ActualSize;
        break;
    }
    return finish(from, std::move(u));
}

Screen::Update Screen::keyReleased(Key key, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (key == Key::Space && heldByKey_) {
        const Element held = *held_;
        letGo();
        click(held, u);
    } else {
        u.taken = false;
    }
    return finish(from, std::move(u));
}

Screen::Update Screen::focus(std::optional<Element> element, Now now) {
    const Mark from = mark();
    advance(now);
    setFocus(element);
    return finish(from);
}

Screen::Update Screen::speedEdited(std::string_view text, Now now) {
    const Mark from = mark();
    advance(now);
    sim_.setSpeedText(std::string(text));
    return finish(from);
}

Screen::Update Screen::speedArrow(bool up, Now now) {
    const Mark from = mark();
    advance(now);
    sim_.UpDown1Arrow(up);
    settle(now_);
    return finish(from);
}

Screen::Update Screen::run(Handler handler, Now now) {
    const Mark from = mark();
    advance(now);
    runRecorded(handler);
    settle(now_);
    return finish(from);
}

Screen::Update Screen::errorClosed(Now now) {
    const Mark from = mark();
    advance(now);
    errors_.closed();
    return finish(from);
}

Screen::Update Screen::reportError(std::string_view message, Now now) {
    const Mark from = mark();
    advance(now);
    errors_.report(message);
    return finish(from);
}

// Everything the event left for the front end.
Screen::Update Screen::finish(const Mark& from, Update u) {
    if (drawEachEvent_) u.dirty = renderer_->render(sim_.elements(), pushed(), fields_);
    drawn_.insert(drawn_.end(), u.dirty.begin(), u.dirty.end());
    if (drawn_.size() > kDrawnKept) {
        Box all = drawn_.front();
        for (const Box& b : drawn_) {
            const int right = std::max(all.x + all.w, b.x + b.w);
            const int bottom = std::max(all.y + all.h, b.y + b.h);
            all.x = std::min(all.x, b.x);
            all.y = std::min(all.y, b.y);
            all.w = right - all.x;
            all.h = bottom - all.y;
        }
        drawn_.assign(1, all);
    }
    const Edit& edit = sim_.elements().edit17;
    u.speedText = edit.text;
    u.speedVisible = edit.visible;
    if (!edit.visible && focused_ == kEdit17) setFocus(std::nullopt); // hidden, it has none
    // A pulse that can no longer come (a mode button, the automatic clock, a step back)
    // asks no more; the focus leaves a control of the panes that has gone.
    if (asking_ && sim_.elements().panel[1].colour != clAqua) {
        asking_ = false;
        u.panes = true;
    }
    if (focused_ && focused_->kind == Element::Pane) {
        const std::vector<Control> controls = paneControls();
        if (std::none_of(controls.begin(), controls.end(),
                         [&](const Control& c) { return c.element == *focused_; })) {
            const bool predicted = focused_->number >= kPredictionControls;
            setFocus(predicted ? focusBeforeAsking_ : std::nullopt);
            if (focused_ == kEdit17 && !edit.visible) setFocus(std::nullopt);
        }
    }
    const std::optional<Element> paneFocus =
        focused_ && focused_->kind == Element::Pane ? focused_ : std::nullopt;
    if (u.panes || paneFocus != drawnPaneFocus_) {
        drawnPaneFocus_ = paneFocus;
        drawPanes();
        u.panes = true;
    }
    u.nextWake = nextWake();
    u.error = errors_.take();
    if (pulses() != from.pulses) u.sentence = pulseReport(from.model, sim_.model());
    u.focus = focused_;
    return u;
}

// A handler, and its entry in the time line when it changed anything.
void Screen::runRecorded(Handler handler) {
    const std::optional<HistoryKind> kind = historyKindOf(handler);
    if (kind) history_.before(sim_);
    (sim_.*handler)();
    if (kind) history_.after(*kind, sim_);
}

bool Screen::travel(bool (History::*step)(Simulator&), Now now) {
    advance(now);
    held_.reset();
    const bool moved = (history_.*step)(sim_);
    settle(now_);
    return moved;
}

bool Screen::stepBack(Now now) {
    return travel(&History::stepBack, now);
}

bool Screen::stepForward(Now now) {
    return travel(&History::stepForward, now);
}

bool Screen::enabled(Command command) const {
    switch (command) {
    case Command::StepBack:
        return history_.canStepBack();
    case Command::StepForward:
        return history_.canStepForward();
    case Command::CopyProgram:
        return copy().has_value();
    case Command::TimingDiagram:
    case Command::PasteProgram:
    case Command::SavePicture:
    case Command::Predict:
    case Command::ActualSize:
        return true;
    }
    return false;
}

bool Screen::checked(Command command) const {
    return (command == Command::Predict && predicting_) ||
           (command == Command::ActualSize && actualSize_);
}

Screen::Update Screen::command(Command command, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (!enabled(command)) return finish(from, std::move(u));
    switch (command) {
    case Command::StepBack:
        travel(&History::stepBack, now_);
        break;
    case Command::StepForward:
        travel(&History::stepForward, now_);
        break;
    case Command::Predict:
        predicting_ = !predicting_;
        asking_ = false;
        u.panes = true;
        break;
    case Command::ActualSize:
        actualSize_ = !actualSize_;
        u.carryOut = command;
        break;
    case Command::TimingDiagram:
    case Command::CopyProgram:
    case Command::PasteProgram:
    case Command::SavePicture:
        u.carryOut = command;
        break;
    }
    return finish(from, std::move(u));
}

std::string Screen::picturePng() const {
    return render::pngBytes(canvas());
}

TimingDiagram& Screen::timingDiagram() {
    if (!timing_) timing_ = std::make_unique<TimingDiagram>();
    return *timing_;
}

const Canvas& Screen::drawTimingDiagram() {
    return timingDiagram().draw(history_);
}

bool Screen::timingDiagramClick(int x, int y, Now now) {
    const std::optional<std::uint64_t> to = timingDiagram().click(x, y);
    return to && moveTo(*to, now);
}

bool Screen::timingDiagramKey(TimingDiagram::Key key, Now now) {
    const std::optional<std::uint64_t> to = timingDiagram().key(key);
    return to && moveTo(*to, now);
}

bool Screen::moveTo(std::uint64_t position, Now now) {
    advance(now);
    held_.reset();
    const bool moved = history_.moveTo(position, sim_);
    settle(now_);
    return moved;
}

// ---- time ----------------------------------------------------------------------

void Screen::advance(Now now) {
    if (now)
        runDue(*now);
    else
        settle(now_); // the machine set up directly, as tests do
}

Screen::Update Screen::wake(Millis now) {
    const Mark from = mark();
    runDue(now);
    return finish(from);
}

void Screen::runDue(Millis now) {
    settle(now_);
    for (int ticks = 0; tickDue(now);)
        if (++ticks == kTicksBeforeSkipping) skipWholeRounds(now);
    now_ = std::max(now_, now);
}

// A timer a handler switched on from off, or gave a new interval while it ran,
// starts over with its full interval from the time of that handler; one that stayed
// on keeps its due time; one switched off is due no more.
void Screen::settle(Millis at) {
    for (int n = 1; n < ElementState::kTimers; ++n) {
        const Timer& t = sim_.elements().timer[n];
        const unsigned starts = sim_.timerStarts(n);
        Due& d = due_[n];
        if (!t.enabled)
            d.at.reset();
        else if (!d.at || starts != d.starts || t.interval != d.interval)
            d.at = at + std::max(t.interval, 1);
        d.interval = t.interval;
        d.starts = starts;
    }
}

// The timer due first, the lower number among timers due together; 0 for none.
int Screen::earliestDue() const {
    int first = 0;
    for (int n = 1; n < ElementState::kTimers; ++n)
        if (due_[n].at && (!first || *due_[n].at < *due_[first].at)) first = n;
    return first;
}

std::optional<Millis> Screen::nextWake() const {
    const int first = earliestDue();
    return first ? due_[first].at : std::nullopt;
}

bool Screen::tickDue(Millis by) {
    const int n = earliestDue();
    if (!n || *due_[n].at > by) return false;
    tickAt(n, *due_[n].at);
    return true;
}

// One tick at its due time. The automatic clock is told how far off the release of
// "ručně" is, for the tie of the two at the fastest speed.
void Screen::tickAt(int timer, Millis at) {
    now_ = at;
    Due& d = due_[timer];
    d.at = at + std::max(d.interval, 1); // a repeating timer keeps its rhythm
    if (timer == Simulator::kAutoClock) {
        const std::optional<Millis>& release = due_[Simulator::kClockRelease].at;
        const std::uint64_t pulses = sim_.pulses();
        history_.before(sim_);
        sim_.Timer1Tick(int(release ? std::clamp<Millis>(*release - at, 0, kFar) : kFar));
        if (sim_.pulses() != pulses) history_.after(HistoryKind::Pulse, sim_);
    } else if (Handler h = routeOf(kReleaseTicks, timer)) {
        (sim_.*h)();
    }
    settle(at);
}

Screen::Update Screen::timerTick(int timer, Now now) {
    const Mark from = mark();
    advance(now);
    if (timer >= 1 && timer < ElementState::kTimers && sim_.elements().timer[timer].enabled)
        tickAt(timer, now_);
    return finish(from);
}

Screen::Round Screen::round() const {
    Round r{sim_.model(), sim_.elements(), {}};
    for (int n = 1; n < ElementState::kTimers; ++n)
        if (due_[n].at) r.dueIn[n] = *due_[n].at - now_;
    return r;
}

// Left to its timers, the machine repeats itself: in run mode nothing changes RAM,
// so its registers, the diagram and the timers' phases come round again after a
// number of ticks. Once that round is found (Brent's cycle search), whole rounds
// that fit before `by` are passed over in one step: a page hidden for a day or a
// week catches up in the time of a few rounds and ends exactly where it would have
// ticked to. A machine that halts stops its timers and needs no skipping.
void Screen::skipWholeRounds(Millis by) {
    Round start = round();
    Millis startAt = now_;
    std::uint64_t startPulses = pulses();
    for (std::uint64_t power = 1, length = 0;;) {
        if (!tickDue(by)) return; // caught up before a round came
        ++length;
        Round r = round();
        if (r == start) break;
        if (length == power) {
            start = std::move(r);
            startAt = now_;
            startPulses = pulses();
            power *= 2;
            length = 0;
        }
    }
    const Millis period = now_ - startAt;
    const int next = earliestDue();
    if (period <= 0 || !next) return;
    const Millis rounds = (by - *due_[next].at) / period;
    if (rounds <= 0) return;
    for (Due& d : due_)
        if (d.at) *d.at += rounds * period;
    now_ += rounds * period;
    skippedPulses_ += std::uint64_t(rounds) * (pulses() - startPulses);
}

std::optional<std::string> Screen::copy() const {
    std::string text = sim_.programText();
    if (text.empty()) return std::nullopt;
    return text;
}

Screen::Update Screen::paste(std::string_view text, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    // In the speed field a number is typed as usual, and so is what is no program.
    if (looksLikeTask(text))
        taskIn(text, {}, u);
    else if (focused_ == kEdit17 && (parseWholeNumber(text) || !parseProgram(text).ok()))
        u.taken = false;
    else if (history_.before(sim_); sim_.loadProgram(text))
        history_.after(HistoryKind::Program, sim_);
    settle(now_);
    return finish(from, std::move(u));
}

Screen::Update Screen::bringIn(std::string_view text, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (looksLikeTask(text))
        taskIn(text, {}, u);
    else if (history_.before(sim_); sim_.loadProgram(text))
        history_.after(HistoryKind::Program, sim_);
    settle(now_);
    return finish(from, std::move(u));
}

Screen::Update Screen::openFile(std::string_view name, std::string_view bytes, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (looksLikeTask(bytes))
        taskIn(bytes, name, u);
    else if (history_.before(sim_); sim_.loadProgram(bytes, name))
        history_.after(HistoryKind::Program, sim_);
    settle(now_);
    return finish(from, std::move(u));
}

Screen::Update Screen::fileUnreadable(std::string_view name, Now now) {
    const Mark from = mark();
    advance(now);
    sim_.programFileUnreadable(name);
    settle(now_);
    return finish(from);
}

std::string Screen::programLink() const {
    return sim_.programText('.');
}

std::string Screen::savedWork() const {
    const History& h = history_;
    const bool newLesson = h.canStepBack() && h.kindAt(h.position() - 1) == HistoryKind::Clear &&
                           programLink().empty();
    const bool untouched =
        !h.canStepBack() && !h.canStepForward() &&
        History::atRest(sim_) == History::State{ProcessorModel{}, ElementState::startup()};
    return newLesson || untouched ? std::string() : h.save(sim_);
}

bool Screen::restoreWork(std::string_view saved, std::string_view program, Now now) {
    History loaded;
    Simulator at;
    // The program as RAM holds it once brought in, however the address writes it.
    Simulator probe;
    const std::string wanted = program.empty() || !probe.loadProgram(program)
                                   ? std::string(program)
                                   : probe.programText('.');
    if (!loaded.load(saved, at) || at.programText('.') != wanted) return false;
    advance(now);
    held_.reset();
    sim_.model() = at.model();
    sim_.elements() = at.elements();
    history_ = std::move(loaded);
    settle(now_);
    return true;
}

Screen::TimerState Screen::timer(int n) const {
    if (n < 1 || n >= ElementState::kTimers) return {false, 0, std::nullopt};
    const Timer& t = sim_.elements().timer[n];
    return {t.enabled, t.interval, due_[n].at};
}

void Screen::setFocus(std::optional<Element> element) {
    if (element != focused_) letGo();
    focused_ = element;
    focus_ = {};
    if (!element) return;
    if (element->kind == Element::DataSwitch) focus_.focus = element->number;
    if (element->kind == Element::Panel) focus_.focusPanel = element->number;
    if (element->kind == Element::Arrow) focus_.focusArrow = element->number > 0 ? 1 : -1;
    if (element->kind == Element::Image) focus_.focusImage = element->number;
    if (element->kind == Element::Label) focus_.focusLabel = element->number;
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
    std::vector<Box> drawn = std::exchange(drawn_, {});
    const std::vector<Box> now = renderer_->render(sim_.elements(), pushed(), fields_);
    drawn.insert(drawn.end(), now.begin(), now.end());
    return drawn;
}

const Canvas& Screen::canvas() const {
    return renderer_->canvas();
}

// ---- exercises beside the diagram -------------------------------------------------

void Screen::report(const std::string& message) {
    if (observe_) observe_(message);
    errors_.report(message);
}

void Screen::taskIn(std::string_view text, std::string_view fileName, Update& u) {
    ParsedTask parsed = parseTask(text);
    if (!parsed.ok()) {
        report(taskErrorMessage(parsed.error, fileName));
        return;
    }
    task_ = std::make_unique<TaskPane>(std::move(parsed.task), sim_.model(), &prediction_.score());
    u.panes = true;
    u.announcement = "Úloha „" + task_->task().name + "“: " + task_->task().statement;
}

Screen::Update Screen::openTask(std::string_view text, std::string_view fileName, Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    taskIn(text, fileName, u);
    return finish(from, std::move(u));
}

Screen::Update Screen::closeTask(Now now) {
    const Mark from = mark();
    advance(now);
    Update u;
    if (task_) paneAction(PaneAction::Close, u);
    return finish(from, std::move(u));
}

int Screen::paneWidth() const {
    return task_ || predicting_ ? TaskPane::kWidth : 0;
}

int Screen::predictionTop() const {
    return task_ ? layout::kClientHeight - PredictionPane::kHeight : 0;
}

std::vector<Screen::KeyboardControl> Screen::paneControls() const {
    std::vector<KeyboardControl> controls;
    if (task_)
        for (const TaskPane::Control c : {TaskPane::CheckButton, TaskPane::CloseButton})
            controls.push_back({{Element::Pane, c}, task_->buttonBox(c)});
    if (predicting_ && asking_)
        for (const PredictionPane::Control c :
             {PredictionPane::BusField, PredictionPane::ChangedField,
              PredictionPane::VerifyButton}) {
            Box box = prediction_.controlBox(c);
            box.y += predictionTop();
            controls.push_back({{Element::Pane, kPredictionControls + c}, box});
        }
    return controls;
}

// "ručně" while predicting, when it would pulse: the prediction pane asks first.
bool Screen::askFirst(Update& u) {
    if (!predicting_ || sim_.elements().panel[1].colour != clAqua) return false;
    if (!asking_) {
        asking_ = true;
        focusBeforeAsking_ = focused_ && focused_->kind == Element::Pane ? std::nullopt : focused_;
    }
    prediction_.focusOn(PredictionPane::BusField);
    setFocus(Element{Element::Pane, kPredictionControls + PredictionPane::BusField});
    u.panes = true;
    u.announcement = kAskForPrediction;
    return true;
}

// Space, Enter, Up or Down on the control of a pane with the focus.
void Screen::paneKey(Key key, Update& u) {
    const int n = focused_->number;
    const PaneKey k = key == Key::Space   ? PaneKey::Space
                      : key == Key::Enter ? PaneKey::Enter
                      : key == Key::Up    ? PaneKey::Up
                                          : PaneKey::Down;
    if (n < kPredictionControls) {
        if (!task_ || (key != Key::Space && key != Key::Enter)) {
            u.taken = false;
            return;
        }
        task_->focusOn(TaskPane::Control(n));
        paneAction(task_->key(k), u);
        return;
    }
    prediction_.focusOn(PredictionPane::Control(n - kPredictionControls));
    const PredictionPane before = prediction_;
    predictionAction(before, prediction_.key(k, sim_.model()), u);
}

void Screen::paneAction(PaneAction action, Update& u) {
    switch (action) {
    case PaneAction::None:
    case PaneAction::Pulse:
        return;
    case PaneAction::Redraw: // "Zkontrolovat"
        u.panes = true;
        u.announcement = task_->announcement();
        return;
    case PaneAction::Close:
        task_.reset();
        u.panes = true;
        u.announcement = "Úloha zavřena.";
        return;
    }
}

// The guess recorded ("Ověřit"): the pulse of "ručně" it waited for. A guess for a
// pulse that cannot come is not counted.
void Screen::predictionAction(const PredictionPane& before, PaneAction action, Update& u) {
    if (action == PaneAction::None) return;
    u.panes = true;
    if (action != PaneAction::Pulse) return;
    if (!asking_ || sim_.elements().panel[1].colour != clAqua) {
        prediction_ = before;
        asking_ = false;
        return;
    }
    asking_ = false;
    u.announcement = prediction_.verdict();
    setFocus(focusBeforeAsking_);
    runRecorded(&Simulator::Panel1Click);
    settle(now_);
}

// The strip: the window's colour, the task pane above, the prediction pane below it.
void Screen::drawPanes() {
    const int width = paneWidth();
    if (!width) {
        strip_ = Canvas();
        return;
    }
    if (strip_.width != width || strip_.height != layout::kClientHeight)
        strip_ = Canvas(width, layout::kClientHeight);
    strip_.fill({0, 0, strip_.width, strip_.height}, clInactiveBorder);
    const auto place = [&](const Canvas& pane, int top) {
        for (int y = 0; y < pane.height && top + y < strip_.height; ++y)
            std::copy_n(pane.pixels.begin() + std::ptrdiff_t(y) * pane.width,
                        std::min(pane.width, strip_.width),
                        strip_.pixels.begin() + std::ptrdiff_t(top + y) * strip_.width);
    };
    const int focus = focused_ && focused_->kind == Element::Pane ? focused_->number : -1;
    if (task_) {
        Canvas pane(width, predicting_ ? predictionTop() : layout::kClientHeight);
        task_->draw(pane, focus >= 0 && focus < kPredictionControls);
        place(pane, 0);
    }
    if (predicting_) {
        Canvas pane(width, PredictionPane::kHeight);
        prediction_.draw(pane, focus >= kPredictionControls);
        place(pane, predictionTop());
    }
}

} // namespace procesor::screen

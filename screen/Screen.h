#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/Simulator.h"
#include "picture/Canvas.h"
#include "picture/Renderer.h"
#include "screen/History.h"
#include "screen/TimingDiagram.h"

// What every front end shares: the simulator, its five timers, the picture of the
// diagram and where a click lands. A front end feeds it the mouse, the keys and the
// speed field's text, each with the time read from its own clock, wakes it when it
// asks to be woken, starts the companion it names, shows the error box it reports,
// and copies the changed rectangles of the picture to the screen.
//
// Time is in milliseconds on the front end's steady clock (any origin, never going
// back). The screen keeps when each running timer is next due and, before every
// event and on every wake, runs each tick that has fallen due, in order of due time,
// each at its own due time: a front end woken late (a busy machine, a hidden page)
// catches up with the very pulses, releases and halt it would have given on time.
namespace procesor::render {

using Millis = std::int64_t;

class Screen {
public:
    explicit Screen(Simulator::ErrorSink showError = {});
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Simulator& simulator() { return sim_; }
    const Simulator& simulator() const { return sim_; }

    // Every event takes the time it happened; left out, the clock has not moved
    // since the last one (tests and the reference frames' scenario run on a clock
    // that stands still).
    using Now = std::optional<Millis>;

    // The left mouse button at a client pixel. A panel, a data switch or an arrow
    // takes the click when the button goes up over the element it went down on; a
    // data switch and an arrow look pushed in while held. Returns the command of a
    // companion program to start, if the click was on a block, gate or listing line.
    void mouseDown(int x, int y, Now now = {});
    std::optional<std::string> mouseUp(int x, int y, Now now = {});
    // The mouse moved with the button down: a held control pops out while the
    // pointer is off it and goes in again when it comes back, as classic buttons do.
    void mouseMove(int x, int y, Now now = {});

    // The user typed into Edit17, or pressed Up/Down there (+1 / -1).
    void speedEdited(std::string_view text, Now now = {});
    void speedArrow(bool up, Now now = {});
    // A handler run as its control's click runs it (a key on a focused control).
    void run(void (Simulator::*handler)(), Now now = {});

    // A whole program as text (model/ProgramText.h). Copy and paste are what Ctrl+C
    // and Ctrl+V (or the platform's own keys for them) do on the diagram, with the
    // keyboard focus in no text field: copy gives the program in RAM for the
    // clipboard, nothing when RAM holds only zeros; paste brings the clipboard's
    // text in. A file given to the program or dropped on it comes in by its name and
    // bytes: a front end reads at most kMaxProgramBytes + 1 of them, as more are
    // refused anyway. Every failure is reported through the error box.
    std::optional<std::string> copy() const;
    void paste(std::string_view text, Now now = {});
    void openFile(std::string_view name, std::string_view bytes, Now now = {});
    void fileUnreadable(std::string_view name, Now now = {});
    // The program in RAM as it stands in a link, words joined by dots; empty when
    // RAM holds only zeros.
    std::string programLink() const;

    // Runs every tick due by now. The front end calls it at nextWake(), or whenever
    // it likes (a page shown again): an early wake does nothing.
    void wake(Millis now);
    // When the earliest running timer is due, nothing while all are off.
    std::optional<Millis> nextWake() const;
    // A tick of TimerN given now, ahead of its due time, if the timer runs: the
    // reference frames' steps and the page's "#manual-timers" tick by hand.
    void timerTick(int timer, Now now = {});

    // A timer as the handlers left it, and when it is next due.
    struct TimerState {
        bool enabled;
        int interval;
        std::optional<Millis> due;
    };
    TimerState timer(int n) const;
    // The machine's time line (screen/History.h): every pulse and every action
    // that changed the machine or the diagram. A step back puts the machine and the
    // diagram as they were before the last entry, every button released and the
    // automatic clock stopped; a step forward does the entry again; moveTo goes to
    // any kept position. Each returns false, and changes nothing, when there is
    // nothing to go to.
    bool stepBack(Now now = {});
    bool stepForward(Now now = {});
    bool moveTo(std::uint64_t position, Now now = {});
    const History& history() const { return history_; }
    // PageDown of a presentation clicker: "ručně" (it acts in "provoz" only, as a
    // click does); PageUp is stepBack.
    void clickerNext(Now now = {}) { run(&Simulator::Panel1Click, now); }

    // "Časový diagram" of the time line, made when first asked for: drawn with the
    // machine where it is now; a click on a column or Enter on the chosen one moves
    // the machine to the state that pulse left (false when it names none).
    const Canvas& drawTimingDiagram();
    bool timingDiagramClick(int x, int y, Now now = {});
    bool timingDiagramKey(TimingDiagram::Key key, Now now = {});
    void timingDiagramScroll(int columns) { timingDiagram().scroll(columns); }

    // The time of the last event or tick the screen ran.
    Millis now() const { return now_; }
    // Clock pulses taken so far.
    std::uint64_t pulses() const { return sim_.pulses() + skippedPulses_; }

    // Draws what changed since the last call (the whole client area on the first)
    // and returns the changed rectangles.
    std::vector<Box> render();
    const Canvas& canvas() const;
    const Renderer& renderer() const { return *renderer_; }
    // The student edited Memo1 (nothing reads it, but the picture shows it), or a
    // field scrolled its text (Edit17 to the left, Memo1 both ways) by so many pixels.
    void memoEdited(std::string_view text) { fields_.memo1 = text; }
    void fieldsScrolled(int edit17X, int memo1X, int memo1Y);
    // What is selected in Edit17 and in Memo1 (byte offsets into their texts); the
    // front end gives an empty selection for a field without the focus.
    void fieldsSelected(Selection edit17, Selection memo1) {
        fields_.edit17Selection = edit17;
        fields_.memo1Selection = memo1;
    }
    const FieldView& fields() const { return fields_; }
    // The control held down now, drawn pushed in, and the focus.
    ControlLook pushed() const;

    // What takes a click at a client pixel: a control above all, then a label over
    // its block, then a block over the wires. Wires, overlays, the plain texts'
    // background and the window itself take none; nor do the speed field and the
    // instruction box, which are the front end's own editable fields.
    struct Element {
        enum Kind { Panel, DataSwitch, Arrow, Label, Image };
        Kind kind;
        int number; // Panel3 -> 3, Button8 -> 8, the arrows +1 (up) and -1 (down)
        bool operator==(const Element&) const = default;
    };
    std::optional<Element> elementAt(int x, int y) const;

    // The data switch (8..11) that has the keyboard focus in the front end, 0 for
    // none: it shows the dotted focus frame.
    void setFocus(int dataSwitch) { setFocus(Element{Element::DataSwitch, dataSwitch}); }
    // The control with the keyboard focus (a panel, a data switch or an arrow), or
    // none: it shows the dotted focus frame. Other elements take no focus.
    void setFocus(std::optional<Element> element);

    // The controls that take the keyboard focus after the fields and the data
    // switches, in the order Tab visits them: the arrows, then the panels. Each acts
    // on Space and Enter as on a click at the middle of its box.
    struct KeyboardControl {
        Element element;
        Box box;
    };
    static std::span<const KeyboardControl> keyboardControls();
    // What a screen reader says for a control that has the focus: its caption or
    // role and its state (a data switch's bit; a panel unavailable, selected or
    // pressed, as its colour shows).
    std::string accessibleName(Element element) const;

private:
    struct Due {
        std::optional<Millis> at; // when the next tick is due, while the timer runs
        int interval = 0;         // as the timer last ran with it
        unsigned starts = 0;      // Simulator::timerStarts() as last seen
    };
    struct Round;
    Round round() const;
    void advance(Now now);
    void settle(Millis at);
    int earliestDue() const;
    void tickAt(int timer, Millis at);
    bool tickDue(Millis by);
    void skipWholeRounds(Millis by);

    void runRecorded(void (Simulator::*handler)());
    TimingDiagram& timingDiagram();
    bool travel(bool (History::*step)(Simulator&), Now now);

    Simulator sim_;
    History history_;
    std::unique_ptr<TimingDiagram> timing_;
    std::array<Due, ElementState::kTimers> due_{};
    Millis now_ = 0;
    std::uint64_t skippedPulses_ = 0;
    std::unique_ptr<Renderer> renderer_;
    std::optional<Element> held_; // where the left button went down
    bool overHeld_ = false;       // and whether the pointer is still over it
    ControlLook focus_;           // only its focus members
    FieldView fields_;
};

} // namespace procesor::render

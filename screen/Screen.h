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
#include "picture/Element.h"
#include "picture/Renderer.h"
#include "screen/Commands.h"
#include "screen/ErrorBox.h"
#include "screen/History.h"
#include "screen/TaskPane.h"
#include "screen/TimingDiagram.h"

// What every front end shares: the simulator, its five timers, the picture of the
// diagram and where a click lands. A front end feeds it the mouse, the keys and the
// speed field's text, each with the time read from its own clock, wakes it when it
// asks to be woken, starts the companion it names, shows the error box it reports,
// and copies the changed rectangles of the picture to the screen: every event
// returns all of that at once, as one Update, and the front end only carries it out.
//
// Time is in milliseconds on the front end's steady clock (any origin, never going
// back). The screen keeps when each running timer is next due and, before every
// event and on every wake, runs each tick that has fallen due, in order of due time,
// each at its own due time: a front end woken late (a busy machine, a hidden page)
// catches up with the very pulses, releases and halt it would have given on time.
namespace procesor::screen {

using render::Box;
using render::Canvas;
using render::ControlLook;
using render::FieldView;
using render::Renderer;
using render::Selection;

using Millis = std::int64_t;

// The keys the diagram takes: Tab and Shift+Tab (BackTab) move the keyboard focus,
// Space and Enter work the control that has it, Up and Down step the speed.
// The keys the diagram takes. Undo is Ctrl+Z, Redo Ctrl+Shift+Z and Ctrl+Y; PageUp and
// PageDown are what a presentation clicker sends. With the focus in a text field the
// four are the field's own. TimingDiagram (F8), SavePicture (Ctrl+S) and ActualSize (Ctrl+0,
// screen/Shortcuts.h) are the shortcuts of those commands (screen/Commands.h), taken
// wherever the focus is.
enum class Key {
    Tab,
    BackTab,
    Space,
    Enter,
    Up,
    Down,
    Undo,
    Redo,
    PageUp,
    PageDown,
    TimingDiagram,
    SavePicture,
    ActualSize
};

class Screen {
public:
    // What takes a click at a client pixel or the keyboard focus. The speed field
    // (Field 17) and the instruction box (Field 1) take the focus only: they are the
    // front end's own editable fields. Image and Label carry the codes of
    // ElementKind, so that one number names an element's kind everywhere.
    struct Element {
        enum Kind {
            Image = int(ElementKind::Image),
            Label = int(ElementKind::Label),
            Panel,
            DataSwitch,
            Arrow,
            Field,
            Pane, // a control of the panes beside the diagram (see paneControls())
        };
        Kind kind;
        int number; // Panel3 -> 3, Button8 -> 8, the arrows +1 (up) and -1 (down)
        bool operator==(const Element&) const = default;
    };
    static constexpr Element kEdit17 = {Element::Field, 17};
    static constexpr Element kMemo1 = {Element::Field, 1};
    // The panes' controls: the task pane's by TaskPane::Control, the prediction pane's
    // by PredictionPane::Control from kPredictionControls on.
    static constexpr int kPredictionControls = 10;
    // A control that takes the keyboard focus, and where it lies.
    struct KeyboardControl {
        Element element;
        Box box;
    };

    // Everything an event leaves for the front end to carry out.
    struct Update {
        std::vector<Box> dirty; // the picture's rectangles drawn anew
        std::string speedText;  // Edit17 as the handlers left it
        bool speedVisible = true;
        std::optional<Millis> nextWake;       // when to wake the screen; none while no timer runs
        std::optional<std::string> companion; // the command of the explainer to start
        std::optional<Element> clicked;       // the element a click or a key worked
        std::string error;                    // the error box to open now, its text as shown
        std::string sentence;         // what the event's clock pulses changed, for a screen reader
        std::optional<Element> focus; // where the keyboard focus is now
        bool taken = true;            // false: the key or the paste is the front end's own
        std::optional<Command> carryOut; // a command for the front end to carry out itself
        // What the panes beside the diagram say, for a screen reader: a task opened,
        // checked or closed, a prediction asked for, its verdict and score.
        std::string announcement;
        bool panes = false; // the panes changed: show paneCanvas() again, paneWidth() wide
        // The announcement and the pulse's sentence together, as the live region says them.
        std::string spoken() const {
            if (announcement.empty() || sentence.empty()) return announcement + sentence;
            return announcement + " " + sentence;
        }
    };

    // `observe`, if given, is told every error message as the handlers report it
    // (before it waits in the error box's queue).
    explicit Screen(Simulator::ErrorSink observe = {});
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
    // data switch and an arrow look pushed in while held. A click on a block, gate or
    // listing line names the companion program to start. While a key holds a control
    // down the mouse does nothing, and the other way round.
    Update mouseDown(int x, int y, Now now = {});
    Update mouseUp(int x, int y, Now now = {});
    // The mouse moved with the button down: a held control pops out while the
    // pointer is off it and goes in again when it comes back, as classic buttons do.
    Update mouseMove(int x, int y, Now now = {});

    // A key pressed on the window, the text fields included. Tab and BackTab move the
    // focus round Edit17, Button8..11, Memo1, the arrows, the panels and the elements
    // that open an explainer (Edit17 left out while hidden); past the last (or before the first)
    // the focus leaves the diagram, `taken` false, and the next Tab comes in at the first again.
    // Space holds the focused control down as the mouse does, until it is released; Enter clicks it
    // at once. Up and Down step the speed in Edit17 and on the arrows. A key the diagram does not
    // use (Space in a text field) comes back with `taken` false.
    Update key(Key key, Now now = {});
    Update keyReleased(Key key, Now now = {});
    // The front end moved the keyboard focus itself: a click into a text field, the
    // focus coming in from beyond the diagram, or leaving it (none). A control held
    // by Space is let go without a click.
    Update focus(std::optional<Element> element, Now now = {});

    // The user typed into Edit17, or pressed Up/Down there (+1 / -1).
    Update speedEdited(std::string_view text, Now now = {});
    Update speedArrow(bool up, Now now = {});
    // A handler run as its control's click runs it.
    Update run(void (Simulator::*handler)(), Now now = {});
    // The user closed the error box: the next error waiting, if any, comes in the update.
    Update errorClosed(Now now = {});
    // An error of the front end's own (a file it could not write) shown in the error
    // box as the handlers' errors are, after any box already open.
    Update reportError(std::string_view message, Now now = {});

    // A whole program as text (model/ProgramText.h). Copy and paste are what Ctrl+C
    // and Ctrl+V (or the platform's own keys for them) do on the diagram, with the
    // keyboard focus in no text field: copy gives the program in RAM for the
    // clipboard, nothing when RAM holds only zeros; paste brings the clipboard's
    // text in. A file given to the program or dropped on it comes in by its name and
    // bytes: a front end reads at most kMaxProgramBytes + 1 of them, as more are
    // refused anyway. Every failure is reported through the error box. With the
    // focus in Edit17, a pasted text that is a program and not a whole number comes
    // in as the program and the field keeps its text; any other text is the field's
    // to take as typed (`taken` false).
    std::optional<std::string> copy() const;
    Update paste(std::string_view text, Now now = {});
    // A program dropped as text or given in the page's address: it comes in wherever
    // the focus is.
    Update bringIn(std::string_view text, Now now = {});
    Update openFile(std::string_view name, std::string_view bytes, Now now = {});
    Update fileUnreadable(std::string_view name, Now now = {});
    // The program in RAM as it stands in a link, words joined by dots; empty when
    // RAM holds only zeros.
    std::string programLink() const;

    // Runs every tick due by now. The front end calls it at nextWake(), or whenever
    // it likes (a page shown again): an early wake does nothing.
    Update wake(Millis now);
    // When the earliest running timer is due, nothing while all are off.
    std::optional<Millis> nextWake() const;
    // A tick of TimerN given now, ahead of its due time, if the timer runs: the
    // reference frames' steps and the page's "#manual-timers" tick by hand.
    Update timerTick(int timer, Now now = {});

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
    // The student's work kept across a reload of the page: the time line as text
    // (History::save), empty when there is nothing worth keeping (nothing done yet, or
    // RAM all zero right after "nulování": a new lesson). restoreWork takes such a text
    // back when the program it ends with is `program` (as programLink() writes it: the
    // program in the page's address); false, and nothing changed, otherwise.
    std::string savedWork() const;
    bool restoreWork(std::string_view saved, std::string_view program, Now now = {});
    // The keys reach these too (key()): Undo and PageUp step back, Redo steps
    // forward, PageDown works "ručně" (in "provoz" only, as a click does).

    // The commands of the strip and the context menu (screen/Commands.h): whether each
    // can be given now, whether a toggle is on, and the command given. "Zpět" and
    // "Vpřed" step the time line, "Předpovídat" switches predictions; the others come
    // back in `carryOut`. A command that cannot be given now does nothing.
    bool enabled(Command command) const;
    bool checked(Command command) const;
    Update command(Command command, Now now = {});
    bool predicting() const { return predicting_; }
    // "1:1" (Ctrl+0 and the context menu): whether the front end shows the diagram at one
    // device pixel per pixel. Each toggle comes back in `carryOut` for the front end to
    // show the picture at its new size.
    bool actualSize() const { return actualSize_; }
    // "Uložit obrázek…": the diagram as it is now, a PNG at its own pixels.
    std::string picturePng() const;

    // ---- exercises beside the diagram (screen/TaskPane.h) ----
    // A task's text opens its pane right of the diagram, in place of one open before;
    // a text that is no task gets its message (naming `fileName`, when given) through
    // the error box and changes nothing. paste(), bringIn() and openFile() open a task
    // instead of a program when the text has a "název:" line.
    Update openTask(std::string_view text, std::string_view fileName = {}, Now now = {});
    // "Zavřít úlohu".
    Update closeTask(Now now = {});
    const TaskPane* taskPane() const { return task_.get(); }
    // While predicting, each "ručně" that would pulse (a click, Space or Enter on it,
    // PageDown) first asks for a prediction: the focus goes into the prediction pane,
    // and Enter or "Ověřit" there records the guess and gives the pulse. The automatic
    // clock never asks. A task's "předpovědí: N" is judged by this pane's score.
    const PredictionPane& predictionPane() const { return prediction_; }
    bool asking() const { return asking_; }
    // The strip right of the diagram: the task pane above and, while predicting, the
    // prediction pane at its foot (at its top without a task); 0 wide while neither is
    // shown. A front end shows it at x = the diagram's width and gives its clicks and
    // keys to the screen as the diagram's (mouseDown/mouseUp beyond the diagram).
    int paneWidth() const;
    const Canvas& paneCanvas() const { return strip_; }
    // The panes' controls that take the keyboard focus now, in the order Tab visits
    // them after the diagram's last stop, with their boxes in the strip's coordinates.
    std::vector<KeyboardControl> paneControls() const;

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

    // Whether every event draws what it changed and carries the rectangles in its
    // update (as it does unless told otherwise). Without, render() alone draws: the
    // clock's tests step through days of ticks and look at no picture.
    void drawEachEvent(bool draw) { drawEachEvent_ = draw; }
    // Draws what changed and returns every rectangle drawn anew since the last call,
    // by the events' updates too (the whole client area on the first).
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
    // Where the caret stands in the field with the focus (byte offsets, -1 for none), for
    // a front end whose fields leave their drawing to the picture.
    void fieldCarets(int edit17, int memo1) {
        fields_.edit17Caret = edit17;
        fields_.memo1Caret = memo1;
    }
    const FieldView& fields() const { return fields_; }
    // The control held down now, drawn pushed in, and the focus.
    ControlLook pushed() const;

    // What takes a click at a client pixel: a control above all, then a label over
    // its block, then a block over the wires. Wires, overlays, the plain texts'
    // background and the window itself take none; nor do the speed field and the
    // instruction box.
    std::optional<Element> elementAt(int x, int y) const;

    // The data switch (8..11) that has the keyboard focus, 0 for none, and focus()
    // without the update: a panel, a data switch or an arrow with the focus shows
    // the dotted focus frame.
    void setFocus(int dataSwitch) {
        setFocus(dataSwitch ? std::optional(Element{Element::DataSwitch, dataSwitch})
                            : std::nullopt);
    }
    void setFocus(std::optional<Element> element);
    std::optional<Element> focused() const { return focused_; }
    // Every stop of the focus, in the order Tab visits them.
    std::vector<Element> focusRing() const;

    // The controls that take the keyboard focus after the fields and the data
    // switches, in the order Tab visits them: the arrows, the panels, then the blocks,
    // gates and listing lines that open an explainer (kCompanionClicks' order). Each
    // acts on Space and Enter as a click on it does; the box is where it takes clicks.
    static std::span<const KeyboardControl> keyboardControls();

    // What a screen reader says for a control that has the focus: its caption or
    // role and its state (a data switch's bit; a panel unavailable, selected or
    // pressed, as its colour shows).
    std::string accessibleName(Element element) const;
    // The error box's text now shown, empty while none is open.
    const std::string& errorShown() const { return errors_.shown(); }

private:
    // What an event starts from: the machine before it, for the sentence.
    struct Mark {
        ProcessorModel model;
        std::uint64_t pulses;
    };
    Mark mark() const { return {sim_.model(), pulses()}; }
    Update finish(const Mark& from, Update u);
    Update finish(const Mark& from) { return finish(from, Update()); }
    void click(Element element, Update& u);
    void letGo();
    struct Due {
        std::optional<Millis> at; // when the next tick is due, while the timer runs
        int interval = 0;         // as the timer last ran with it
        unsigned starts = 0;      // Simulator::timerStarts() as last seen
    };
    struct Round;
    Round round() const;
    void advance(Now now);
    void runDue(Millis now);
    void settle(Millis at);
    int earliestDue() const;
    void tickAt(int timer, Millis at);
    bool tickDue(Millis by);
    void skipWholeRounds(Millis by);

    void runRecorded(void (Simulator::*handler)());
    bool askFirst(Update& u);
    void paneKey(Key key, Update& u);
    void paneAction(PaneAction action, Update& u);
    void predictionAction(const PredictionPane& before, PaneAction action, Update& u);
    void taskIn(std::string_view text, std::string_view fileName, Update& u);
    void drawPanes();
    int predictionTop() const;
    void report(const std::string& message);
    TimingDiagram& timingDiagram();
    bool travel(bool (History::*step)(Simulator&), Now now);

    Simulator sim_;
    History history_;
    std::unique_ptr<TimingDiagram> timing_;
    std::array<Due, ElementState::kTimers> due_{};
    Millis now_ = 0;
    std::uint64_t skippedPulses_ = 0;
    std::unique_ptr<Renderer> renderer_;
    std::vector<Box> drawn_;      // drawn anew since the last render()
    std::optional<Element> held_; // where the left button went down, or Space
    bool overHeld_ = false;       // and whether the pointer is still over it
    bool heldByKey_ = false;
    bool drawEachEvent_ = true;
    bool predicting_ = false;
    bool actualSize_ = false;
    bool asking_ = false; // a pulse of "ručně" waits for the prediction
    std::optional<Element> focusBeforeAsking_;
    PredictionPane prediction_;
    std::unique_ptr<TaskPane> task_;
    Canvas strip_;
    std::optional<Element> drawnPaneFocus_; // the control of a pane the strip shows focused
    std::optional<Element> focused_;
    ControlLook focus_; // only its focus members
    FieldView fields_;
    ErrorBox errors_;
    Simulator::ErrorSink observe_;
};

} // namespace procesor::screen

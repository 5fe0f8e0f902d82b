#pragma once

#include <string>
#include <vector>

#include "model/CheckedRun.h"
#include "model/Prediction.h"
#include "model/TaskText.h"
#include "picture/Canvas.h"

// The panes that lie beside the diagram for exercises, drawn with picture/ and driven
// by keys and clicks like every other surface: the task pane (the task's name and
// statement, "Zkontrolovat", the checks with ✓ or ✗, the result code, "Zavřít úlohu")
// and the prediction pane (what the bus will carry after the next pulse of "ručně"
// and which register changes, "Ověřit", the running score). Standard C++ only.
namespace procesor {

enum class PaneKey { Tab, BackTab, Space, Enter, Up, Down, Left, Right };

// What the owner of a pane is to do after an event.
enum class PaneAction {
    None,
    Redraw, // the pane changed: draw it again
    Close,  // "Zavřít úlohu": remove the pane
    Pulse,  // "Ověřit": the prediction is recorded, now run the pulse of "ručně"
};

class TaskPane {
public:
    static constexpr int kWidth = 240;

    // The pane reads the machine's RAM at each "Zkontrolovat"; the checked run takes
    // a machine of its own. `score`, when given, is the prediction pane's score, for a
    // task that asks for predictions.
    TaskPane(Task task, const ProcessorModel& machine, const PredictionScore* score = nullptr);

    const Task& task() const { return task_; }
    // "Zkontrolovat" and "Zavřít úlohu": 0 and 1.
    enum Control { CheckButton, CloseButton };
    int focus() const { return focus_; }
    // The control Space and Enter work, moved by its owner's Tab cycle.
    void focusOn(Control control) { focus_ = control; }

    PaneAction key(PaneKey key);
    // A click at a pixel of the pane (its own coordinates).
    PaneAction click(int x, int y);
    // "Zkontrolovat": runs the task on the program now in RAM.
    void check();

    bool checked() const { return checked_; }
    const CheckedRun& run() const { return run_; }
    // The result code when every check passed, else empty.
    const std::string& code() const { return code_; }
    // The sentence the live region says after the last event.
    const std::string& announcement() const { return announcement_; }

    // Draws the whole pane on a canvas of kWidth x height; the focus frame only while
    // the pane has the keyboard focus.
    void draw(render::Canvas& canvas, bool focused = true) const;
    render::Box buttonBox(Control control) const;

private:
    PaneAction press(int control);

    Task task_;
    const ProcessorModel& machine_;
    const PredictionScore* score_;
    int focus_ = CheckButton;
    bool checked_ = false;
    CheckedRun run_;
    std::string code_;
    std::string announcement_;
};

class PredictionPane {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 150;

    // The guess being composed: the bus value (Up/Down, 0..15 round) and the register
    // (Up/Down or Left/Right through IR, PČ, A, B, nic); then "Ověřit".
    enum Control { BusField, ChangedField, VerifyButton };
    int focus() const { return focus_; }
    void focusOn(Control control) { focus_ = control; }
    const PulseGuess& guess() const { return guess_; }

    // Enter anywhere, or Space on "Ověřit", records the guess against what the pulse
    // will do to `machine` (found on a copy) and asks for the pulse.
    PaneAction key(PaneKey key, const ProcessorModel& machine);
    PaneAction click(int x, int y, const ProcessorModel& machine);

    const PredictionScore& score() const { return score_; }
    // The last verdict, empty before the first: "Správně: sběrnice nese 5, mění se A."
    const std::string& verdict() const { return verdict_; }

    void draw(render::Canvas& canvas, bool focused = true) const;
    render::Box controlBox(Control control) const;

private:
    PaneAction verify(const ProcessorModel& machine);
    void step(int by);

    int focus_ = BusField;
    PulseGuess guess_;
    PredictionScore score_;
    std::string verdict_;
};

} // namespace procesor

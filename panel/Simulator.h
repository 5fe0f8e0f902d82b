#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/ProcessorModel.h"
#include "model/ProgramText.h"
#include "panel/ElementState.h"

namespace procesor {

// The handlers of the window: the clock pulse, the mode buttons, program entry,
// address stepping and reset, and the run controls. Each one reads and changes the
// machine and the element state and returns; the window only draws the state and
// turns clicks and timer ticks into these calls.
class Simulator {
public:
    // Shows the standard error message box; the only error a user ever sees.
    using ErrorSink = std::function<void(const std::string& message)>;

    explicit Simulator(ErrorSink showError = {});

    const ProcessorModel& model() const { return model_; }
    const ElementState& elements() const { return el_; }
    // For tests that set the machine up directly (a program in RAM, say).
    ProcessorModel& model() { return model_; }
    ElementState& elements() { return el_; }

    bool programmingMode() const;

    // Timer1 is the automatic clock, Timer5 releases "ručně"; Timer2..Timer4
    // release "krokování", "zápis do RAM" and "nulování".
    static constexpr int kAutoClock = 1;
    static constexpr int kClockRelease = 5;

    // How often a handler switched TimerN on from off (off and on again within one
    // handler counts too; switching on a timer that is on already does not): the
    // timer then starts over with its full interval.
    unsigned timerStarts(int timer) const { return starts_[static_cast<std::size_t>(timer)]; }
    // Clock pulses taken so far.
    std::uint64_t pulses() const { return pulses_; }

    // Clock.
    void Panel1Click();  // "ručně", and every tick of Timer1
    void Button1Click(); // tick of Timer5: "ručně" released
    // A tick of Timer1. At the fastest speed its interval equals the release delay
    // of "ručně", so the tick and the release fall due together; the release is
    // then taken first, so that no automatic pulse is lost to the tie.
    // The release counts as due with the tick when it is at most this far off (a
    // press of "ručně" just under 300 ms before the tick); a tick of the fastest
    // clock (100 ms) inside the pressed look is 100 ms or more from the release
    // and is still dropped.
    void Timer1Tick(int releaseDueInMs);
    static constexpr int kReleaseTieMs = 50;

    // Run controls.
    void Panel2Click(); // "start/stop"
    void UpDown1Click();
    // An arrow of UpDown1: move the position (1..7, no wrap), write it into the
    // speed field, then UpDown1Click.
    void UpDown1Arrow(bool up);
    void setSpeedText(std::string text); // the user typed into Edit17

    // Modes.
    void Panel6Click(); // "programování"
    void Panel7Click(); // "provoz"

    // Program entry.
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Panel4Click();   // "zápis do RAM"
    void Button13Click(); // tick of Timer3

    // Address stepping and reset.
    void Panel3Click();   // "krokování"
    void Button12Click(); // tick of Timer2
    void Panel5Click();   // "nulování"
    void Button14Click(); // tick of Timer4

    // A whole program brought in as text (a paste, a link, the bytes of a file;
    // model/ProgramText.h). Only in programming mode, and it ends as if the words had
    // been entered by hand after "nulování" and then "programování" pressed: RAM
    // holds them, each cell written shows its word and the rest are blank and 0,
    // the address is 0, the data switches and the bus are 0000. Otherwise, or on any
    // error in the text, it shows the error box and changes nothing. `fileName`
    // names the file the text came from, for the message.
    bool loadProgram(std::string_view text, std::string_view fileName = {});
    // A file that could not be read, or not all of it: only the error box.
    void programFileUnreadable(std::string_view fileName);
    // The program in RAM as text: the words from address 0 to the last non-zero one.
    std::string programText(char separator = ' ') const;

private:
    void modeReset(bool programming);
    void toggleDataSwitch(int index);
    void refreshBusDigits();
    void showPulse(bool decoded);
    void showAddress();
    void reportProgramError(const ProgramError& error, std::string_view fileName);
    void releaseProgrammingButton(int panel, int timer, std::span<const int> indicator);
    void setLook(int panel, Rgb colour, Bevel bevel);
    void setTimer(int timer, bool enabled);
    std::optional<int> readSpeed();

    ProcessorModel model_;
    ElementState el_ = ElementState::startup();
    ErrorSink showError_;
    std::array<unsigned, ElementState::kTimers> starts_{};
    std::uint64_t pulses_ = 0;
};

} // namespace procesor
